// The declarations of a VBScript text entered into the keyword store: the
// names of Dim lines, the parameters of a function head and the constants
// of Const lines. A line-by-line scan with fixed keyword prefixes, not a
// parser: its quirks (a two-dimensional array split at its inner comma,
// "dim" followed by a tab being no declaration) are the program's behaviour.
#pragma once

#include "editor/keyword_table.h"

#include <string_view>

namespace qasp {

class KeywordStore;

// Scans `text` into KeywordTable::Public (globals, key types 2 and 3) or
// KeywordTable::Other (locals, 4 and 5; the table is emptied first); any
// other table is refused with std::invalid_argument. The store is not
// refreshed; the whole scan is one transaction.
void ScanDeclarations(KeywordStore &store, KeywordTable table, std::string_view text);

}  // namespace qasp
