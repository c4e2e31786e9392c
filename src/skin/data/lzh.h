// LZHUF: LZSS over a 4096-byte ring buffer with an adaptive Huffman code of
// 314 symbols, the compression of skin streams. A stream is the decoded size
// as a little-endian int32 followed by the bit stream.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qasp::skin {

// The decoder's errors; they carry only their message.
struct ElzhException : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class TLZH {
public:
    static constexpr int N = 4096;
    static constexpr int F = 60;
    static constexpr int THRESHOLD = 2;
    static constexpr int N_CHAR = 256 - THRESHOLD + F;  // 314
    static constexpr int T = N_CHAR * 2 - 1;            // 627
    static constexpr int R = T - 1;                     // 626
    static constexpr unsigned MAX_FREQ = 0x8000;

    // Up to `requested` bytes into `buffer`; returns how many (0 at the end).
    using ReadBlock = std::function<uint16_t(uint8_t *buffer, uint16_t requested)>;
    using WriteBlock = std::function<void(const uint8_t *buffer, uint16_t count)>;

    // Decodes symbols until `decodedSize` bytes have been written (a match is
    // always written whole). Missing input reads as zero bits.
    void Decode(int32_t decodedSize, const ReadBlock &read, const WriteBlock &write);
};

// A whole stream, size first, decoded; `limit` caps the size it may claim.
std::string LzhDecode(std::string_view stream, size_t limit = 64u << 20);

// The matching encoder (the program only decodes; tools and tests encode).
std::string LzhEncode(std::string_view data);

}  // namespace qasp::skin
