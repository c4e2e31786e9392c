// Any text as a skin description: every section's keys read as strings,
// integers and colours.
#include "skin/data/quick_ini.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    qasp::skin::TQuickIni ini;
    ini.Load(text);
    for (const std::string &section : ini.ReadSections()) {
        for (const std::string &line : ini.Lines()) {
            const std::string key = line.substr(0, line.find('='));
            ini.ReadString(section, key, "");
            ini.ReadInteger(section, key, 0);
            ini.ReadColour(section, key, 0);
        }
        int32_t colour = 0;
        ini.ReadRGB(section, "ActiveText", colour);
    }
    qasp::skin::ParseRGB(text);
    return 0;
}
