// Any text scanned into both tables.
#include "editor/declaration_scan.h"
#include "editor/keyword_store.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static qasp::KeywordStore store(":memory:");
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    store.ClearProjectNames();
    qasp::ScanDeclarations(store, qasp::KeywordTable::Public, text);
    qasp::ScanDeclarations(store, qasp::KeywordTable::Other, text);
    store.RefreshKeywords();
    return 0;
}
