#include "editor/changed_lines.h"

#include <gtest/gtest.h>

#include <random>

using namespace qasp;

namespace {

// The report an editor gives for `after`, claiming the lines between the
// head and the tail changed: whole lines or not, they must give DiffTexts.
ChangedLines Report(std::string_view before, std::string_view after, size_t head, size_t tail)
{
    return {before.size(), head, tail, std::string(after.substr(head, after.size() - head - tail))};
}

TEST(ChangedLines, GivesTheEditAWholeComparisonGives)
{
    // Repeated letters move the smallest edit away from where the editor
    // saw the change; the node's history and anchors depend on its place.
    struct Case {
        std::string before, after;
        size_t head, tail;
    };
    const Case cases[] = {
        {"aa", "aaa", 0, 0},                     // typed before the run: the diff puts it at its end
        {"Dim a\r\nx", "Dim aa\r\nx", 0, 3},     // one line reported
        {"Dim a\r\nx", "Dim a\r\n\r\nx", 0, 1},  // a line break typed
        {"ab\r\ncd", "abcd", 0, 0},              // a break deleted, whole text reported
        {"same", "same", 0, 0},                  // reported but unchanged
        {"same", "same", 4, 0},                  // nothing reported
        {"x\r\n\r\n\r\ny", "x\r\n\r\ny", 3, 1},  // an empty line among empty lines
    };
    for (const Case &c : cases) {
        const std::optional<TextEdit> edit =
            EditOfChangedLines(c.before, Report(c.before, c.after, c.head, c.tail));
        ASSERT_TRUE(edit) << c.before;
        EXPECT_EQ(*edit, DiffTexts(c.before, c.after)) << c.before << " -> " << c.after;
    }
}

TEST(ChangedLines, MatchesAWholeComparisonOnRandomEdits)
{
    std::mt19937 random(7);
    const std::string alphabet = "ab\r\n";
    const auto text = [&](size_t n) {
        std::string s;
        for (size_t i = 0; i < n; ++i)
            s += alphabet[random() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 2000; ++round) {
        const std::string before = text(random() % 12);
        const size_t at = before.empty() ? 0 : random() % (before.size() + 1);
        const size_t removed = random() % (before.size() - at + 1);
        const std::string after = before.substr(0, at) + text(random() % 4) + before.substr(at + removed);
        // Any report covering the change, down to the change itself.
        const size_t head = random() % (at + 1);
        const size_t keptAfter = before.size() - at - removed;
        const size_t tail = random() % (keptAfter + 1);
        const std::optional<TextEdit> edit = EditOfChangedLines(before, Report(before, after, head, tail));
        ASSERT_TRUE(edit);
        ASSERT_EQ(*edit, DiffTexts(before, after)) << before << " -> " << after;
    }
}

TEST(ChangedLines, RefusesAReportThatDoesNotFitTheText)
{
    // The editor counted another text than the node holds: the caller
    // compares whole texts instead.
    EXPECT_FALSE(EditOfChangedLines("abc", {4, 0, 0, "abcd"}));
    EXPECT_FALSE(EditOfChangedLines("abc", {3, 2, 2, ""}));
    EXPECT_FALSE(EditOfChangedLines("abc", {3, 4, 0, ""}));
}

}  // namespace
