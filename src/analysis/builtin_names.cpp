#include "analysis/builtin_names.h"

#include <algorithm>
#include <array>

namespace qasp::analysis {
namespace {

// Lower case, sorted. The functions and vb constants of the editor's
// vocabulary (resources/vocabulary), the few the vocabulary leaves out, the
// statements that parse as calls (Execute, ExecuteGlobal, Stop) and the
// objects the engine and the server put in every page.
constexpr std::array<std::string_view, 200> kNames{
    "abs", "application", "array", "asc", "ascb", "ascw", "atn", "cbool", "cbyte", "ccur", "cdate", "cdbl",
    "chr", "chrb", "chrw", "cint", "clng", "cos", "createobject", "csng", "cstr", "date", "dateadd",
    "datediff", "datepart", "dateserial", "datevalue", "day", "err", "escape", "eval", "execute",
    "executeglobal", "exp", "filter", "fix", "formatcurrency", "formatdatetime", "formatnumber",
    "formatpercent", "getlocale", "getobject", "getref", "hex", "hour", "inputbox", "instr", "instrb",
    "instrrev", "int", "isarray", "isdate", "isempty", "isnull", "isnumeric", "isobject", "join", "lbound",
    "lcase", "left", "leftb", "len", "lenb", "loadpicture", "log", "ltrim", "mid", "midb", "minute", "month",
    "monthname", "msgbox", "now", "objectcontext", "oct", "replace", "request", "response", "rgb", "right",
    "rightb", "rnd", "round", "rtrim", "scriptengine", "scriptenginebuildversion",
    "scriptenginemajorversion", "scriptengineminorversion", "second", "server", "session", "setlocale",
    "sgn", "sin", "space", "split", "sqr", "stop", "strcomp", "string", "strreverse", "tan", "time", "timer",
    "timeserial", "timevalue", "trim", "typename", "ubound", "ucase", "unescape", "vartype", "vbabort",
    "vbabortretryignore", "vbapplicationmodal", "vbarray", "vbback", "vbbinarycompare", "vbblack", "vbblue",
    "vbboolean", "vbbyte", "vbcancel", "vbcr", "vbcritical", "vbcrlf", "vbcurrency", "vbcyan",
    "vbdataobject", "vbdate", "vbdecimal", "vbdefaultbutton1", "vbdefaultbutton2", "vbdefaultbutton3",
    "vbdefaultbutton4", "vbdouble", "vbempty", "vberror", "vbexclamation", "vbfalse", "vbfirstfourdays",
    "vbfirstfullweek", "vbfirstjan1", "vbformfeed", "vbfriday", "vbgeneraldate", "vbgreen", "vbignore",
    "vbinformation", "vbinteger", "vblf", "vblong", "vblongdate", "vblongtime", "vbmagenta", "vbmonday",
    "vbmsgboxhelpbutton", "vbmsgboxright", "vbmsgboxrtlreading", "vbmsgboxsetforeground", "vbnewline",
    "vbno", "vbnull", "vbnullchar", "vbnullstring", "vbobject", "vbobjecterror", "vbok", "vbokcancel",
    "vbokonly", "vbquestion", "vbred", "vbretry", "vbretrycancel", "vbsaturday", "vbshortdate",
    "vbshorttime", "vbsingle", "vbstring", "vbsunday", "vbsystemmodal", "vbtab", "vbtextcompare",
    "vbthursday", "vbtrue", "vbtuesday", "vbusedefault", "vbusesystem", "vbusesystemdayofweek", "vbvariant",
    "vbverticaltab", "vbwednesday", "vbwhite", "vbyellow", "vbyes", "vbyesno", "vbyesnocancel", "weekday",
    "weekdayname", "year",
};

}  // namespace

bool IsBuiltinName(std::string_view folded)
{
    return std::binary_search(kNames.begin(), kNames.end(), folded);
}

bool IsBuiltinClass(std::string_view folded)
{
    return folded == "regexp";
}

}  // namespace qasp::analysis
