// The questions and messages the project commands put to the user: an
// information box, a question box and an input box. Texts are UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qasp {

// The buttons of a question box, which shows the question icon. Yes is the
// default button, except in YesNoNoDefault: where Yes throws work away,
// Enter must keep it.
enum class QuestionButtons { YesNo, YesNoCancel, YesNoNoDefault };
// The button chosen; a box closed without a choice answers Cancel.
enum class Answer { Yes, No, Cancel };

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
    virtual Answer Question(std::string_view title, std::string_view text, QuestionButtons buttons) = 0;
    // The answer, or the default when the box is cancelled.
    virtual std::string InputBox(std::string_view title, std::string_view prompt,
                                 std::string_view defaultValue) = 0;
};

}  // namespace qasp
