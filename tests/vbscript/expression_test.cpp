// Expressions: the engine's precedence, literals, member access and calls.
#include "parse_helpers.h"

#include <gtest/gtest.h>

using namespace qasp::vbs::test;

namespace {

struct Case {
    const char *expression;
    const char *tree;
};

class Expressions : public testing::TestWithParam<Case> {};

TEST_P(Expressions, ParseToTheirTree)
{
    const std::string code = std::string("x = ") + GetParam().expression;
    EXPECT_EQ(Dump(code), std::string("(assign x ") + GetParam().tree + ")") << code;
    EXPECT_EQ(Errors(code), "") << code;
}

// From the tightest: ^, unary minus, * /, \, Mod, + -, &, comparisons and
// Is, Not, And, Or, Xor, Eqv, Imp.
INSTANTIATE_TEST_SUITE_P(
    Precedence, Expressions,
    testing::Values(Case{"-2 ^ 2", "(- (^ 2 2))"}, Case{"2 ^ -2", "(^ 2 (- 2))"},
                    Case{"2 ^ 3 ^ 2", "(^ (^ 2 3) 2)"}, Case{"-a * b", "(* (- a) b)"},
                    Case{"a * b / c", "(/ (* a b) c)"}, Case{"a / b \\ c", "(\\ (/ a b) c)"},
                    Case{"a \\ b Mod c", "(mod (\\ a b) c)"}, Case{"a Mod b + c", "(+ (mod a b) c)"},
                    Case{"a + b Mod c", "(+ a (mod b c))"}, Case{"a - b - c", "(- (- a b) c)"},
                    Case{"a + b & c", "(& (+ a b) c)"}, Case{"a & b = c", "(= (& a b) c)"},
                    Case{"a = b & c", "(= a (& b c))"}, Case{"a < b = c > d", "(> (= (< a b) c) d)"},
                    Case{"a <> b", "(<> a b)"}, Case{"a <= b Or a >= c", "(or (<= a b) (>= a c))"},
                    Case{"a =< b Or a => c", "(or (<= a b) (>= a c))"},
                    Case{"a Is Nothing", "(is a nothing)"}, Case{"Not a Is Nothing", "(not (is a nothing))"},
                    Case{"Not a = b", "(not (= a b))"}, Case{"Not a And b", "(and (not a) b)"},
                    Case{"a And Not b", "(and a (not b))"}, Case{"a Or b And c", "(or a (and b c))"},
                    Case{"a Xor b Or c", "(xor a (or b c))"}, Case{"a Eqv b Xor c", "(eqv a (xor b c))"},
                    Case{"a Imp b Eqv c", "(imp a (eqv b c))"}, Case{"a Imp b Imp c", "(imp (imp a b) c)"},
                    Case{"- - a", "(- (- a))"}, Case{"+a", "(+ a)"},
                    Case{"(a + b) * c", "(* (paren (+ a b)) c)"}, Case{"Not Not a", "(not (not a))"},
                    Case{"a * -b", "(* a (- b))"}));

INSTANTIATE_TEST_SUITE_P(Literals, Expressions,
                         testing::Values(Case{"\"say \"\"hi\"\"\"", "\"say \"\"hi\"\"\""},
                                         Case{"\"\"", "\"\""}, Case{"42", "42"}, Case{"1.5E+3", "1.5E+3"},
                                         Case{"1e-3", "1e-3"}, Case{".5", ".5"}, Case{"3.", "3."},
                                         Case{"&H1F", "&H1F"}, Case{"&hff&", "&hff&"}, Case{"&O17", "&O17"},
                                         Case{"&HFFFFFFFF", "&HFFFFFFFF"}, Case{"#1/2/2003#", "#1/2/2003#"},
                                         Case{"#2003-01-02 10:00#", "#2003-01-02 10:00#"},
                                         Case{"Empty", "empty"}, Case{"Null", "null"},
                                         Case{"Nothing", "nothing"}, Case{"True", "true"},
                                         Case{"FALSE", "false"}, Case{"[a b]", "[a b]"},
                                         Case{"a&b", "(& a b)"}, Case{"\"x\"&y", "(& \"x\" y)"}));

INSTANTIATE_TEST_SUITE_P(MembersAndCalls, Expressions,
                         testing::Values(Case{"a.b", "(. a b)"}, Case{"a.b.c", "(. (. a b) c)"},
                                         Case{"a(1)", "(apply a 1)"}, Case{"a()", "(apply a)"},
                                         Case{"a(1)(2)", "(apply (apply a 1) 2)"},
                                         Case{"a(1, , 3)", "(apply a 1 _ 3)"}, Case{"a(, )", "(apply a _ _)"},
                                         Case{"a.b(1).c", "(. (apply (. a b) 1) c)"},
                                         Case{"Me.a", "(. me a)"}, Case{"New Foo", "(new Foo)"},
                                         Case{".a + .b", "(+ (. a) (. b))"},
                                         Case{"rs(\"id\").Value", "(. (apply rs \"id\") Value)"},
                                         Case{"a.Class.Next.End", "(. (. (. a Class) Next) End)"},
                                         Case{"f((a), -(b))", "(apply f (paren a) (- (paren b)))"}));

}  // namespace
