#include "text/gbk_codec.h"

#include "text/gbk.h"

#include <array>
#include <iconv.h>
#include <memory>
#include <stdexcept>
#include <vector>

namespace qasp {
namespace {

// Both directions as tables, built once from the C library's converter so
// that the hot paths never call iconv.
struct CodeTables {
    std::array<char16_t, 256> single{};                               // 0 = not a character alone
    std::vector<char16_t> pair = std::vector<char16_t>(65536, 0);     // lead * 256 + trail
    std::vector<uint16_t> reverse = std::vector<uint16_t>(65536, 0);  // code unit -> bytes

    // One byte sequence to convert and where its character goes.
    struct Sequence {
        uint16_t bytes;  // lead << 8 | trail, or the single byte
        char16_t *slot;
    };

    CodeTables()
    {
        std::vector<Sequence> sequences;
        sequences.reserve(128 + 126 * 190);
        for (unsigned b = 0x80; b <= 0xFF; ++b)
            sequences.push_back({static_cast<uint16_t>(b), &single[b]});
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead)
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail)
                if (IsGbkTrailByte(static_cast<unsigned char>(trail)))
                    sequences.push_back(
                        {static_cast<uint16_t>(lead << 8 | trail), &pair[lead * 256 + trail]});
        ConvertAll(sequences);
        // Claimed in the order above: single bytes first, then pairs by lead and trail.
        for (const Sequence &s : sequences)
            Claim(*s.slot, s.bytes, s.slot);
    }

    // Every sequence followed by a NUL, converted in as few iconv calls as
    // the converter allows: each NUL in the output closes one sequence's
    // character, and a sequence the converter refuses stops the call, gets
    // no character and the next call starts after it. A character is kept
    // only where the sequence gave exactly one code unit of 0x80 or above.
    static void ConvertAll(const std::vector<Sequence> &sequences)
    {
        std::string input(sequences.size() * 3, '\0');
        std::vector<size_t> starts(sequences.size());
        size_t length = 0;
        for (size_t i = 0; i < sequences.size(); ++i) {
            starts[i] = length;
            if (sequences[i].bytes > 0xFF)
                input[length++] = static_cast<char>(sequences[i].bytes >> 8);
            input[length++] = static_cast<char>(sequences[i].bytes & 0xFF);
            input[length++] = '\0';
        }
        input.resize(length);
        iconv_t cd = iconv_open("UTF-16LE", "CP936");
        // NOLINTNEXTLINE(performance-no-int-to-ptr): iconv_open's documented failure value
        if (cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("the C library has no converter for code page 936");
        // Room for two code units and the NUL's per sequence, far more than any needs.
        std::vector<char> out(sequences.size() * 8);
        size_t next = 0;
        while (next < sequences.size()) {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            char *inp = input.data() + starts[next];
            size_t inLeft = input.size() - starts[next];
            char *outp = out.data();
            size_t outLeft = out.size();
            const bool stopped = iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1);
            const size_t units = (out.size() - outLeft) / 2;
            size_t first = 0;  // of the current sequence's units
            for (size_t k = 0; k < units && next < sequences.size(); ++k) {
                const char16_t u = static_cast<char16_t>(static_cast<unsigned char>(out[2 * k])
                                                         | static_cast<unsigned char>(out[2 * k + 1]) << 8);
                if (u != 0)
                    continue;
                const char16_t c =
                    static_cast<char16_t>(static_cast<unsigned char>(out[2 * first])
                                          | static_cast<unsigned char>(out[2 * first + 1]) << 8);
                *sequences[next++].slot = k - first == 1 && c >= 0x80 ? c : 0;
                first = k + 1;
            }
            if (!stopped)
                break;
            // The refused sequence, whatever part of it was written.
            if (next < sequences.size())
                *sequences[next++].slot = 0;
        }
        iconv_close(cd);
    }

    // A code unit decodes from one byte sequence only; a second sequence that
    // maps to it, or one that lands in the escape range, is kept as raw bytes.
    void Claim(char16_t u, uint16_t bytes, char16_t *slot)
    {
        if (u == 0)
            return;
        if (reverse[u] != 0 || (u >= kEscapeBase && u <= kEscapeBase + 0x7F)) {
            *slot = 0;
            return;
        }
        reverse[u] = bytes;
    }
};

const CodeTables &Tables()
{
    static const CodeTables tables;
    return tables;
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

}  // namespace

std::u16string DecodeGbk(std::string_view bytes)
{
    const CodeTables &t = Tables();
    std::u16string out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out += static_cast<char16_t>(b);
            ++i;
            continue;
        }
        if (GbkCharLength(bytes, i) == 2) {
            const auto trail = static_cast<unsigned char>(bytes[i + 1]);
            if (const char16_t u = t.pair[b * 256 + trail]) {
                out += u;
            } else {
                out += static_cast<char16_t>(kEscapeBase + b - 0x80);
                out += static_cast<char16_t>(trail < 0x80 ? trail : kEscapeBase + trail - 0x80);
            }
            i += 2;
            continue;
        }
        out += t.single[b] ? t.single[b] : static_cast<char16_t>(kEscapeBase + b - 0x80);
        ++i;
    }
    return out;
}

std::string EncodeGbk(std::u16string_view text, bool *lossy)
{
    const CodeTables &t = Tables();
    std::string out;
    out.reserve(text.size() * 2);
    bool lost = false;
    for (const char16_t u : text) {
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u >= kEscapeBase && u <= kEscapeBase + 0x7F) {
            out += static_cast<char>(u - kEscapeBase + 0x80);
        } else if (const uint16_t g = t.reverse[u]) {
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

size_t EncodedLength(char16_t u)
{
    if (u < 0x80 || (u >= kEscapeBase && u <= kEscapeBase + 0x7F))
        return 1;
    const uint16_t g = Tables().reverse[u];
    return g > 0xFF ? 2 : 1;  // a single byte, or '?' for what cannot be encoded
}

std::string GbkToUtf8(std::string_view bytes)
{
    const std::u16string text = DecodeGbk(bytes);
    std::string out;
    out.reserve(text.size() * 3);
    for (const char16_t unit : text)
        AppendUtf8(out, unit);
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
