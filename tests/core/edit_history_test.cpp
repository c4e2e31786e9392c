#include "document/edit_history.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace qasp;

namespace {

// Drives a history the way the editor does: each change is recorded with
// the text before and after it.
struct Session {
    EditHistory history;
    std::string text;

    void Change(size_t offset, size_t removed, std::string_view inserted)
    {
        const std::string before = text;
        text.replace(offset, removed, inserted);
        history.Record(before, text);
    }
    void Type(std::string_view characters)
    {
        for (char c : characters)
            Change(text.size(), 0, std::string(1, c));
    }
    int UndoAll()
    {
        int steps = 0;
        while (!history.Undo(text).empty())
            ++steps;
        return steps;
    }
};

}  // namespace

TEST(EditHistoryTest, DiffLeavesOutTheCommonHeadAndTail)
{
    EXPECT_EQ(DiffTexts("abcdef", "abXYef"), (TextEdit{2, "cd", "XY"}));
    EXPECT_EQ(DiffTexts("aaa", "aaaa"), (TextEdit{3, "", "a"}));
    EXPECT_EQ(DiffTexts("same", "same"), (TextEdit{4, "", ""}));
    EXPECT_EQ(DiffTexts("", "new"), (TextEdit{0, "", "new"}));
}

TEST(EditHistoryTest, StepsFollowTheUsersActions)
{
    struct Case {
        const char *what;
        std::function<void(Session &)> actions;
        int steps;
    };
    const Case cases[] = {
        {"one typing run", [](Session &s) { s.Type("Dim a"); }, 1},
        {"a line break ends the run", [](Session &s) { s.Type("a\r\nb"); }, 2},
        {"a caret move ends the run",
         [](Session &s) {
             s.Type("ab");
             s.history.EndStep();
             s.Type("c");
         },
         2},
        {"typing elsewhere is a new run",
         [](Session &s) {
             s.Type("abc");
             s.Change(0, 0, "x");
         },
         2},
        {"a run of Backspace",
         [](Session &s) {
             s.Type("abcd");
             s.history.EndStep();
             for (int i = 0; i < 3; ++i)
                 s.Change(s.text.size() - 1, 1, "");
         },
         2},
        {"a run of Delete",
         [](Session &s) {
             s.Type("abcd");
             s.history.EndStep();
             for (int i = 0; i < 3; ++i)
                 s.Change(0, 1, "");
         },
         2},
        {"a paste is a step of its own, and so is what follows it",
         [](Session &s) {
             s.Type("a");
             s.Change(1, 0, "pasted");
             s.Type("b");
         },
         3},
        {"a replacement of a selection",
         [](Session &s) {
             s.Type("word");
             s.Change(0, 4, "Word");
         },
         2},
    };
    for (const Case &c : cases) {
        Session s;
        c.actions(s);
        EXPECT_EQ(s.UndoAll(), c.steps) << c.what;
        EXPECT_EQ(s.text, "") << c.what;
    }
}

TEST(EditHistoryTest, TheProgramsRewriteIsUndoneWithTheUsersAction)
{
    Session s;
    s.text = "x = 1";
    s.history.EndStep();
    s.Change(0, 0, "dim gtotal\r\n");
    const std::string before = s.text;
    s.text = "Dim gTotal\r\nx = 1";
    s.history.RecordConsequence(before, s.text);
    ASSERT_FALSE(s.history.Undo(s.text).empty());
    EXPECT_EQ(s.text, "x = 1");
    EXPECT_FALSE(s.history.CanUndo());
    ASSERT_FALSE(s.history.Redo(s.text).empty());
    EXPECT_EQ(s.text, "Dim gTotal\r\nx = 1");
}

TEST(EditHistoryTest, ANewEditDropsWhatCouldBeRedone)
{
    Session s;
    s.Type("ab");
    s.history.Undo(s.text);
    EXPECT_TRUE(s.history.CanRedo());
    s.Type("c");
    EXPECT_FALSE(s.history.CanRedo());
}

TEST(EditHistoryTest, ATextChangedBehindItsBackIsLeftAlone)
{
    Session s;
    s.Type("abc");
    s.text = "something else";
    EXPECT_TRUE(s.history.Undo(s.text).empty());
    EXPECT_EQ(s.text, "something else");
    EXPECT_FALSE(s.history.CanUndo());
}

TEST(EditHistoryTest, UndoAllAndRedoAllAreExactForRandomEdits)
{
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::mt19937 random(seed);
        const auto pick = [&random](size_t n) { return n ? random() % n : 0; };
        Session s;
        s.text = "Dim a\r\nx = 1\r\n";
        const std::string start = s.text;
        std::vector<std::string> texts{s.text};
        for (int i = 0; i < 60; ++i) {
            const size_t at = pick(s.text.size() + 1);
            switch (pick(5)) {
            case 0: s.Change(at, 0, std::string(1, "ab \r\n\"'"[pick(7)])); break;
            case 1: s.Change(at, std::min<size_t>(1, s.text.size() - at), ""); break;
            case 2: s.Change(at, std::min<size_t>(pick(8), s.text.size() - at), "\xD6\xD0pasted"); break;
            case 3: s.history.EndStep(); break;
            default: {
                const std::string before = s.text;
                if (!s.text.empty())
                    s.text[pick(s.text.size())] = 'Z';
                s.history.RecordConsequence(before, s.text);
            }
            }
        }
        const std::string final = s.text;
        s.UndoAll();
        EXPECT_EQ(s.text, start) << "seed " << seed;
        while (!s.history.Redo(s.text).empty()) {}
        EXPECT_EQ(s.text, final) << "seed " << seed;
    }
}
