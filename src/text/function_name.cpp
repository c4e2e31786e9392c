#include "text/function_name.h"

#include "text/byte_string.h"

namespace qasp {

namespace {

// The trimmed line without its leading Public, Private and Default words:
// "Public Default Function" and "Private Sub" name their procedure as plain
// "Function" does.
std::string WithoutModifiers(std::string_view line)
{
    std::string s = Trim(line);
    for (std::string_view modifier : {"public ", "private ", "default "})
        if (StartsWithNoCase(s, modifier))
            s = Trim(std::string_view(s).substr(modifier.size()));
    return s;
}

}  // namespace

std::string ExtractFunctionName(std::string_view text, bool nameOnly)
{
    std::string s = WithoutModifiers(text);
    for (std::string_view keyword : {"function ", "sub "})
        if (StartsWithNoCase(s, keyword)) {
            s.erase(0, keyword.size());
            break;
        }
    if (nameOnly) {
        // '(' is ASCII below every GBK trail byte, so a plain find is safe.
        const size_t paren = s.find('(');
        if (paren != std::string::npos)
            s.erase(paren);
    }
    return Trim(s);
}

bool IsProcedureHead(std::string_view line)
{
    const std::string s = LowerAscii(WithoutModifiers(line));
    return s.starts_with("function ") || s.starts_with("sub ") || s == "function" || s == "sub";
}

std::string_view FirstLineOf(std::string_view text)
{
    // '%', '\'' and line breaks are below every GBK trail byte, and a
    // string on a head line holds no quote of a comment.
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"')
            inString = !inString;
        else if (c == '\r' || c == '\n'
                 || (!inString && (c == '\'' || (c == '%' && i + 1 < text.size() && text[i + 1] == '>'))))
            return text.substr(0, i);
    }
    return text;
}

}  // namespace qasp
