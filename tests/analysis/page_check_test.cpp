// Each check on a small site written to a scratch folder: the problem found
// at its file, line and column, and valid code left alone.
#include "analysis/check_messages.h"
#include "analysis/page_check.h"
#include "scratch_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace qasp::analysis {
namespace {

using Files = std::vector<std::pair<std::string, std::string>>;

struct Case {
    const char *name;
    Files files;           // the first is the page checked
    std::string expected;  // "file:line:column code" per diagnostic, ' ' between
};

// "file:line:column code" per diagnostic; `severities` adds " error" or
// " warning" to each.
std::string Listing(const Files &files, bool severities = false)
{
    testing::ScratchDir dir("analysis");
    for (const auto &[name, bytes] : files) {
        std::filesystem::create_directories((dir / name).parent_path());
        testing::WriteAll(dir / name, bytes);
    }
    PageChecker checker;
    const std::vector<vbs::Diagnostic> found = checker.Check(dir / files[0].first, SiteRoot(dir.Path()));
    std::string out;
    for (const vbs::Diagnostic &d : found) {
        if (!out.empty())
            out += ' ';
        out += SiteRoot(dir.Path()).Relative(checker.Files()[d.file].path) + ":" + std::to_string(d.line)
               + ":" + std::to_string(d.column) + " " + DiagnosticCode(d);
        if (severities)
            out += d.severity == vbs::Severity::Error ? " error" : " warning";
    }
    return out;
}

class PageChecks : public ::testing::TestWithParam<Case> {};

TEST_P(PageChecks, FindWhatTheServerWouldFailOn)
{
    EXPECT_EQ(Listing(GetParam().files), GetParam().expected);
}

const char *const kExplicit = "<% Option Explicit %>\r\n";

INSTANTIATE_TEST_SUITE_P(
    Sites, PageChecks,
    ::testing::Values(
        // Name redefined across files, placed in the later file.
        Case{"redefined_in_include",
             {{"a.asp", "<%\nDim conn\n%>\n<!--#include file=\"inc/db.asp\"-->\n"},
              {"inc/db.asp", "<% Dim conn %>"}},
             "inc/db.asp:1:8 800A0411"},
        // Undefined under Option Explicit; a Dim below the use, a global of an
        // include, a built-in and a procedure called before it stand are not.
        Case{"undefined_variable",
             {{"a.asp",
               std::string(kExplicit)
                   + "<!--#include file=\"g.asp\"-->\n<%\nx = 1\ny = Len(g) & vbCrLf\nDim x\nCall Later(x)\n"
                     "Sub Later(v)\nResponse.Write v\nEnd Sub\nz = 2\n%>"},
              {"g.asp", "<% Dim g %>"}},
             "a.asp:5:1 800A01F4 a.asp:11:1 800A01F4"},
        Case{"no_option_explicit", {{"a.asp", "<% z = 2 %>"}}, ""},
        Case{"execute_global_may_declare",
             {{"a.asp", std::string(kExplicit) + "<% ExecuteGlobal \"Dim z\" : z = 2 %>"}},
             ""},
        Case{"local_not_seen_outside",
             {{"a.asp", std::string(kExplicit) + "<%\nSub S\nDim t\nt = 1\nEnd Sub\nt = 2\n%>"}},
             "a.asp:7:1 800A01F4"},
        Case{"wrong_argument_count",
             {{"a.asp",
               "<!--#include virtual=\"/lib/f.asp\"-->\n<%\nx = Add(1)\nAdd 1, 2\nCall Add(1, 2, 3)\n%>"},
              {"lib/f.asp", "<%\nFunction Add(a, b)\nAdd = a + b\nEnd Function\n%>"}},
             "a.asp:3:5 800A01C2 a.asp:5:6 800A01C2"},
        Case{"function_name_inside_itself_is_its_result",
             {{"a.asp", "<%\nFunction F(a)\nF = 1\nIf F > 0 Then F = 2\nEnd Function\nx = F(1)\n%>"}},
             ""},
        Case{"class_not_defined",
             {{"a.asp", "<!--#include file=\"c.asp\"-->\n<%\nSet a = New Shape\nSet b = New RegExp\nSet c = "
                        "New Nope\n%>"},
              {"c.asp", "<% Class Shape\nEnd Class %>"}},
             "a.asp:5:9 800A01FA"},
        // Classes, like procedures, exist before the page's first statement.
        Case{"new_of_a_class_declared_later",
             {{"a.asp", "<% Set a = New Later %>\n<!--#include file=\"c.asp\"-->"},
              {"c.asp", "<% Class Later\nEnd Class %>"}},
             ""},
        Case{"exit_outside_a_procedure", {{"a.asp", "<%\nExit Function\n%>"}}, "a.asp:2:1 800A040F"},
        Case{"include_missing_and_parent_path",
             {{"sub/a.asp", "<!--#include file=\"../inc/x.asp\"-->\n<!--#include file=\"none.asp\"-->"},
              {"inc/x.asp", "<% y = 1 %>"}},
             "sub/a.asp:1:1 ASP0131 sub/a.asp:2:1 ASP0126"},
        Case{"cyclic_include",
             {{"a.asp", "<!--#include file=\"b.asp\"-->"}, {"b.asp", "<!--#include file=\"a.asp\"-->"}},
             "b.asp:1:1 ASP0135"},
        Case{"unused_local",
             {{"a.asp", "<%\nSub S(p)\nDim used, unused\nused = p\nEnd Sub\nDim globalUnused\n%>"}},
             "a.asp:3:11 unused-variable"},
        Case{"unreachable",
             {{"a.asp",
               "<%\nIf a Then\nResponse.Redirect \"x\"\nb = 1\nEnd If\nSub S\nExit Sub\nc = 2\nEnd Sub\n"
               "Response.End\n%>\n<% Sub Hoisted\nEnd Sub %>"}},
             "a.asp:4:1 unreachable-code a.asp:8:1 unreachable-code"},
        Case{"procedure_in_other_case",
             {{"a.asp", "<!--#include file=\"one.asp\"-->\n<!--#include file=\"two.asp\"-->"},
              {"one.asp", "<% Sub ShowMenu\nEnd Sub %>"},
              {"two.asp", "<% Sub showmenu\nEnd Sub %>"}},
             "two.asp:1:8 procedure-case"},
        // ReDim declares the array where nothing else did, in its scope.
        Case{"redim_declares",
             {{"a.asp", std::string(kExplicit)
                            + "<%\nReDim list(3)\nlist(0) = 1\nSub S\nReDim t(1)\nt(0) = list(0)\n"
                              "End Sub\nt(1) = 2\n%>"}},
             "a.asp:9:1 800A01F4"},
        // global.asa gives every page its Application and Session objects
        // and its type libraries' constants, not its procedures.
        Case{"global_asa_objects_and_type_library",
             {{"a.asp", std::string(kExplicit)
                            + "<% Counter.Add 1 : Cart.Clear : x = adOpenStatic : OnStartHelper %>"},
              {"GLOBAL.ASA",
               "<!--METADATA TYPE=\"TypeLib\" UUID=\"{00000206-0000-0010-8000-00AA006D2EA4}\"-->\n"
               "<object runat=\"server\" scope=\"Application\" id=\"Counter\" progid=\"My.Counter\">"
               "</object>\n<OBJECT RUNAT=Server SCOPE=Session ID=Cart PROGID=\"My.Cart\"></OBJECT>\n"
               "<script language=\"VBScript\" runat=\"server\">\nSub OnStartHelper\nEnd Sub\n</script>"}},
             ""},
        Case{"global_asa_procedures_stay_there",
             {{"a.asp", std::string(kExplicit) + "<% OnStartHelper %>"},
              {"global.asa",
               "<script language=\"VBScript\" runat=\"server\">\nSub OnStartHelper\nEnd Sub\n</script>"}},
             "a.asp:2:4 800A01F4"},
        Case{"page_server_object",
             {{"a.asp",
               std::string(kExplicit)
                   + "<object runat=\"server\" id=\"conn\" progid=\"ADODB.Connection\"></object>\n"
                     "<object id=\"client\" classid=\"x\"></object>\n<% conn.Open \"x\" : client.Go %>"}},
             "a.asp:4:20 800A01F4"},
        // A server script's src is an include: VBScript joins the page,
        // a JScript file's functions are globals.
        Case{"script_src_includes",
             {{"a.asp",
               std::string(kExplicit)
                   + "<script language=\"VBScript\" runat=\"server\" src=\"/lib/shapes.vbs\"></script>\n"
                     "<SCRIPT RUNAT=Server LANGUAGE=JScript SRC=\"util.js\"></SCRIPT>\n"
                     "<% Dim s, x : Set s = New Shape : x = Area(s) & jsTrim(\" a \") %>\n"
                     "<script runat=\"server\" src=\"none.vbs\"></script>"},
              {"lib/shapes.vbs",
               "Class Shape\r\nEnd Class\r\nFunction Area(s)\r\nArea = 0\r\nEnd Function\r\n"},
              {"util.js", "function jsTrim(s) { return s.replace(/^ +| +$/g, ''); }"}},
             "a.asp:5:1 ASP0126"},
        // A JScript page's blocks (and its includes') are no VBScript; its
        // server VBScript elements are, and may call its functions.
        Case{"jscript_page",
             {{"a.asp", "<%@ Language=\"JScript\" CODEPAGE=65001 %>\n<!--#include file=\"lib.asp\"-->\n"
                        "<% var n = count(1); if (n > 0) { Response.Write(n); } %>\n<%= n + 1 %>\n"
                        "<script language=\"VBScript\" runat=\"server\">\nSub Show\nResponse.Write count(2\n"
                        "End Sub\n</script>"},
              {"lib.asp", "<% function count(x) { return x * 2; } %>"}},
             "a.asp:7:23 800A03EE"},
        Case{"server_jscript_function_is_a_global",
             {{"a.asp",
               std::string(kExplicit)
                   + "<script language=\"JScript\" runat=\"server\">\nfunction jsEscape(s) { return s; }\n"
                     "</script>\n<% x = jsEscape(\"a\") %>"}},
             "a.asp:5:4 800A01F4"}),
    [](const ::testing::TestParamInfo<Case> &p) { return std::string(p.param.name); });

class RuntimeErrors : public ::testing::TestWithParam<Case> {};

// 500, 450 and 506 fail a page only when their statement runs: errors where
// it surely runs, warnings where the page may go on without it.
TEST_P(RuntimeErrors, AreErrorsWhereThePageFailsAndWarningsElsewhere)
{
    EXPECT_EQ(Listing(GetParam().files, true), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sites, RuntimeErrors,
    ::testing::Values(
        // The engine skips a failing statement after On Error Resume Next,
        // until On Error GoTo 0; a procedure has its own setting.
        Case{"resumed_past",
             {{"a.asp", std::string(kExplicit)
                            + "<%\nOn Error Resume Next\nx = 1\nSet o = New Nope\nOn Error GoTo 0\ny = 2\n"
                              "Sub S\nz = 3\nEnd Sub\n%>"}},
             "a.asp:4:1 800A01F4 warning a.asp:5:5 800A01F4 warning a.asp:5:9 800A01FA warning "
             "a.asp:7:1 800A01F4 error "
             "a.asp:9:1 800A01F4 error"},
        // A shared include guards code for the pages that have the class.
        Case{"new_under_a_condition",
             {{"a.asp", "<%\nIf page = \"about\" Then\nSet o = New About\nEnd If\n"
                        "For Each p In ps : Set q = New Photo : Next\nSet r = New Menu\n%>"}},
             "a.asp:3:9 800A01FA warning a.asp:5:28 800A01FA warning a.asp:6:9 800A01FA error"},
        // Code the page runs from a string may define the class.
        Case{"new_after_execute_global",
             {{"a.asp", "<%\nExecuteGlobal LoadClassText(\"menu\")\nSet m = New Menu\n%>"}},
             "a.asp:3:9 800A01FA warning"},
        // The later of two declarations runs; inside a function its own name
        // is its result whichever declaration wins.
        Case{"later_declaration_wins",
             {{"a.asp", "<!--#include file=\"old.asp\"-->\n<%\nFunction Get(k)\nGet = k\n"
                        "If Get = \"\" Then Get = 0\nEnd Function\nx = Get(1)\ny = Get(1, 2)\n%>"},
              {"old.asp", "<%\nFunction Get(k, d)\nGet = d\nIf Get & \"\" = \"\" Then Get = k\nEnd Function\n"
                          "Sub Show\nResponse.Write Get(1, 2)\nEnd Sub\n%>"}},
             "a.asp:8:5 800A01C2 error old.asp:7:16 800A01C2 warning"}),
    [](const ::testing::TestParamInfo<Case> &p) { return std::string(p.param.name); });

// New fails only when it runs: in a procedure of a shared include, which a
// page that lacks the class may never call, it is a warning.
TEST(PageChecks, ANewOfAnUnknownClassInAProcedureIsAWarning)
{
    testing::ScratchDir dir("analysis_new");
    testing::WriteAll(dir / "a.asp", "<%\nSub MakeUser()\nSet u = New TUser\nEnd Sub\nSet v = New TUser\n%>");
    PageChecker checker;
    const std::vector<vbs::Diagnostic> found = checker.Check(dir / "a.asp", SiteRoot(dir.Path()));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].line, 3u);
    EXPECT_EQ(found[0].severity, vbs::Severity::Warning);
    EXPECT_EQ(found[1].line, 5u);
    EXPECT_EQ(found[1].severity, vbs::Severity::Error);
}

TEST(PageChecks, ReadsAnIncludeOncePerRun)
{
    testing::ScratchDir dir("analysis_once");
    testing::WriteAll(dir / "a.asp", "<!--#include file=\"s.asp\"-->");
    testing::WriteAll(dir / "b.asp", "<!--#include file=\"s.asp\"-->");
    testing::WriteAll(dir / "s.asp", "<% Dim s %>");
    PageChecker checker;
    checker.Check(dir / "a.asp", SiteRoot(dir.Path()));
    checker.Check(dir / "b.asp", SiteRoot(dir.Path()));
    EXPECT_EQ(checker.Files().Count(), 3u);
}

TEST(CheckMessages, CodesAndTexts)
{
    vbs::Diagnostic d;
    d.code = 500;
    d.messageKey = RuntimeMessageKey(500);
    d.argument = "x";
    EXPECT_EQ(DiagnosticCode(d), "800A01F4");
    EXPECT_EQ(DiagnosticMessage(d, vbs::MessageLanguage::English), "Variable is undefined: 'x'");
    EXPECT_EQ(DiagnosticMessage(d, vbs::MessageLanguage::SimplifiedChinese), "变量未定义: 'x'");
    d.code = 126;
    d.messageKey = AspMessageKey(126);
    EXPECT_EQ(DiagnosticCode(d), "ASP0126");
}

}  // namespace
}  // namespace qasp::analysis
