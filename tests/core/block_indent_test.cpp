#include "editor/block_indent.h"
#include "editor/line_comments.h"

#include <gtest/gtest.h>

using namespace qasp;

TEST(BlockIndent, OpenersGoOneStepDeeper)
{
    for (const char *line : {"If a Then",
                             "\tIF a > 1 THEN ' note",
                             "ElseIf b Then",
                             "Else",
                             "For i = 1 To 3",
                             "For Each x In y",
                             "Do",
                             "Do While a",
                             "While a",
                             "Select Case a",
                             "Case 1",
                             "Case Else",
                             "With rs",
                             "Class C",
                             "Function F(a)",
                             "Public Sub S",
                             "Private Property Get P",
                             "Public Default Function F",
                             "<% If a Then",
                             "If s = \"Then\" Then",
                             "If a Then ' Then"})
        EXPECT_TRUE(OpensBlock(line)) << line;
    for (const char *line : {"If a Then b = 1", "Else x = 1", "End If", "Exit Function", "x = 1", "' For", "",
                             "Response.Write \"Do\"", "Next", "Selected = 1"})
        EXPECT_FALSE(OpensBlock(line)) << line;
}

TEST(BlockIndent, ClosersStepBackOnceFromTheBody)
{
    for (const char *line :
         {"End If", "\tend  if", "Next", "Loop", "Wend", "End Select", "End With", "End Class",
          "End Function", "End Sub", "End Property", "Else", "ElseIf", "Case"})
        EXPECT_TRUE(IsClosingKeywordLine(line)) << line;
    for (const char *line : {"End", "Next i = 1", "EndIf x", "x Next", "Elsewhere"})
        EXPECT_FALSE(IsClosingKeywordLine(line)) << line;

    EXPECT_TRUE(OutdentsWhenTyped("\tx = 1", "\tEnd If"));
    EXPECT_TRUE(OutdentsWhenTyped("If a Then", "\tElse"));  // an empty body
    EXPECT_FALSE(OutdentsWhenTyped("\tx = 1", "ElseIf"));   // already back: Else, then If
    EXPECT_FALSE(OutdentsWhenTyped("\t\tx = 1", "\tNext"));
    EXPECT_FALSE(OutdentsWhenTyped("x = 1", "Next"));  // nothing to take
    EXPECT_FALSE(OutdentsWhenTyped("\tx = 1", "\tNex"));
}

TEST(BlockIndent, OneStepIsATabOrUpToFourSpaces)
{
    EXPECT_EQ(OutdentLength("\t\tx"), 1u);
    EXPECT_EQ(OutdentLength("      x"), 4u);
    EXPECT_EQ(OutdentLength("  x"), 2u);
    EXPECT_EQ(OutdentLength("x"), 0u);
    EXPECT_EQ(IndentColumns("\t  x"), 6);
    EXPECT_EQ(LeadingBlanks(" \tx "), " \t");
}

TEST(LineComments, CommentAllUnlessAllAreCommented)
{
    using Lines = std::vector<std::string>;
    EXPECT_EQ(ToggledLineComments({"a", "\tb", "", "  "}), (Lines{"'a", "\t'b", "", "  "}));
    EXPECT_EQ(ToggledLineComments({"'a", "\t'b", ""}), (Lines{"a", "\tb", ""}));
    // A mix is commented throughout; a second toggle gives it back.
    const Lines mixed = {"'a", "b"};
    EXPECT_EQ(ToggledLineComments(mixed), (Lines{"''a", "'b"}));
    EXPECT_EQ(ToggledLineComments(ToggledLineComments(mixed)), mixed);
    EXPECT_EQ(ToggledLineComments({"", " "}), (Lines{"", " "}));
}
