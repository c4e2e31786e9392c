// The lexical structure of one ASP page as the server reads it: which bytes
// are HTML, which are server blocks, server and client script elements and
// include directives, and which VBScript procedures the server code holds.
// Every range is a byte offset into the page; nothing is converted, so a page
// can be written back byte for byte around any edit of one range. The page is
// GBK or UTF-8: only ASCII delimiters matter, and in GBK the second byte of a
// character (which may be an ASCII letter) is never read as one.
#pragma once

#include "site/include_kind.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qasp {

enum class RegionKind {
    Html,
    Script,      // <% ... %>
    Expression,  // <%= ... %>
    Directive,   // <%@ ... %>
    // <script runat="server"> in VBScript (the language named, or none).
    ServerScript,
    // <script runat="server"> in another language (JScript): server code, but
    // not VBScript; "<%" inside it is its own text, not a server block.
    ServerOtherScript,
    // <script> without runat="server", and <style>: not VBScript. A server
    // block inside one is a region of its own that splits it.
    ClientScript,
    Include,  // <!--#include file="..."-->
};

struct PageRegion {
    RegionKind kind;
    size_t begin, end;          // the whole region, delimiters included
    size_t codeBegin, codeEnd;  // inside the delimiters (an Html region: all of it)
};

struct IncludeDirective {
    size_t begin, end;          // from "<!--" to after "-->"
    size_t pathBegin, pathEnd;  // the path as written, without its quotes
    int line;                   // of "<!--", from 1
    IncludeKind kind;
    std::string path;
};

enum class ProcedureKind { Function, Sub, Class, PropertyGet, PropertyLet, PropertySet };

// A procedure outside any class, or a class with its members. Its range runs
// from its line's start (from its first word when other text precedes it on
// that line) to after the line break of its End line (to right after the end
// keyword when more than blanks and a comment follow it), and takes in any
// HTML between the server blocks it spans.
struct Procedure {
    ProcedureKind kind;
    std::string name;  // as written: "Foo", "[set]"
    std::string head;  // "Public Function Foo(a, b)": its statement, without a comment
    size_t begin, end;
    int line;  // of the head's first word
};

enum class PageProblemKind {
    UnterminatedBlock,      // "<%" without "%>": the rest of the page is that block
    UnterminatedElement,    // <script> or <style> without its end tag
    MalformedInclude,       // "<!-- #include" without a usable path or "-->": left as text
    UnterminatedProcedure,  // a head without its End: not listed
    UnmatchedEnd,           // "End Sub" with no procedure open
    MismatchedEnd,          // "Function" closed by "End Sub": listed all the same
};

struct PageProblem {
    PageProblemKind kind;
    size_t offset;
    int line;
    std::string message;  // UTF-8, for the user
};

struct PageStructure {
    std::vector<PageRegion> regions;  // in order, covering the page without gaps
    std::vector<IncludeDirective> includes;
    std::vector<Procedure> procedures;  // in order
    std::vector<PageProblem> problems;  // in the order found
};

// Never throws on any bytes; linear in the page's size.
PageStructure ScanPageStructure(std::string_view page, bool gbk);

// A file of VBScript alone (".vbs", in any case), which the server includes
// as code: it has no HTML around its code.
bool IsVBScriptFile(const std::filesystem::path &file);

// ScanPageStructure for such a file: its bytes are read as if a server block
// opened before them, at their own offsets.
PageStructure ScanScriptFileStructure(std::string_view code, bool gbk);

// The page with every byte outside the code of Script and ServerScript
// regions replaced by a blank, line breaks kept, for the line-based
// declaration scan. The code of an expression is blanked as well: it declares
// nothing, and on a line with a Dim it would read as more names.
std::string VBScriptOnly(std::string_view page, const PageStructure &s);

}  // namespace qasp
