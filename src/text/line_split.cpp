#include "text/line_split.h"

namespace qasp {

std::vector<std::string> SplitFileLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    std::string line;
    bool open = false;  // a line has started and is not yet ended
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == 26)
            break;
        if (c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            open = false;
            continue;
        }
        open = true;
        if (c == '\r' && !(i + 1 < bytes.size() && bytes[i + 1] == '\n'))
            continue;
        if (c != '\r')
            line.push_back(c);
    }
    if (open)
        lines.push_back(std::move(line));
    return lines;
}

std::vector<std::string_view> SplitTextLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(text.substr(start, i - start));
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

std::string JoinCrLf(const std::vector<std::string> &lines)
{
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i)
            out += "\r\n";
        out += lines[i];
    }
    return out;
}

}  // namespace qasp
