// The position tables of LZHUF: the upper six bits of a match position are
// coded in 3 to 8 bits; d_code/d_len decode a byte, p_code/p_len encode.
#pragma once

#include <array>
#include <cstdint>

namespace qasp::skin {

struct PositionTables {
    std::array<uint8_t, 256> d_code{}, d_len{};
    std::array<uint8_t, 64> p_code{}, p_len{};

    constexpr PositionTables()
    {
        // Bytes 0x00-0x1F code position 0 in 3 bits; then 3 codes of 16 bytes
        // in 4 bits, 8 of 8 in 5, 12 of 4 in 6, 24 of 2 in 7, 16 of 1 in 8.
        struct Band {
            int codes, bytesEach, bits;
        };
        constexpr Band bands[] = {{1, 32, 3}, {3, 16, 4}, {8, 8, 5}, {12, 4, 6}, {24, 2, 7}, {16, 1, 8}};
        int byte = 0, code = 0;
        for (const Band &band : bands)
            for (int c = 0; c < band.codes; ++c, ++code) {
                p_code[code] = static_cast<uint8_t>(byte);
                p_len[code] = static_cast<uint8_t>(band.bits);
                for (int b = 0; b < band.bytesEach; ++b, ++byte) {
                    d_code[byte] = static_cast<uint8_t>(code);
                    d_len[byte] = static_cast<uint8_t>(band.bits);
                }
            }
    }
};

inline constexpr PositionTables kPositionTables{};

}  // namespace qasp::skin
