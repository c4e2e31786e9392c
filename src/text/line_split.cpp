#include "text/line_split.h"

namespace qasp {

bool FileLineReader::Next(std::string &line)
{
    line.clear();
    size_t i = pos_;
    for (; i < bytes_.size() && bytes_[i] != 26; ++i) {
        const char c = bytes_[i];
        if (c == '\n') {
            pos_ = i + 1;
            return true;
        }
        if (c != '\r')  // before LF part of the line end, alone dropped
            line.push_back(c);
    }
    // The bytes end here or at a Ctrl-Z: a line that has started is the last.
    const bool started = i > pos_;
    pos_ = bytes_.size();
    return started;
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
