// Synthetic but realistic VBScript for the benchmarks: declarations, calls,
// strings with Chinese text, comments and blank lines, in GBK with CR LF.
#pragma once

#include <string>

namespace qasp::bench {

inline std::string GeneratedVBScript(int lines)
{
    static const char *const pattern[] = {
        "Function ShowItem%d(id, title)",
        "\tDim rs, sql, i, arr%d(10)",
        "\t' \xB6\xC1\xC8\xA1\xBC\xC7\xC2\xBC %d",  // 读取记录
        "\tsql = \"select * from news where id=\" & CInt(id) & \" order by %d\"",
        "\tSet rs = Server.CreateObject(\"ADODB.Recordset\")",
        "\tIf Not IsNumeric(id) Then Response.Write \"\xB4\xED\xCE\xF3\" : Exit Function",  // 错误
        "\tFor i = 0 To UBound(arr%d) Step 2",
        "\t\tResponse.Write Left(Trim(title), 20) & \"<br>\" & vbCrLf",
        "\tNext",
        "",
        "\tShowItem%d = Replace(title, \"\"\"\", \"&quot;\") ' quotes",
        "End Function",
    };
    constexpr int n = sizeof pattern / sizeof *pattern;
    std::string text;
    char buf[256];
    for (int i = 0; i < lines; ++i) {
        std::snprintf(buf, sizeof buf, pattern[i % n], i / n);
        if (i)
            text += "\r\n";
        text += buf;
    }
    return text;
}

// A page of `lines` lines: HTML (tags, attributes, entities, a comment,
// client script) around <% %> blocks of the VBScript above, GBK with CR LF.
inline std::string GeneratedAspPage(int lines)
{
    static const char *const html[] = {
        R"(<div class="news" id="item%d">)",
        "  <a href=\"show.asp?id=<%%= id %%>&amp;p=%d\" title='\xD0\xC2\xCE\xC5'>\xD0\xC2\xCE\xC5 &nbsp;</a>",
        "  <!-- \xC1\xD0\xB1\xED %d -->",
        R"(<script type="text/javascript">var n%d = 1; if (n < 2) { n++; }</script>)",
        "</div>",
        "<%%",
    };
    constexpr int n = sizeof html / sizeof *html;
    const std::string script = GeneratedVBScript(12);
    std::string text;
    char buf[256];
    for (int i = 0; i < lines;) {
        for (int k = 0; k < n && i < lines; ++k, ++i) {
            std::snprintf(buf, sizeof buf, html[k], i);
            if (i)
                text += "\r\n";
            text += buf;
        }
        for (size_t start = 0; i < lines; ++i) {
            const size_t br = script.find("\r\n", start);
            text += "\r\n";
            text.append(script, start, br == std::string::npos ? std::string::npos : br - start);
            if (br == std::string::npos)
                break;
            start = br + 2;
        }
        if (++i < lines)
            text += "\r\n%>";
    }
    return text;
}

// One file of a generated project of `files` files: the root includes all
// the others; each declares globals and holds `functions` functions.
struct ProjectShape {
    int files = 500;
    int functions = 10;  // per file
    int dimLines = 10;   // two names each
    int bodyLines = 88;  // between the declarations and the functions
    int functionLines = 28;
};

inline std::string GeneratedProjectFile(int f, const ProjectShape &shape)
{
    std::string text;
    if (f == 0)
        for (int i = 1; i < shape.files; ++i)
            text += "<!--#include file=\"inc" + std::to_string(i) + ".asp\"-->\r\n";
    text += "<%\r\n";
    for (int d = 0; d < shape.dimLines; ++d)
        text += "Dim g" + std::to_string(f) + "_" + std::to_string(d) + "a, g" + std::to_string(f) + "_"
                + std::to_string(d) + "b(10)\r\n";
    for (int l = 0; l < shape.bodyLines; ++l)
        text += "Response.Write \"\xD0\xD0 " + std::to_string(l) + "\" & g" + std::to_string(f) + "_0a\r\n";
    for (int fn = 0; fn < shape.functions; ++fn) {
        text += "Function F" + std::to_string(f) + "_" + std::to_string(fn) + "(a, b)\r\n";
        for (int l = 0; l < shape.functionLines; ++l)
            text += "\tIf a > " + std::to_string(l) + " Then b = b & \"x\" ' step\r\n";
        text += "End Function\r\n";
    }
    return text + "%>\r\n";
}

inline std::string GeneratedProjectFileName(int f)
{
    return f == 0 ? "index.asp" : "inc" + std::to_string(f) + ".asp";
}

}  // namespace qasp::bench
