#include "editor/changed_lines.h"

#include <algorithm>

namespace qasp {

std::optional<TextEdit> EditOfChangedLines(std::string_view before, const ChangedLines &changed)
{
    if (changed.before != before.size() || changed.head > before.size()
        || changed.tail > before.size() - changed.head)
        return std::nullopt;
    const std::string_view middle = changed.bytes;
    const size_t replaced = before.size() - changed.head - changed.tail;
    const size_t afterSize = changed.head + middle.size() + changed.tail;
    const auto after = [&](size_t i) {
        if (i < changed.head)
            return before[i];
        if (i < changed.head + middle.size())
            return middle[i - changed.head];
        return before[i - middle.size() + replaced];
    };
    // As DiffTexts: the longest common head, then the longest common tail
    // that leaves it alone. The reported head and tail are common already;
    // the comparison goes on past them only while the bytes agree.
    const size_t shorter = std::min(before.size(), afterSize);
    size_t head = changed.head;
    while (head < shorter && before[head] == after(head))
        ++head;
    const size_t limit = shorter - head;
    size_t tail = std::min(changed.tail, limit);
    while (tail < limit && before[before.size() - 1 - tail] == after(afterSize - 1 - tail))
        ++tail;
    TextEdit edit{head, std::string(before.substr(head, before.size() - head - tail)), {}};
    edit.inserted.reserve(afterSize - head - tail);
    for (size_t i = head; i < afterSize - tail; ++i)
        edit.inserted += after(i);
    return edit;
}

}  // namespace qasp
