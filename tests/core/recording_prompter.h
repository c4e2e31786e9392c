#pragma once

#include "project/prompter.h"

#include <string>
#include <vector>

namespace qasp::testing {

// Answers questions from a queue and remembers everything it was shown.
class RecordingPrompter : public Prompter {
public:
    std::vector<std::string> shown;
    std::vector<Answer> answers;
    std::vector<std::string> inputs;

    void Information(std::string_view text) override { shown.emplace_back(text); }
    Answer Question(std::string_view title, std::string_view text, QuestionButtons) override
    {
        shown.push_back(std::string(title) + "|" + std::string(text));
        if (answers.empty())
            return Answer::Cancel;
        const Answer a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    std::string InputBox(std::string_view, std::string_view prompt, std::string_view value) override
    {
        shown.emplace_back(prompt);
        if (inputs.empty())
            return std::string(value);
        std::string v = inputs.front();
        inputs.erase(inputs.begin());
        return v;
    }
};

}  // namespace qasp::testing
