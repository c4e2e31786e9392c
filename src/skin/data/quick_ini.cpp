#include "skin/data/quick_ini.h"

#include "text/byte_string.h"

namespace qasp::skin {
namespace {

bool IsHeader(std::string_view line)
{
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

}  // namespace

bool ConvertInteger(std::string_view text, int32_t &value)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const bool hex = i < text.size() && text[i] == '$';
    if (hex)
        ++i;
    if (i >= text.size())
        return false;
    uint64_t v = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        v = v * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
        if (v > (hex ? 0xFFFFFFFFull : 0x80000000ull))
            return false;
    }
    if (hex) {
        // Hexadecimal spells the 32 bits: $FFFFFFFF is -1.
        const auto bits = static_cast<int32_t>(static_cast<uint32_t>(v));
        value = negative ? -bits : bits;
        return true;
    }
    if (!negative && v > 0x7FFFFFFFull)
        return false;
    value = negative ? static_cast<int32_t>(-static_cast<int64_t>(v)) : static_cast<int32_t>(v);
    return true;
}

int32_t ParseRGB(std::string_view text)
{
    const std::string s = Trim(text);
    int32_t component[3] = {0, 0, 0};
    int index = 0;
    bool broken = false;  // a run too large stops all later stores
    std::string run;
    const auto store = [&] {
        if (run.empty())
            return;
        int32_t v = 0;
        if (!broken && index < 3) {
            if (ConvertInteger(run, v))
                component[index++] = v;
            else
                broken = true;
        }
        run.clear();
    };
    for (char c : s) {
        if (c >= '0' && c <= '9')
            run += c;
        else
            store();
    }
    if (!run.empty() && index == 2)
        store();
    return (component[0] & 0xFF) | (component[1] & 0xFF) << 8 | (component[2] & 0xFF) << 16;
}

void TQuickIni::Load(std::string_view text)
{
    lines_.clear();
    sections_.clear();
    const size_t end = std::min(text.find('\0'), text.size());
    size_t at = 0;
    while (at < end) {
        size_t stop = at;
        while (stop < end && text[stop] != '\r' && text[stop] != '\n')
            ++stop;
        const std::string line = Trim(text.substr(at, stop - at));
        at = stop;
        if (at < end && text[at] == '\r')
            ++at;
        if (at < end && text[at] == '\n')
            ++at;
        if (line.empty() || line[0] == ';')
            continue;
        if (IsHeader(line))
            sections_.emplace_back(line, static_cast<int>(lines_.size()));
        lines_.push_back(line);
    }
}

int TQuickIni::SectionLine(std::string_view name) const
{
    const std::string header = "[" + std::string(name) + "]";
    for (const auto &[text, index] : sections_)
        if (EqualsNoCase(text, header))
            return index;
    return -1;
}

std::vector<std::string> TQuickIni::ReadSections() const
{
    std::vector<std::string> names;
    for (const auto &[text, index] : sections_)
        names.push_back(Trim(std::string_view(text).substr(1, text.size() - 2)));
    return names;
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) const
{
    const int header = SectionLine(section);
    if (lines_.empty() || header < 0)
        return std::string(defaultValue);
    const std::string wanted = LowerAscii(key);
    for (size_t i = static_cast<size_t>(header) + 1; i < lines_.size() && !IsHeader(lines_[i]); ++i) {
        const std::string &line = lines_[i];
        const size_t eq = line.find('=');
        const std::string name =
            eq == std::string::npos ? std::string() : LowerAscii(Trim(std::string_view(line).substr(0, eq)));
        if (name != wanted)
            continue;
        const std::string value = Trim(std::string_view(line).substr(eq + 1));
        return value.empty() ? std::string(defaultValue) : value;
    }
    return std::string(defaultValue);
}

int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const
{
    std::string text = ReadString(section, key, "");
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.replace(0, 2, "$");
    int32_t value = 0;
    return ConvertInteger(text, value) ? value : defaultValue;
}

int32_t TQuickIni::ReadColour(std::string_view section, std::string_view key, int32_t defaultValue) const
{
    const std::string text = ReadString(section, key, "");
    return text.empty() ? defaultValue : ParseRGB(text);
}

void TQuickIni::ReadRGB(std::string_view section, std::string_view prefix, int32_t &colour) const
{
    const std::string p(prefix);
    const int32_t r = ReadInteger(section, p + "R", -1);
    const int32_t g = ReadInteger(section, p + "G", -1);
    const int32_t b = ReadInteger(section, p + "B", -1);
    if (r >= 0 && g >= 0 && b >= 0)
        colour = (r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16;
}

}  // namespace qasp::skin
