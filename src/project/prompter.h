// The questions and messages the project commands put to the user: an
// information box, a question box and an input box. Texts are UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qasp {

// Question flags and answers of the platform's message box.
constexpr int kYesNo = 36;        // Yes and No, question icon
constexpr int kYesNoCancel = 35;  // Yes, No and Cancel, question icon
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;
constexpr int kAnswerCancel = 2;

// A heading followed by one line per item, for messages that list things.
inline std::string ListedMessage(std::string_view heading, const std::vector<std::string> &items)
{
    std::string text(heading);
    for (const std::string &item : items)
        text += "\n" + item;
    return text;
}

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
