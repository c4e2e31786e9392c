// The skin description's INI reader: the text kept as trimmed lines, the
// section headers indexed, keys looked up on demand. Section and key names
// compare without regard to ASCII case; the first of duplicates decides.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qasp::skin {

// 0x00BBGGRR from "R G B" (three decimal numbers; any non-digit separates).
int32_t ParseRGB(std::string_view text);

class TQuickIni {
public:
    void Load(std::string_view text);

    // The index in Lines() of the section's header line, or -1.
    int SectionLine(std::string_view name) const;
    std::vector<std::string> ReadSections() const;

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // Decimal, or hexadecimal after "$" or "0x"; the default when it does not convert.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
    int32_t ReadColour(std::string_view section, std::string_view key, int32_t defaultValue) const;
    // prefix + "R", "G", "B": the colour changes only when all three are given.
    void ReadRGB(std::string_view section, std::string_view prefix, int32_t &colour) const;

    const std::vector<std::string> &Lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
    std::vector<std::pair<std::string, int>> sections_;  // header line as written, its index
};

// A Delphi-style integer: optional sign, decimal digits or "$" and hex digits.
bool ConvertInteger(std::string_view text, int32_t &value);

}  // namespace qasp::skin
