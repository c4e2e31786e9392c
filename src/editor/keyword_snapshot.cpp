#include "editor/keyword_snapshot.h"

#include "text/byte_string.h"

#include <algorithm>
#include <numeric>

namespace qasp {

KeywordSnapshot::KeywordSnapshot(std::vector<KeywordRow> rows)
{
    std::vector<std::string> folded;
    folded.reserve(rows.size());
    for (const KeywordRow &r : rows)
        folded.push_back(LowerAscii(r.name));
    std::vector<size_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (folded[a] != folded[b])
            return folded[a] < folded[b];
        return rows[a].name < rows[b].name;
    });
    rows_.reserve(rows.size());
    folded_.reserve(rows.size());
    for (size_t i : order) {
        rows_.push_back(std::move(rows[i]));
        folded_.push_back(std::move(folded[i]));
    }
}

bool KeywordSnapshot::ReplaceRowsOf(const std::string &folded, std::vector<KeywordRow> rows)
{
    // Rows of one folded name stand in the order of their spelling, as the
    // whole snapshot is built.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const KeywordRow &a, const KeywordRow &b) { return a.name < b.name; });
    const auto [first, last] = std::equal_range(folded_.begin(), folded_.end(), folded);
    const auto at = rows_.begin() + (first - folded_.begin());
    if (std::equal(at, at + (last - first), rows.begin(), rows.end()))
        return false;
    const auto place = first - folded_.begin();
    rows_.erase(at, at + (last - first));
    folded_.erase(first, last);
    folded_.insert(folded_.begin() + place, rows.size(), folded);
    rows_.insert(rows_.begin() + place, std::make_move_iterator(rows.begin()),
                 std::make_move_iterator(rows.end()));
    return true;
}

int KeywordSnapshot::LookupKeyword(std::string &name) const
{
    const std::string key = LowerAscii(name);
    const auto [first, last] = std::equal_range(folded_.begin(), folded_.end(), key);
    if (last - first != 1)
        return -1;
    const KeywordRow &row = rows_[first - folded_.begin()];
    name = row.name;
    return row.type;
}

std::vector<const KeywordRow *> KeywordSnapshot::ListKeywords(std::string_view prefix) const
{
    const std::string key = LowerAscii(prefix);
    std::vector<const KeywordRow *> out;
    for (auto it = std::lower_bound(folded_.begin(), folded_.end(), key);
         it != folded_.end() && it->compare(0, key.size(), key) == 0; ++it)
        out.push_back(&rows_[it - folded_.begin()]);
    return out;
}

}  // namespace qasp
