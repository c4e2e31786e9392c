// The user's questions and messages as the platform's message boxes and
// input box; in an unattended run they go to stderr and are answered with
// what changes nothing.
#pragma once

#include "project/prompter.h"

class QWidget;

namespace qasp::app {

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget *parent) : parent_(parent) {}
    void Information(std::string_view text) override;
    Answer Question(std::string_view title, std::string_view text, QuestionButtons flags) override;
    std::string InputBox(std::string_view title, std::string_view prompt,
                         std::string_view defaultValue) override;

private:
    QWidget *parent_;
};

// Passes every question on to another prompter, which can be exchanged (the
// tests answer in place of the user).
class SwitchablePrompter : public Prompter {
public:
    explicit SwitchablePrompter(Prompter *target) : target_(target) {}
    void SetTarget(Prompter *target) { target_ = target; }
    void Information(std::string_view text) override { target_->Information(text); }
    Answer Question(std::string_view title, std::string_view text, QuestionButtons flags) override
    {
        return target_->Question(title, text, flags);
    }
    std::string InputBox(std::string_view title, std::string_view prompt,
                         std::string_view defaultValue) override
    {
        return target_->InputBox(title, prompt, defaultValue);
    }

private:
    Prompter *target_;
};

}  // namespace qasp::app
