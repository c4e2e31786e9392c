#include "text/line_breaks.h"

#include <algorithm>
#include <vector>

namespace qasp {
namespace {

// A line of a text: its content and the bytes that end it (empty for a
// last line without a break).
struct Line {
    std::string_view content;
    std::string_view end;
};

std::vector<Line> SplitKeepingEnds(std::string_view text)
{
    std::vector<Line> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        const size_t length = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
        lines.push_back({text.substr(start, i - start), text.substr(i, length)});
        i += length - 1;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back({text.substr(start), {}});
    return lines;
}

std::string_view BreakOf(LineEnds style)
{
    switch (style) {
    case LineEnds::Lf: return "\n";
    case LineEnds::Cr: return "\r";
    default: return "\r\n";
    }
}

}  // namespace

std::string NormaliseLineBreaks(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 32);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string RestoreLineBreaks(std::string_view normalised, std::string_view original, LineEnds style)
{
    const std::vector<Line> now = SplitKeepingEnds(normalised);
    const std::vector<Line> was = SplitKeepingEnds(original);
    // Lines are the same when their content is and both end or both do not.
    const auto same = [](const Line &a, const Line &b) {
        return a.content == b.content && a.end.empty() == b.end.empty();
    };
    size_t head = 0;
    while (head < now.size() && head < was.size() && same(now[head], was[head]))
        ++head;
    size_t tail = 0;
    while (tail < now.size() - head && tail < was.size() - head
           && same(now[now.size() - 1 - tail], was[was.size() - 1 - tail]))
        ++tail;
    std::string out;
    out.reserve(normalised.size());
    for (size_t i = 0; i < now.size(); ++i) {
        out += now[i].content;
        if (now[i].end.empty())
            continue;
        if (i < head)
            out += was[i].end;
        else if (i >= now.size() - tail)
            out += was[was.size() - (now.size() - i)].end;
        else
            out += BreakOf(style);
    }
    return out;
}

}  // namespace qasp
