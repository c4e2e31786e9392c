#include "site/include_directive.h"

#include "site/page_text.h"
#include "text/byte_string.h"

namespace qasp {
namespace {

size_t SkipBlanks(std::string_view page, size_t i)
{
    while (i < page.size() && IsBlank(page[i]))
        ++i;
    return i;
}

IncludeReading Malformed(std::string problem)
{
    IncludeReading r;
    r.outcome = IncludeReading::Outcome::Malformed;
    r.problem = std::move(problem);
    return r;
}

bool EndsPath(char c)
{
    return c == '<' || c == '>' || c == '"' || c == '\'' || IsBlank(c);
}

}  // namespace

IncludeReading ReadIncludeDirective(std::string_view page, size_t at, bool gbk)
{
    const size_t n = page.size();
    size_t i = SkipBlanks(page, at + 4);
    if (!WordAt(page, i, "#include") || (i + 8 < n && IsWordByte(page[i + 8])))
        return {};
    i = SkipBlanks(page, i + 8);
    IncludeReading r;
    if (WholeWordAt(page, i, "file")) {
        r.kind = IncludeKind::File;
        i += 4;
    } else if (WholeWordAt(page, i, "virtual")) {
        r.kind = IncludeKind::Virtual;
        i += 7;
    } else {
        return Malformed("包含指令没有用 file= 或 virtual= 指明文件，按普通文本处理");
    }
    i = SkipBlanks(page, i);
    if (i >= n || page[i] != '=')
        return Malformed("包含指令的 file 或 virtual 后面缺少“=”，按普通文本处理");
    i = SkipBlanks(page, i + 1);
    if (i < n && (page[i] == '"' || page[i] == '\'')) {
        const char quote = page[i];
        r.pathBegin = ++i;
        while (i < n && page[i] != quote && page[i] != '<' && page[i] != '>' && !IsLineBreakByte(page[i]))
            i += PageCharLength(page, i, gbk);
        if (i >= n || page[i] != quote)
            return Malformed("包含指令的文件名缺少结尾的引号，按普通文本处理");
        r.pathEnd = i++;
    } else {
        r.pathBegin = i;
        while (i < n && !EndsPath(page[i]))
            i += PageCharLength(page, i, gbk);
        // file=x.asp--> : the "--" belongs to the end of the comment.
        if (i < n && page[i] == '>' && i - r.pathBegin >= 2 && page.substr(i - 2, 2) == "--")
            i -= 2;
        r.pathEnd = i;
    }
    if (r.pathEnd == r.pathBegin)
        return Malformed("包含指令的文件名为空，按普通文本处理");
    i = SkipBlanks(page, i);
    if (page.substr(i, 3) != "-->")
        return Malformed("包含指令没有以“-->”结束，按普通文本处理");
    r.outcome = IncludeReading::Outcome::Directive;
    r.end = i + 3;
    return r;
}

}  // namespace qasp
