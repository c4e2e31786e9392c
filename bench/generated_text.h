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

}  // namespace qasp::bench
