// Every compile error the parser raises, at the place the engine names.
#include "parse_helpers.h"

#include "vbscript/compile_errors.h"

#include <gtest/gtest.h>

#include <set>

using namespace qasp::vbs;
using namespace qasp::vbs::test;

namespace {

struct Case {
    const char *code;
    const char *errors;  // "number@line:column ..."
};

const Case kCases[] = {
    {"On Error Foo", "1002@1:10"},
    {"On Error Resume", "1002@1:16"},
    {"On Error GoTo 1", "1002@1:15"},
    {"Option Foo", "1002@1:8"},
    {"If a Then For i = 1 To 2", "1002@1:11"},
    {"ReDim a", "1005@1:8"},
    {"x = (1 + 2", "1006@1:11"},
    {"Dim a(3", "1006@1:8"},
    {"x = f(1, 2", "1006@1:11"},
    {"Sub s(a b)\nEnd Sub", "1006@1:9"},
    {"Dim 5", "1010@1:5"},
    {"x = New 5", "1010@1:9"},
    {"x = New Foo.", "1010@1:13"},
    {"Class 1\nEnd Class", "1010@1:7"},
    {"x = a.", "1010@1:7"},
    {"Const a 1", "1011@1:9"},
    {"For i 1 To 2\nNext", "1011@1:7"},
    {"Set a b", "1011@1:7"},
    {"Sub s\nIf a Then\nEnd Sub", "1012@3:5"},
    {"For i = 1 2\nNext", "1013@1:11"},
    {"If a Then\nx = 1", "1014@2:6"},
    {"Class C", "1014@1:8"},
    {"Sub s\nx = 1", "1014@2:6"},
    {"Sub s\nIf a Then\nNext\nEnd Sub", "1055@3:1 1012@4:5"},
    {"Function f\nx = 1\nSub g\nEnd Sub", "1014@3:1"},
    {"Function f\nEnd Sub", "1015@2:5 1014@2:8"},
    {"Sub s\nEnd Function", "1016@2:5 1014@2:13"},
    {"If a b\nEnd If", "1017@1:6"},
    {"If a Then\nElseIf b\nEnd If", "1017@2:9"},
    {"While a\nx = 1", "1018@2:6"},
    {"Do\nx = 1", "1019@2:6"},
    {"For i = 1 To 2\nx = 1", "1020@2:6"},
    {"For Each a In b\nEnd If", "1020@2:5 1020@2:7"},
    {"Select x\nEnd Select", "1021@1:8"},
    {"Select Case x\ny = 1\nEnd Select", "1021@2:1"},
    {"Sub s\nSelect Case x\nEnd Sub", "1022@3:5"},
    {"x = ", "1023@1:5"},
    {"x = 1 +", "1023@1:8"},
    {"x = (a, b)", "1006@1:7"},
    {"Select Case x\nCase Is > 5\nEnd Select", "1023@2:6"},
    {"5", "1024@1:1"},
    {"End If", "1024@1:1"},
    {"x = 1\nOption Explicit", "1024@2:1"},
    {"Sub s\nOption Explicit\nEnd Sub", "1024@2:1"},
    {"Class C\nx = 1\nEnd Class", "1024@2:1"},
    {"Sub s\nPrivate a\nEnd Sub", "1024@2:1"},
    {"x = 1 2", "1025@1:7"},
    {"For i = 1 To 2\nNext i", "1025@2:6"},
    {"Select Case x\nCase 1 To 5\nEnd Select", "1025@2:8"},
    {"Call foo 1", "1025@1:10"},
    {"x = New Foo(1)", "1025@1:12"},
    {"If a Then x = 1 End Sub", "1025@1:17"},
    {"If a Then b Else c Else d", "1025@1:20"},
    {"Do While a\nLoop Until b", "1025@2:6"},
    {"Const a = 1 + 2", "1025@1:13"},
    {"Dim a(n)", "1026@1:7"},
    {"Dim a(1.5)", "1026@1:7"},
    {"Do x\nLoop", "1028@1:4"},
    {"Do\nLoop x", "1028@2:6"},
    {"Sub s\nWith x\nEnd Sub", "1029@3:5"},
    {"x = 1E", "1031@1:5"},
    {"x = 1.5e+", "1031@1:5"},
    {"x = &H1FFFFFFFF", "1031@1:5"},
    {"x = &O77777777777", "1031@1:5"},
    {"x = 1 $ 2", "1032@1:7"},
    {"x = a ! b", "1032@1:7"},
    {"x = [abc", "1032@1:5"},
    {"x = #1/2/2003", "1032@1:5"},
    {"x = a _ b", "1032@1:7"},
    {"x = \"abc", "1033@1:5"},
    {"x = \"abc\ny = 1", "1033@1:5"},
    {"Me = 1", "1037@1:1"},
    {"Set Me = x", "1037@1:5"},
    {"Dim Me", "1037@1:5"},
    {"Loop", "1038@1:1"},
    {"Exit Do", "1039@1:1"},
    {"Exit If", "1039@1:6"},
    {"Sub s\nExit Function\nEnd Sub", "1039@2:1"},
    {"Function f\nFor i = 1 To 2\nExit Do\nNext\nEnd Function", "1039@3:1"},
    {"Do\nSub s\nExit Do\nEnd Sub\nLoop", "1019@2:1 1039@3:1 1038@5:1"},
    {"For i = 1 To 2\nFor I = 1 To 3\nNext\nNext", "1040@2:5"},
    {"For i = 1 To 2\nFor Each i In c\nNext\nNext", "1040@2:10"},
    {"For a.b = 1 To 2\nNext", "1040@1:6"},
    {"Dim a\nDim A", "1041@2:5"},
    {"Dim a, b, a", "1041@1:11"},
    {"Sub s(a)\nDim a\nEnd Sub", "1041@2:5"},
    {"Sub s(a, a)\nEnd Sub", "1041@1:10"},
    {"Const c = 1\nDim c", "1041@2:5"},
    {"Sub s\nEnd Sub\nDim S", "1041@3:5"},
    {"Dim s\nSub S\nEnd Sub", "1041@2:5"},
    {"Class C\nEnd Class\nDim c", "1041@3:5"},
    {"Class C\nDim a\nProperty Get A\nEnd Property\nEnd Class", "1041@3:14"},
    {"Class C\nProperty Get P\nEnd Property\nProperty Get P\nEnd Property\nEnd Class", "1041@4:14"},
    {"x = 1 : Sub s\nEnd Sub", "1042@1:9"},
    {"x = 1 : Class C\nEnd Class", "1042@1:9"},
    {"foo(a, b)", "1044@1:4"},
    {"foo (a, b), c", "1044@1:5"},
    {"f(a, , c)", "1044@1:2"},
    {"Const a = b", "1045@1:11"},
    {"Const a = -\"x\"", "1045@1:12"},
    {"Const a = (1)", "1045@1:11"},
    {"For Each x y\nNext", "1046@1:12"},
    {"Class C\nEnd Sub", "1047@2:5 1014@2:8"},
    {"Property Get P\nEnd Property", "1048@1:1"},
    {"Public Default Function F\nEnd Function", "1048@1:8"},
    {"Class C\nProperty P\nEnd Property\nEnd Class", "1049@2:10"},
    {"Class C\nProperty Get P\nEnd Sub\nEnd Class", "1050@3:5 1050@4:5"},
    {"Class C\nProperty Get P(a)\nEnd Property\nProperty Let P(v)\nEnd Property\nEnd Class", "1051@4:14"},
    {"Class C\nProperty Set P(a, v)\nEnd Property\nProperty Get P\nEnd Property\nEnd Class", "1051@4:14"},
    {"Class C\nPublic Default Sub A\nEnd Sub\nPublic Default Function B\nEnd Function\nEnd Class",
     "1052@4:8"},
    {"Class C\nSub Class_Initialize(a)\nEnd Sub\nEnd Class", "1053@2:5"},
    {"Class C\nPrivate Sub class_terminate(a, b)\nEnd Sub\nEnd Class", "1053@2:13"},
    {"Class C\nProperty Let P\nEnd Property\nEnd Class", "1054@2:14"},
    {"Class C\nProperty Set P()\nEnd Property\nEnd Class", "1054@2:14"},
    {"Next", "1055@1:1"},
    {"x = 1 : Next", "1055@1:9"},
    {"Class C\nPublic Default x\nEnd Class", "1056@2:8"},
    {"Class C\nPublic Default Const x = 1\nEnd Class", "1056@2:8"},
    {"Class C\nPrivate Default Function F\nEnd Function\nEnd Class", "1057@2:9"},
    {"Class C\nDefault Sub S\nEnd Sub\nEnd Class", "1057@2:1"},
    {"Class C\nPublic Default Property Let P(v)\nEnd Property\nEnd Class", "1058@2:8"},
};

class CompileErrors : public testing::TestWithParam<Case> {};

TEST_P(CompileErrors, AreRaisedWhereTheEngineRaisesThem)
{
    EXPECT_EQ(Errors(GetParam().code), GetParam().errors) << GetParam().code;
}

INSTANTIATE_TEST_SUITE_P(All, CompileErrors, testing::ValuesIn(kCases));

TEST(CompileErrors, ANameOfMoreThan255CharactersIsTooLong)
{
    EXPECT_EQ(Errors("x = " + std::string(255, 'a')), "");
    EXPECT_EQ(Errors("x = " + std::string(256, 'a')), "1030@1:5");
    EXPECT_EQ(Errors("x = [" + std::string(256, ' ') + "]"), "1030@1:5");
}

// The catalogue's numbers a parser cannot raise: no VBScript comment has an
// end (1034), a While or Until alone is never the only thing that may come
// (1027), and assigning to an argument is a matter of the program's meaning
// (1043). Out of memory (1001) is the nesting limit and 1030 a long name,
// both tested on their own.
TEST(CompileErrors, EveryOtherNumberOfTheCatalogueIsRaisedAbove)
{
    std::set<int> raised{1001, 1027, 1030, 1034, 1043};
    for (const Case &c : kCases)
        for (const Diagnostic &d : ParseCode(c.code).diagnostics)
            raised.insert(d.code);
    for (const CompileErrorEntry &e : CompileErrorCatalogue())
        EXPECT_TRUE(raised.count(e.number)) << e.number << " " << e.english;
}

TEST(CompileErrors, CarryTheirRangeAndKey)
{
    const ParseResult r = ParseCode("x = \"abc\ny = 1");
    ASSERT_EQ(r.diagnostics.size(), 1u);
    const Diagnostic &d = r.diagnostics[0];
    EXPECT_EQ(d.messageKey, "vbscript.1033");
    EXPECT_EQ(d.severity, Severity::Error);
    EXPECT_EQ(d.offset, 4u);
    EXPECT_EQ(d.endOffset, 8u);
    EXPECT_EQ(d.endLine, 1u);
    EXPECT_EQ(d.endColumn, 9u);
}

TEST(CompileErrors, ARedefinitionPointsAtTheFirstDefinition)
{
    const ParseResult r = ParseCode("Dim a\r\nSub s\r\nEnd Sub\r\nDim b, A");
    ASSERT_EQ(r.diagnostics.size(), 1u);
    const Diagnostic &d = r.diagnostics[0];
    EXPECT_EQ(d.code, 1041);
    EXPECT_EQ(d.line, 4u);
    EXPECT_EQ(d.column, 8u);
    ASSERT_EQ(d.related.size(), 1u);
    EXPECT_EQ(d.related[0].line, 1u);
    EXPECT_EQ(d.related[0].column, 5u);
    EXPECT_EQ(d.related[0].messageKey, "vbscript.declared-here");
}

// Names in different scopes do not clash, nor do a property's Get and Let.
TEST(CompileErrors, NamesInOtherScopesAreNotRedefinitions)
{
    EXPECT_EQ(
        Errors("Dim a\nSub s(a)\nDim b\nEnd Sub\nSub t\nDim b\nEnd Sub\n"
               "Class C\nDim a\nProperty Get P\nEnd Property\nProperty Let P(v)\nEnd Property\nEnd Class"),
        "");
}

}  // namespace
