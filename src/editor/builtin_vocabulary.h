// The VBScript and ASP vocabulary the program ships, compiled in from
// resources/vocabulary/*.tsv (UTF-8 there, code page 936 here).
#pragma once

#include "editor/keyword_snapshot.h"

#include <string_view>
#include <utility>
#include <vector>

namespace qasp {

struct VocabularyTable {
    std::string_view table;  // "key_main" or "key_function"
    std::vector<KeywordRow> rows;
};

const std::vector<VocabularyTable> &BuiltinVocabulary();

// Rows of one "name<TAB>hint" text; '#' lines and blank lines are skipped.
// Throws std::runtime_error naming the line of a malformed row.
std::vector<KeywordRow> ParseVocabulary(std::string_view utf8Text, int keyType);

}  // namespace qasp
