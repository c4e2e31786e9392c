// One document per file: its bytes come back as read, its ranges stay on
// their text through edits, and undo gives back text and ranges alike.
#include "document/document.h"

#include <gtest/gtest.h>

#include <random>

using namespace qasp;

namespace {

struct ShiftCase {
    const char *name;
    TextRange range;
    TextEdit edit;
    bool growing;
    TextRange expected;
};

// The range [10, 20) of a text, edited around and inside.
const ShiftCase kShifts[] = {
    {"InsertBefore", {10, 20}, {2, "", "abc"}, false, {13, 23}},
    {"InsertAfter", {10, 20}, {25, "", "abc"}, false, {10, 20}},
    {"InsertInside", {10, 20}, {15, "", "abc"}, false, {10, 23}},
    {"InsertAtStartStaysOutside", {10, 20}, {10, "", "abc"}, false, {13, 23}},
    {"InsertAtEndStaysOutside", {10, 20}, {20, "", "abc"}, false, {10, 20}},
    {"TypedAtStartOfItsView", {10, 20}, {10, "", "abc"}, true, {10, 23}},
    {"TypedAtEndOfItsView", {10, 20}, {20, "", "abc"}, true, {10, 23}},
    {"DeleteBefore", {10, 20}, {2, "xyz", ""}, false, {7, 17}},
    {"DeleteInside", {10, 20}, {12, "xyz", ""}, false, {10, 17}},
    {"DeleteOverItsStart", {10, 20}, {8, "xyzw", ""}, false, {8, 16}},
    {"DeleteOverItsEnd", {10, 20}, {18, "xyzw", ""}, false, {10, 18}},
    {"DeleteAllOfIt", {10, 20}, {5, std::string(20, 'x'), ""}, false, {5, 5}},
    {"ReplaceExactlyIt", {10, 20}, {10, std::string(10, 'x'), "ab"}, false, {10, 12}},
    {"ReplaceOverItsEndFromItsView", {10, 20}, {18, "xyzw", "ab"}, true, {10, 20}},
    {"ReplaceOverItsEndFromElsewhere", {10, 20}, {18, "xyzw", "ab"}, false, {10, 18}},
    {"ReplaceOverItsStartFromElsewhere", {10, 20}, {8, "xyzw", "ab"}, false, {10, 18}},
    {"EmptyRangeTypedInto", {10, 10}, {10, "", "ab"}, true, {10, 12}},
    {"EmptyRangeTextBefore", {10, 10}, {10, "", "ab"}, false, {12, 12}},
};

class RangeShift : public ::testing::TestWithParam<ShiftCase> {};

}  // namespace

TEST_P(RangeShift, TheRangeStaysOnItsText)
{
    const ShiftCase &c = GetParam();
    MovingRanges ranges;
    const RangeId other = ranges.Add({0, 1});
    const RangeId id = ranges.Add(c.range);
    ranges.Shift(c.edit, c.growing ? id : other);
    EXPECT_EQ(ranges.At(id), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Edits, RangeShift, ::testing::ValuesIn(kShifts),
                         [](const auto &test) { return std::string(test.param.name); });

TEST(Document, AnUneditedFileComesBackByteForByteAndEditsKeepItsLineEnds)
{
    const std::string bytes = "<%\nDim a\r\nDim b\n%>";
    Document document = Document::FromFileBytes("/site/page.asp", bytes, TextEncoding::Gbk);
    EXPECT_EQ(document.Text(), "<%\r\nDim a\r\nDim b\r\n%>");
    EXPECT_EQ(document.FileBytes(), bytes);
    EXPECT_FALSE(document.Modified());

    ASSERT_TRUE(document.Apply({document.Text().find("%>"), "", "Dim c\r\n"}));
    EXPECT_TRUE(document.Modified());
    // Untouched lines keep their ends; the new one takes the file's (mixed: CR LF).
    EXPECT_EQ(document.FileBytes(), "<%\nDim a\r\nDim b\nDim c\r\n%>");
    document.MarkSaved();
    EXPECT_FALSE(document.Modified());
    EXPECT_EQ(document.FileBytes(), "<%\nDim a\r\nDim b\nDim c\r\n%>");

    EXPECT_FALSE(document.Apply({0, "no such bytes", ""}));
    EXPECT_EQ(document.Revision(), 1u);
}

// A procedure's range: typing in its own view grows it; undo of an edit that
// removed all of it puts it back exactly, which shifting alone could not.
TEST(Document, UndoAndRedoGiveBackTheTextAndTheRanges)
{
    Document document("<%\r\nFunction F()\r\nEnd Function\r\n%>");
    const size_t begin = document.Text().find("Function");
    const size_t end = document.Text().find("%>");
    const RangeId procedure = document.Ranges().Add({begin, end});
    const std::string original = document.Text();

    size_t at = begin;
    for (const char c : std::string("' note\r\n"))
        ASSERT_TRUE(document.Apply({at++, "", std::string(1, c)}, procedure));
    EXPECT_TRUE(document.TextOf(procedure).starts_with("' note\r\nFunction F()"));
    const std::string typed = document.Text();

    const std::string whole(document.TextOf(procedure));
    ASSERT_TRUE(document.Apply({begin, whole, ""}));
    EXPECT_EQ(document.TextOf(procedure), "");

    EXPECT_EQ(document.Undo().size(), 1u);
    EXPECT_EQ(document.Text(), typed);
    EXPECT_EQ(document.TextOf(procedure), whole);
    EXPECT_EQ(document.Undo().size(), 1u);  // the typing run is one step
    EXPECT_EQ(document.Text(), original);
    EXPECT_EQ(document.Ranges().At(procedure), (TextRange{begin, end}));
    EXPECT_FALSE(document.CanUndo());

    const std::uint64_t revision = document.Revision();
    document.Redo();
    document.Redo();
    EXPECT_EQ(document.TextOf(procedure), "");
    EXPECT_FALSE(document.CanRedo());
    EXPECT_EQ(document.Revision(), revision + 2);
}

namespace {

struct Recorder : DocumentObserver {
    std::vector<TextEdit> seen;
    void TextChanged(Document &, const TextEdit &edit) override { seen.push_back(edit); }
};

}  // namespace

// Random edits from two views, undone and redone at random: undoing all
// gives back the first text and places, and every edit told to an observer
// replays the document's text exactly (as a widget showing it would).
TEST(Document, RandomEditsUndoAndRedoStayConsistent)
{
    std::mt19937 random(20261208);
    for (int round = 0; round < 50; ++round) {
        Document document("<%\r\nSub A()\r\nx = 1\r\nEnd Sub\r\nSub B()\r\nEnd Sub\r\n%>\r\n");
        const RangeId a = document.Ranges().Add({4, 29});
        const RangeId b = document.Ranges().Add({29, 46});
        const std::string first = document.Text();
        const MovingRanges::Places firstPlaces = document.Ranges().Save();
        Recorder widget;
        std::string shown = document.Text();
        document.AddObserver(&widget);
        int done = 0;
        for (int step = 0; step < 60; ++step) {
            const int what = static_cast<int>(random() % 10);
            if (what == 0) {
                document.Undo();
            } else if (what == 1) {
                document.Redo();
            } else {
                const RangeId view = what % 2 ? a : b;
                const TextRange r = document.Ranges().At(view);
                const size_t at = r.begin + (r.Length() ? random() % (r.Length() + 1) : 0);
                const size_t cut = std::min<size_t>(random() % 4, r.end - at);
                const std::string removed = document.Text().substr(at, cut);
                ASSERT_TRUE(
                    document.Apply({at, removed, what > 6 ? "" : std::string(random() % 3, 'q')}, view));
                ++done;
                if (random() % 3 == 0)
                    document.EndUndoStep();
            }
            for (const TextEdit &e : widget.seen)
                ASSERT_TRUE(ApplyEdit(shown, e));
            widget.seen.clear();
            ASSERT_EQ(shown, document.Text());
            for (const RangeId id : {a, b})
                ASSERT_LE(document.Ranges().At(id).end, document.Text().size());
        }
        while (document.CanUndo())
            document.Undo();
        EXPECT_EQ(document.Text(), first);
        EXPECT_EQ(document.Ranges().Save(), firstPlaces);
        document.RemoveObserver(&widget);
    }
}
