#include "editor/builtin_vocabulary.h"

#include "editor/key_type.h"
#include "text/byte_string.h"
#include "text/gbk_codec.h"
#include "text/line_split.h"

#include <stdexcept>

// Generated at build time from resources/vocabulary/.
extern const char kKeyMainTsv[];
extern const unsigned long kKeyMainTsvSize;
extern const char kKeyFunctionTsv[];
extern const unsigned long kKeyFunctionTsvSize;

namespace qasp {

std::vector<KeywordRow> ParseVocabulary(std::string_view utf8Text, int keyType)
{
    std::vector<KeywordRow> rows;
    const std::vector<std::string_view> lines = SplitTextLines(utf8Text);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string line = Trim(lines[i]);
        if (line.empty() || line[0] == '#')
            continue;
        const size_t tab = lines[i].find('\t');
        if (tab == std::string_view::npos)
            throw std::runtime_error("vocabulary line " + std::to_string(i + 1) + " has no tab");
        const std::string name = Trim(lines[i].substr(0, tab));
        const std::string hint = Trim(lines[i].substr(tab + 1));
        if (name.empty())
            throw std::runtime_error("vocabulary line " + std::to_string(i + 1) + " has no name");
        rows.push_back({Utf8ToGbk(name), Utf8ToGbk(hint), keyType});
    }
    return rows;
}

const std::vector<VocabularyTable> &BuiltinVocabulary()
{
    static const std::vector<VocabularyTable> tables = {
        {"key_main", ParseVocabulary({kKeyMainTsv, kKeyMainTsvSize}, kKeyword)},
        {"key_function", ParseVocabulary({kKeyFunctionTsv, kKeyFunctionTsvSize}, kBuiltinFunction)},
    };
    return tables;
}

}  // namespace qasp
