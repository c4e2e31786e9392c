// The in-memory snapshot of all keyword rows that colouring and completion
// read. It changes only when the store refreshes it, so rows written in the
// meantime stay invisible until then. Rows are kept in one order, sorted by
// name without regard to ASCII case, which makes an exact look-up a binary
// search and a prefix listing one contiguous range.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qasp {

struct KeywordRow {
    std::string name;  // code page 936 bytes, the stored spelling
    std::string hint;  // empty when the stored hint is Null
    int type = 0;

    bool operator==(const KeywordRow &) const = default;
};

class KeywordSnapshot {
public:
    KeywordSnapshot() = default;
    explicit KeywordSnapshot(std::vector<KeywordRow> rows);

    // The key type of the one row named `name` (ASCII case ignored), and
    // `name` rewritten to its stored spelling; -1 with `name` untouched when
    // no row or more than one row carries the name.
    int LookupKeyword(std::string &name) const;

    // Rows whose name begins with `prefix` (ASCII case ignored), in row order.
    std::vector<const KeywordRow *> ListKeywords(std::string_view prefix) const;

    const std::vector<KeywordRow> &Rows() const { return rows_; }

    // Puts `rows`, all named `folded` without regard to ASCII case, in place
    // of the rows of that name; false when they are the rows already there.
    bool ReplaceRowsOf(const std::string &folded, std::vector<KeywordRow> rows);

private:
    std::vector<KeywordRow> rows_;
    std::vector<std::string> folded_;  // lower-cased names, parallel to rows_
};

}  // namespace qasp
