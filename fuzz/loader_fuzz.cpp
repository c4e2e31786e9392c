// Random bytes as a project of up to three files, split at "\n--FILE--\n":
// index.asp, a.asp and inc/b.asp.
#include "load_and_write.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const char *names[] = {"index.asp", "a.asp", "inc/b.asp"};
    size_t start = 0;
    for (const char *name : names) {
        const size_t split = input.find("\n--FILE--\n", start);
        const std::string_view part =
            input.substr(start, split == std::string_view::npos ? std::string_view::npos : split - start);
        qasp::fuzz::WriteScratch(name, part);
        start = split == std::string_view::npos ? input.size() : split + 10;
    }
    qasp::fuzz::LoadAndWrite();
    return 0;
}
