// Arbitrary bytes as a skin stream, and (to reach the container's own
// checks) as a container packed by the encoder; every entry is then read.
#include "skin/data/lzh.h"
#include "skin/data/skin_reader.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view input(reinterpret_cast<const char *>(data) + 1, size - 1);
    qasp::skin::TSkinReader reader;
    reader.MaxDecodedSize = 1 << 20;  // keeps each run short; larger claims are refused the same way
    const bool read = (data[0] & 1) ? reader.ReadSkin(qasp::skin::LzhEncode(input)) : reader.ReadSkin(input);
    if (read) {
        for (const std::string &name : reader.Names())
            reader.ExtractEntry(name);
        std::string found;
        reader.ExtractFirstMatch(".ini", found);
    }
    return 0;
}
