// Every statement of the language parses to the tree it means.
#include "parse_helpers.h"

#include <gtest/gtest.h>

using namespace qasp::vbs::test;

namespace {

struct Case {
    const char *code;
    const char *tree;
};

class Statements : public testing::TestWithParam<Case> {};

TEST_P(Statements, ParseToTheirTree)
{
    EXPECT_EQ(Dump(GetParam().code), GetParam().tree) << GetParam().code;
    EXPECT_EQ(Errors(GetParam().code), "") << GetParam().code;
}

INSTANTIATE_TEST_SUITE_P(
    Assignments, Statements,
    testing::Values(Case{"x = 1", "(assign x 1)"}, Case{"a(1, 2) = b", "(assign (apply a 1 2) b)"},
                    Case{"a.b.c = 1", "(assign (. (. a b) c) 1)"},
                    Case{"Set rs = Server.CreateObject(\"ADODB.Recordset\")",
                         "(set rs (apply (. Server CreateObject) \"ADODB.Recordset\"))"},
                    Case{"Set o = New Foo", "(set o (new Foo))"}, Case{"Set o = Nothing", "(set o nothing)"},
                    // A member of a new object, as blog plugins write it.
                    Case{"x = New Foo.Bar(1)", "(assign x (apply (. (new Foo) Bar) 1))"},
                    Case{"x = Join(New Foo.List, \",\")", "(assign x (apply Join (. (new Foo) List) \",\"))"},
                    Case{"x = y = z", "(assign x (= y z))"}, Case{"x.End = 1", "(assign (. x End) 1)"},
                    Case{"[my var] = 1", "(assign [my var] 1)"}));

INSTANTIATE_TEST_SUITE_P(
    Calls, Statements,
    testing::Values(Case{"Response.Write \"x\", y", "(invoke (. Response Write) \"x\" y)"},
                    Case{"foo", "(invoke foo)"}, Case{"foo()", "(invoke foo ())"},
                    Case{"foo a, b", "(invoke foo a b)"}, Case{"foo a, , c", "(invoke foo a _ c)"},
                    Case{"foo , b", "(invoke foo _ b)"},
                    // One argument in brackets, which may go on as an expression.
                    Case{"foo(a)", "(invoke foo (paren a))"}, Case{"foo (a)", "(invoke foo (paren a))"},
                    Case{"foo (a) + 1, b", "(invoke foo (+ (paren a) 1) b)"},
                    Case{"Response.Write (a) & \"x\"", "(invoke (. Response Write) (& (paren a) \"x\"))"},
                    Case{"foo (a), (b)", "(invoke foo (paren a) (paren b))"},
                    Case{"foo -1", "(invoke foo (- 1))"}, Case{"a(1).b 2", "(invoke (. (apply a 1) b) 2)"},
                    Case{"Call foo", "(call foo)"}, Case{"Call foo(1, 2)", "(call (apply foo 1 2))"},
                    Case{"Call New Foo.Run()", "(call (apply (. (new Foo) Run)))"},
                    Case{"Execute \"x = 1\"", "(invoke Execute \"x = 1\")"},
                    Case{"ExecuteGlobal code", "(invoke ExecuteGlobal code)"},
                    Case{"x = f(a, , c)", "(assign x (apply f a _ c))"}));

INSTANTIATE_TEST_SUITE_P(
    Declarations, Statements,
    testing::Values(Case{"Dim a", "(dim a)"}, Case{"Dim a, b(3), c(3, 4), d()", "(dim a (b 3) (c 3 4) d())"},
                    Case{"Dim a(&H10)", "(dim (a &H10))"}, Case{"Private a, b", "(private a b)"},
                    Case{"Public a(2)", "(public (a 2))"}, Case{"Const a = 1", "(const (= a 1))"},
                    Case{"Const a = -1, b = \"x\", c = #1/2/2003#",
                         "(const (= a (- 1)) (= b \"x\") (= c #1/2/2003#))"},
                    Case{"Public Const a = True", "(const public (= a true))"},
                    Case{"Private Const a = Empty", "(const private (= a empty))"},
                    Case{"ReDim a(5)", "(redim (a 5))"},
                    Case{"ReDim Preserve a(n + 1, 2), b(3)", "(redim preserve (a (+ n 1) 2) (b 3))"},
                    Case{"Erase a", "(erase a)"}));

INSTANTIATE_TEST_SUITE_P(
    Procedures, Statements,
    testing::Values(Case{"Sub a\nEnd Sub", "(sub a (body))"},
                    Case{"Sub a()\nEnd Sub", "(sub a (params) (body))"},
                    Case{"Function f(ByVal a, ByRef b, c())\n f = a\nEnd Function",
                         "(function f (params (byval a) (byref b) c()) (body (assign f a)))"},
                    Case{"Private Sub a : Exit Sub : End Sub", "(sub a private (body (exit sub)))"},
                    Case{"Public Function f\n Exit Function\nEnd Function",
                         "(function f public (body (exit function)))"},
                    // Declared again, the later one replaces it.
                    Case{"Sub s\nEnd Sub\nFunction S\nEnd Function", "(sub s (body)) (function S (body))"},
                    Case{"Sub a\n For Each x In y\n  Do\n   Exit Sub\n  Loop\n Next\nEnd Sub",
                         "(sub a (body (for-each x y (body (do (body (exit sub)))))))"}));

INSTANTIATE_TEST_SUITE_P(
    Classes, Statements,
    testing::Values(
        Case{"Class C\nEnd Class", "(class C)"},
        Case{"Class C\n Private a, b(2)\n Public c\n Dim d\nEnd Class",
             "(class C (private a (b 2)) (public c) (dim d))"},
        Case{"Class C\n Private Sub Class_Initialize()\n Set x = Me\n End Sub\nEnd Class",
             "(class C (sub Class_Initialize private (params) (body (set x me))))"},
        Case{"Class C\n Public Default Property Get V(i)\n V = m(i)\n End Property\n"
             " Property Let V(i, x)\n m(i) = x\n End Property\n Property Set O(x)\n End Property\nEnd Class",
             "(class C (property-get V public default (params i) (body (assign V (apply m i))))"
             " (property-let V (params i x) (body (assign (apply m i) x))) (property-set O (params x) "
             "(body)))"},
        Case{"Class C\n Function F : F = Me.G : End Function\nEnd Class",
             "(class C (function F (body (assign F (. me G)))))"}));

INSTANTIATE_TEST_SUITE_P(
    ControlFlow, Statements,
    testing::Values(
        Case{"If a Then b", "(if-line (then a (body (invoke b))))"},
        Case{"If a Then b : c Else d",
             "(if-line (then a (body (invoke b) (invoke c))) (else (body (invoke d))))"},
        Case{"If a Then If b Then c Else d",
             "(if-line (then a (body (if-line (then b (body (invoke c))) (else (body (invoke d)))))))"},
        Case{"If a Then x = 1 Else y = 2 : z",
             "(if-line (then a (body (assign x 1))) (else (body (assign y 2) (invoke z))))"},
        // An End If may close the line: the engine runs it.
        Case{"If a Then b End If", "(if-line (then a (body (invoke b))))"},
        Case{"If a Then x = 1 Else y = 2 End If\nz",
             "(if-line (then a (body (assign x 1))) (else (body (assign y 2)))) (invoke z)"},
        Case{"If a Then If b Then c End If",
             "(if-line (then a (body (if-line (then b (body (invoke c)))))))"},
        Case{"If a Then\n x = 1\nElseIf b Then\n y\nElse\n z\nEnd If",
             "(if (then a (body (assign x 1))) (elseif b (body (invoke y))) (else (body (invoke z))))"},
        Case{"If a Then 'why\nEnd If", "(if (then a (body)))"},
        Case{"For i = 1 To 10 Step -2\n Exit For\nNext", "(for i 1 10 (step (- 2)) (body (exit for)))"},
        Case{"For i = 0 To n : x(i) = 0 : Next", "(for i 0 n (body (assign (apply x i) 0)))"},
        Case{"For Each x In c\nNext", "(for-each x c (body))"},
        Case{"Do While x\n Exit Do\nLoop", "(do while x (body (exit do)))"},
        Case{"Do Until x\nLoop", "(do until x (body))"}, Case{"Do\nLoop While x", "(do (body) loop-while x)"},
        Case{"Do\nLoop Until x", "(do (body) loop-until x)"}, Case{"Do\nLoop", "(do (body))"},
        Case{"While x\n y\nWend", "(while x (body (invoke y)))"},
        Case{"Select Case x\nCase 1, 2\n a\nCase \"b\"\nCase Else\n b\nEnd Select",
             "(select x (case 1 2 (body (invoke a))) (case \"b\" (body)) (case-else (body (invoke b))))"},
        Case{"Select Case x\n' a comment\nEnd Select", "(select x)"},
        Case{"Select Case x\nCase 0 Call a\nCase Else b : c\nEnd Select",
             "(select x (case 0 (body (call a))) (case-else (body (invoke b) (invoke c))))"},
        Case{"With Response\n .Write .Name\n .Flush\nEnd With",
             "(with Response (body (invoke (. Write) (. Name)) (invoke (. Flush))))"},
        Case{"With a.b\n .c(1).d = 2\nEnd With", "(with (. a b) (body (assign (. (apply (. c) 1) d) 2)))"}));

INSTANTIATE_TEST_SUITE_P(
    Others, Statements,
    testing::Values(
        Case{"On Error Resume Next", "(on-error-resume-next)"}, Case{"On Error GoTo 0", "(on-error-goto-0)"},
        Case{"Option Explicit", "(option-explicit)"}, Case{"Randomize", "(randomize)"},
        Case{"Randomize Timer", "(randomize Timer)"},
        Case{"' a comment\nRem another\nx = 1 ' and one after", "(assign x 1)"},
        Case{"x = 1 Rem after", "(assign x 1)"}, Case{"a = 1 : b = 2", "(assign a 1) (assign b 2)"},
        Case{"x = a + _\n    b", "(assign x (+ a b))"}, Case{"x = a + _  \r\n b", "(assign x (+ a b))"},
        Case{"x = y.Rem", "(assign x (. y Rem))"}));

}  // namespace
