// The user's questions and messages as the platform's message boxes and
// input box.
#pragma once

#include "project/prompter.h"

class QWidget;

namespace qasp::app {

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget *parent) : parent_(parent) {}
    void Information(std::string_view text) override;
    int Question(std::string_view title, std::string_view text, int flags) override;
    std::string InputBox(std::string_view title, std::string_view prompt,
                         std::string_view defaultValue) override;

private:
    QWidget *parent_;
};

}  // namespace qasp::app
