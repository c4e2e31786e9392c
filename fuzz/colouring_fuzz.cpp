// Any line coloured: no byte lost or added (words may change letter case to
// their stored spelling), and no run empty.
#include "editor/colouring.h"
#include "editor/keyword_store.h"
#include "text/byte_string.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static qasp::KeywordStore store(":memory:");
    const std::string_view line(reinterpret_cast<const char *>(data), size);
    std::string joined;
    for (const qasp::ColourRun &run : qasp::ColourLineRuns(line, store)) {
        if (run.text.empty())
            std::abort();
        joined += run.text;
    }
    if (qasp::LowerAscii(joined) != qasp::LowerAscii(qasp::TrimRight(line)))
        std::abort();
    qasp::ColourTextRuns(line, store);
    return 0;
}
