#include "editor/declaration_scan.h"

#include "editor/keyword_store.h"
#include "text/byte_string.h"
#include "text/gbk_codec.h"
#include "text/gbk.h"
#include "text/line_split.h"

#include <stdexcept>
#include <string>
#include <unordered_set>
#include <vector>

namespace qasp {
namespace {

// The hints, in the store's code page.
const std::string kVariableHint = Utf8ToGbk("变量");
const std::string kArrayHint = Utf8ToGbk("数组上限:");
const std::string kConstantValueHint = Utf8ToGbk("常量值:");
const std::string kConstantHint = Utf8ToGbk("常量");

// The separators looked for here (',', '(', ')', '=', '"') are all below
// 0x40 and so never the second byte of a GBK character: plain finds are safe.

// Splits "a, b(10), c" into trimmed items; `rest` keeps what follows the last
// comma, untrimmed, as the working text the next test sees. One erase at the
// end: erasing each item off the front was quadratic on a long Dim line.
void SplitItems(std::string &rest, std::vector<std::string> &items)
{
    size_t from = 0;
    for (size_t comma; (comma = rest.find(',', from)) != std::string::npos; from = comma + 1)
        items.push_back(Trim(std::string_view(rest).substr(from, comma - from)));
    rest.erase(0, from);
    items.push_back(Trim(rest));
}

// The value without its first and last character, the last one taken as a
// whole GBK character.
std::string DropOuterCharacters(const std::string &value)
{
    if (value.size() < 2)
        return {};
    const size_t lastStart = GbkPreviousCharStart(value, 0, value.size());
    if (lastStart == 0)
        return {};
    const size_t firstLength = GbkCharLength(value, 0);
    return lastStart > firstLength ? value.substr(firstLength, lastStart - firstLength) : "";
}

void WriteConstant(KeywordStore &store, KeywordTable table, const std::string &declaration, int keyType)
{
    const size_t eq = declaration.find('=');
    if (eq == std::string::npos) {
        store.ReplaceKeyword(table, declaration, kConstantHint, keyType);
        return;
    }
    const std::string name = Trim(std::string_view(declaration).substr(0, eq));
    std::string value = Trim(std::string_view(declaration).substr(eq + 1));
    if (value.find('"') != std::string::npos)
        value = DropOuterCharacters(value);
    store.ReplaceKeyword(table, name, kConstantValueHint + value, keyType);
}

// The name an item declares: an array's without its bound.
std::string_view DeclaredName(std::string_view item)
{
    return item.substr(0, item.find('('));
}

void WriteDeclaredItem(KeywordStore &store, KeywordTable table, const std::string &item, int keyType)
{
    const size_t open = item.find('(');
    if (open == std::string::npos) {
        store.ReplaceKeyword(table, item, kVariableHint, keyType);
        return;
    }
    // The bound runs to the first ')' after the '('; the first piece of a
    // two-dimensional array has none, and keeps the text up to its comma.
    const size_t close = item.find(')', open);
    const size_t end = close == std::string::npos ? item.size() : close;
    store.ReplaceKeyword(table, item.substr(0, open), kArrayHint + item.substr(open + 1, end - open - 1),
                         keyType);
}

}  // namespace

void ScanDeclarations(KeywordStore &store, KeywordTable table, std::string_view text)
{
    if (table != KeywordTable::Public && table != KeywordTable::Other)
        throw std::invalid_argument("declarations are scanned into key_public or key_other, not "
                                    + std::string(KeywordTableName(table)));
    KeywordStore::Batch batch(store);
    int base = 2;
    if (table == KeywordTable::Other) {
        store.ClearLocals();
        base = 4;
    }
    if (Trim(text).empty()) {
        batch.Commit();
        return;
    }

    std::vector<std::string> items;
    for (std::string_view line : SplitTextLines(text)) {
        std::string work = Trim(line);
        if (StartsWithNoCase(work, "dim ")) {
            work.erase(0, 4);
            SplitItems(work, items);
        }
        if (StartsWithNoCase(work, "function ") && work.find('(') != std::string::npos) {
            work.erase(0, work.find('(') + 1);
            const size_t close = work.find(')');
            if (close != std::string::npos)
                work.erase(close, 1);
            work = Trim(work);
            SplitItems(work, items);
        }
        if (StartsWithNoCase(work, "const ")) {
            work.erase(0, 6);
            WriteConstant(store, table, work, base + 1);
        }
    }
    // Each name is written once, at its last declaration: the store keeps
    // only the row written last for a name (names match without letter
    // case), so a line declaring one name thousands of times is one write.
    std::vector<bool> last(items.size());
    std::unordered_set<std::string> seen;
    for (size_t i = items.size(); i-- > 0;)
        last[i] = seen.insert(LowerAscii(DeclaredName(items[i]))).second;
    for (size_t i = 0; i < items.size(); ++i)
        if (last[i])
            WriteDeclaredItem(store, table, items[i], base);
    batch.Commit();
}

}  // namespace qasp
