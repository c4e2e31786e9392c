#include "project/layout_page_text.h"
#include "text/function_name.h"

#include <gtest/gtest.h>

using namespace qasp;

TEST(LayoutPageText, IsWhatTheLayoutKeepsOfADocumentText)
{
    // A page in the layout: its page text is the lines inside the block.
    EXPECT_EQ(LayoutPageText("<%@codepage=936%>\r\n<!--#include file=\"a.asp\"-->\r\n<%\r\nDim x\r\n\r\n"
                             "x = 1   \r\n%>\r\n"),
              "Dim x\r\nx = 1");
    // Anything else gives the fragment the layout can hold.
    EXPECT_EQ(LayoutPageText("<html>\r\n<%\r\nDim y\r\n%>\r\n<p>after</p>\r\n"), "Dim y");
    EXPECT_EQ(LayoutPageText("x = 1\r\ny = 2"), "x = 1\r\ny = 2");
    EXPECT_EQ(WithoutFinalLineBreak("End Function\r\n"), "End Function");
    EXPECT_EQ(WithoutFinalLineBreak("End Function\n"), "End Function");
    EXPECT_EQ(WithoutFinalLineBreak("End Function"), "End Function");
}

TEST(ProcedureNames, EveryFormOfAHeadNamesItsNode)
{
    EXPECT_EQ(ExtractFunctionName("Function Foo(a, b)", false), "Foo(a, b)");
    EXPECT_EQ(ExtractFunctionName("  Private Sub Bar(x)", false), "Bar(x)");
    EXPECT_EQ(ExtractFunctionName("Public Default Function Item(i)", true), "Item");
    EXPECT_EQ(ExtractFunctionName("index.asp", false), "index.asp");
    EXPECT_TRUE(IsProcedureHead("public sub  S"));
    EXPECT_TRUE(IsProcedureHead("Function F()"));
    EXPECT_FALSE(IsProcedureHead("Exit Function"));
    EXPECT_FALSE(IsProcedureHead("functions = 1"));
    // The head line stops at a comment or the end of the server block.
    EXPECT_EQ(FirstLineOf("Sub Header() %>\r\n<table>"), "Sub Header() ");
    EXPECT_EQ(FirstLineOf("Function F(a) ' the \"best\"\r\nEnd Function"), "Function F(a) ");
    EXPECT_EQ(FirstLineOf("Function F(s = \"'%>\")"), "Function F(s = \"'%>\")");
}
