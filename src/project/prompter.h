// The questions and messages the project commands put to the user: an
// information box, a question box and an input box. Texts are UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace qasp {

// Question flags and answers of the platform's message box.
constexpr int kYesNo = 36;        // Yes and No, question icon
constexpr int kYesNoCancel = 35;  // Yes, No and Cancel, question icon
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;
constexpr int kAnswerCancel = 2;

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void Information(std::string_view text) = 0;
    virtual int Question(std::string_view title, std::string_view text, int flags) = 0;
    // The answer, or the default when the box is cancelled.
    virtual std::string InputBox(std::string_view title, std::string_view prompt,
                                 std::string_view defaultValue) = 0;
};

}  // namespace qasp
