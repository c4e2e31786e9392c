#include "text/gbk_codec.h"

#include "text/gbk.h"

#include <cstdint>
#include <vector>

namespace qasp {
namespace {

#include "gbk_tables.inc"  // kGbkSingle, kGbkPair: made by tools/gbk_tables

// Decoding reads the tables the build made from the C library's converter;
// the encoding table is their inverse, made on first use.
char16_t SingleChar(unsigned char b)
{
    return kGbkSingle[b - 0x80];
}

char16_t PairChar(unsigned char lead, unsigned char trail)
{
    return kGbkPair[(lead - 0x81) * 191 + (trail - 0x40)];
}

const std::vector<uint16_t> &Reverse()
{
    static const std::vector<uint16_t> reverse = [] {
        std::vector<uint16_t> r(65536, 0);  // code unit -> bytes
        for (unsigned b = 0x80; b <= 0xFF; ++b)
            if (const char16_t u = SingleChar(static_cast<unsigned char>(b)))
                r[u] = static_cast<uint16_t>(b);
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead)
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail)
                if (IsGbkTrailByte(static_cast<unsigned char>(trail)))
                    if (const char16_t u =
                            PairChar(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)))
                        r[u] = static_cast<uint16_t>(lead << 8 | trail);
        return r;
    }();
    return reverse;
}

void AppendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Each UTF-16 code unit the bytes decode to, in order.
template <typename Take> void ForEachUnit(std::string_view bytes, Take take)
{
    size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            take(static_cast<char16_t>(b));
            ++i;
            continue;
        }
        if (GbkCharLength(bytes, i) == 2) {
            const auto trail = static_cast<unsigned char>(bytes[i + 1]);
            if (const char16_t u = PairChar(b, trail)) {
                take(u);
            } else {
                take(static_cast<char16_t>(kEscapeBase + b - 0x80));
                take(static_cast<char16_t>(trail < 0x80 ? trail : kEscapeBase + trail - 0x80));
            }
            i += 2;
            continue;
        }
        const char16_t u = SingleChar(b);
        take(u ? u : static_cast<char16_t>(kEscapeBase + b - 0x80));
        ++i;
    }
}

}  // namespace

std::u16string DecodeGbk(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    ForEachUnit(bytes, [&out](char16_t u) { out += u; });
    return out;
}

std::string EncodeGbk(std::u16string_view text, bool *lossy)
{
    const std::vector<uint16_t> &reverse = Reverse();
    std::string out;
    out.reserve(text.size() * 2);
    bool lost = false;
    for (const char16_t u : text) {
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u >= kEscapeBase && u <= kEscapeBase + 0x7F) {
            out += static_cast<char>(u - kEscapeBase + 0x80);
        } else if (const uint16_t g = reverse[u]) {
            if (g > 0xFF)
                out += static_cast<char>(g >> 8);
            out += static_cast<char>(g & 0xFF);
        } else {
            out += '?';
            lost = true;
        }
    }
    if (lossy)
        *lossy = lost;
    return out;
}

std::vector<size_t> InvalidGbkOffsets(std::string_view bytes, size_t limit, size_t *count)
{
    std::vector<size_t> offsets;
    size_t found = 0;
    for (size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const size_t length = b < 0x80 ? 1 : GbkCharLength(bytes, i);
        const bool valid = b < 0x80
                           || (length == 2 ? PairChar(b, static_cast<unsigned char>(bytes[i + 1])) != 0
                                           : SingleChar(b) != 0);
        if (!valid) {
            ++found;
            if (offsets.size() < limit)
                offsets.push_back(i);
        }
        i += length;
    }
    if (count)
        *count = found;
    return offsets;
}

size_t EncodedLength(char16_t u)
{
    if (u < 0x80 || (u >= kEscapeBase && u <= kEscapeBase + 0x7F))
        return 1;
    const uint16_t g = Reverse()[u];
    return g > 0xFF ? 2 : 1;  // a single byte, or '?' for what cannot be encoded
}

std::string GbkToUtf8(std::string_view bytes)
{
    // Straight to UTF-8: no UTF-16 copy of the whole text on the way.
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    ForEachUnit(bytes, [&out](char16_t u) { AppendUtf8(out, u); });
    return out;
}

std::string Utf8ToGbk(std::string_view utf8, bool *lossy)
{
    std::u16string text;
    bool bad = false;
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + extra >= utf8.size() + (extra == 0 ? 1 : 0)) {
            text += u'?';
            bad = true;
            ++i;
            continue;
        }
        char32_t c = extra == 0 ? b : (b & (0x3F >> extra));
        for (int k = 1; k <= extra; ++k)
            c = c << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += extra + 1;
        if (c > 0xFFFF) {
            text += u'?';
            bad = true;
        } else {
            text += static_cast<char16_t>(c);
        }
    }
    bool lost = false;
    std::string out = EncodeGbk(text, &lost);
    if (lossy)
        *lossy = bad || lost;
    return out;
}

}  // namespace qasp
