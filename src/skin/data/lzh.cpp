#include "skin/data/lzh.h"

#include "skin/data/lzh_tables.h"

#include <cstring>
#include <vector>

namespace qasp::skin {
namespace {

constexpr int N = TLZH::N, F = TLZH::F, THRESHOLD = TLZH::THRESHOLD, N_CHAR = TLZH::N_CHAR, T = TLZH::T,
              R = TLZH::R;

// The adaptive Huffman code tree: leaves T .. T + N_CHAR - 1 stand for the
// symbols, son[] points down, prnt[] up, freq[] keeps the nodes in order.
struct HuffmanTree {
    std::vector<uint16_t> freq = std::vector<uint16_t>(T + 1);
    std::vector<int16_t> prnt = std::vector<int16_t>(T + N_CHAR);
    std::vector<int16_t> son = std::vector<int16_t>(T);

    HuffmanTree()
    {
        for (int i = 0; i < N_CHAR; ++i) {
            freq[i] = 1;
            son[i] = static_cast<int16_t>(i + T);
            prnt[i + T] = static_cast<int16_t>(i);
        }
        for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
            freq[j] = static_cast<uint16_t>(freq[i] + freq[i + 1]);
            son[j] = static_cast<int16_t>(i);
            prnt[i] = prnt[i + 1] = static_cast<int16_t>(j);
        }
        freq[T] = 0xFFFF;
        prnt[R] = 0;
    }

    // At MAX_FREQ: the leaves with their frequencies halved (rounding up),
    // the inner nodes built again by ordered insertion.
    void Reconstruct()
    {
        int j = 0;
        for (int i = 0; i < T; ++i)
            if (son[i] >= T) {
                freq[j] = static_cast<uint16_t>((freq[i] + 1) / 2);
                son[j] = son[i];
                ++j;
            }
        for (int i = 0, j2 = N_CHAR; j2 < T; i += 2, ++j2) {
            const uint16_t f = freq[j2] = static_cast<uint16_t>(freq[i] + freq[i + 1]);
            int k = j2 - 1;
            while (f < freq[k])
                --k;
            ++k;
            std::memmove(&freq[k + 1], &freq[k], (j2 - k) * sizeof(freq[0]));
            freq[k] = f;
            std::memmove(&son[k + 1], &son[k], (j2 - k) * sizeof(son[0]));
            son[k] = static_cast<int16_t>(i);
        }
        for (int i = 0; i < T; ++i) {
            const int k = son[i];
            if (k >= T)
                prnt[k] = static_cast<int16_t>(i);
            else
                prnt[k] = prnt[k + 1] = static_cast<int16_t>(i);
        }
    }

    void Update(int c)
    {
        if (freq[R] == TLZH::MAX_FREQ)
            Reconstruct();
        c = prnt[c + T];
        do {
            const unsigned k = ++freq[c];
            int l = c + 1;
            if (k > freq[l]) {
                while (k > freq[++l]) {}
                --l;
                freq[c] = freq[l];
                freq[l] = static_cast<uint16_t>(k);
                const int i = son[c];
                prnt[i] = static_cast<int16_t>(l);
                if (i < T)
                    prnt[i + 1] = static_cast<int16_t>(l);
                const int j = son[l];
                son[l] = static_cast<int16_t>(i);
                prnt[j] = static_cast<int16_t>(c);
                if (j < T)
                    prnt[j + 1] = static_cast<int16_t>(c);
                son[c] = static_cast<int16_t>(j);
                c = l;
            }
        } while ((c = prnt[c]) != 0);
    }
};

// Bits most significant first from a 16-bit buffer, refilled a byte at a
// time whenever it holds 8 or fewer bits; the end of input gives zeros.
class BitReader {
public:
    explicit BitReader(const TLZH::ReadBlock &read) : read_(read) {}

    int Bit()
    {
        Fill();
        const int bit = (buffer_ & 0x8000) ? 1 : 0;
        buffer_ = static_cast<uint16_t>(buffer_ << 1);
        --count_;
        return bit;
    }
    int Byte()
    {
        Fill();
        const int byte = buffer_ >> 8;
        buffer_ = static_cast<uint16_t>(buffer_ << 8);
        count_ -= 8;
        return byte;
    }

private:
    void Fill()
    {
        while (count_ <= 8) {
            uint8_t b = 0;
            if (read_(&b, 1) != 1)
                b = 0;
            buffer_ = static_cast<uint16_t>(buffer_ | (b << (8 - count_)));
            count_ += 8;
        }
    }

    const TLZH::ReadBlock &read_;
    uint16_t buffer_ = 0;
    int count_ = 0;
};

// Bits most significant first into bytes; a partial last byte is padded
// with zero bits.
class BitWriter {
public:
    explicit BitWriter(std::string &out) : out_(out) {}
    void Bits(uint32_t value, int count)  // the `count` low bits of value, highest first
    {
        for (int i = count - 1; i >= 0; --i) {
            current_ = static_cast<uint8_t>(current_ << 1 | ((value >> i) & 1));
            if (++filled_ == 8) {
                out_ += static_cast<char>(current_);
                current_ = 0;
                filled_ = 0;
            }
        }
    }
    void Flush()
    {
        if (filled_)
            out_ += static_cast<char>(current_ << (8 - filled_));
        current_ = 0;
        filled_ = 0;
    }

private:
    std::string &out_;
    uint8_t current_ = 0;
    int filled_ = 0;
};

}  // namespace

void TLZH::Decode(int32_t decodedSize, const ReadBlock &read, const WriteBlock &write)
{
    HuffmanTree tree;
    std::vector<uint8_t> ring(N + F - 1, 0);
    std::memset(ring.data(), ' ', N - F);
    int r = N - F;
    BitReader bits(read);
    const auto put = [&](uint8_t byte) {
        write(&byte, 1);
        ring[r] = byte;
        r = (r + 1) & (N - 1);
    };
    for (int64_t count = 0; count < decodedSize;) {
        int c = tree.son[R];
        while (c < T)
            c = tree.son[c + bits.Bit()];
        c -= T;
        tree.Update(c);
        if (c < 256) {
            put(static_cast<uint8_t>(c));
            ++count;
            continue;
        }
        int i = bits.Byte();
        const int high = kPositionTables.d_code[i] << 6;
        for (int j = kPositionTables.d_len[i] - 2; j > 0; --j)
            i = (i << 1) + bits.Bit();
        const int position = high | (i & 0x3F);
        const int from = (r - position - 1) & (N - 1);
        const int length = c - 255 + THRESHOLD;
        for (int k = 0; k < length; ++k)
            put(ring[(from + k) & (N - 1)]);
        count += length;
    }
}

std::string LzhDecode(std::string_view stream, size_t limit)
{
    if (stream.size() < 4)
        throw ElzhException("LZH : stream too short for its size field");
    const uint32_t size = static_cast<uint8_t>(stream[0]) | static_cast<uint8_t>(stream[1]) << 8
                          | static_cast<uint8_t>(stream[2]) << 16
                          | static_cast<uint32_t>(static_cast<uint8_t>(stream[3])) << 24;
    if (size > limit || size > 0x7FFFFFFF)
        throw ElzhException("LZH : decoded size " + std::to_string(size) + " is too large");
    std::string out;
    out.reserve(size + F);
    size_t at = 4;
    TLZH().Decode(
        static_cast<int32_t>(size),
        [&](uint8_t *buffer, uint16_t requested) -> uint16_t {
            const size_t n = std::min<size_t>(requested, stream.size() - at);
            std::memcpy(buffer, stream.data() + at, n);
            at += n;
            return static_cast<uint16_t>(n);
        },
        [&](const uint8_t *buffer, uint16_t count) {
            out.append(reinterpret_cast<const char *>(buffer), count);
        });
    return out;
}

namespace {

// The encoder's match finder: binary search trees over the ring buffer,
// one per first byte.
class MatchTrees {
public:
    static constexpr int NIL = N;

    explicit MatchTrees(const std::vector<uint8_t> &ring) : ring_(ring)
    {
        for (int i = N + 1; i <= N + 256; ++i)
            rson[i] = NIL;
        for (int i = 0; i < N; ++i)
            dad[i] = NIL;
    }

    void Insert(int r)
    {
        int cmp = 1;
        const uint8_t *key = &ring_[r];
        int p = N + 1 + key[0];
        rson[r] = lson[r] = NIL;
        matchLength = 0;
        for (;;) {
            if (cmp >= 0) {
                if (rson[p] != NIL) {
                    p = rson[p];
                } else {
                    rson[p] = r;
                    dad[r] = p;
                    return;
                }
            } else {
                if (lson[p] != NIL) {
                    p = lson[p];
                } else {
                    lson[p] = r;
                    dad[r] = p;
                    return;
                }
            }
            int i = 1;
            for (; i < F; ++i)
                if ((cmp = key[i] - ring_[p + i]) != 0)
                    break;
            if (i > THRESHOLD) {
                if (i > matchLength) {
                    matchPosition = ((r - p) & (N - 1)) - 1;
                    if ((matchLength = i) >= F)
                        break;
                }
                if (i == matchLength) {
                    const int c = ((r - p) & (N - 1)) - 1;
                    if (c < matchPosition)
                        matchPosition = c;
                }
            }
        }
        dad[r] = dad[p];
        lson[r] = lson[p];
        rson[r] = rson[p];
        dad[lson[p]] = r;
        dad[rson[p]] = r;
        if (rson[dad[p]] == p)
            rson[dad[p]] = r;
        else
            lson[dad[p]] = r;
        dad[p] = NIL;
    }

    void Delete(int p)
    {
        if (dad[p] == NIL)
            return;
        int q;
        if (rson[p] == NIL) {
            q = lson[p];
        } else if (lson[p] == NIL) {
            q = rson[p];
        } else {
            q = lson[p];
            if (rson[q] != NIL) {
                do
                    q = rson[q];
                while (rson[q] != NIL);
                rson[dad[q]] = lson[q];
                dad[lson[q]] = dad[q];
                lson[q] = lson[p];
                dad[lson[p]] = q;
            }
            rson[q] = rson[p];
            dad[rson[p]] = q;
        }
        dad[q] = dad[p];
        if (rson[dad[p]] == p)
            rson[dad[p]] = q;
        else
            lson[dad[p]] = q;
        dad[p] = NIL;
    }

    int matchPosition = 0;
    int matchLength = 0;

private:
    const std::vector<uint8_t> &ring_;
    std::vector<int> lson = std::vector<int>(N + 1);
    std::vector<int> rson = std::vector<int>(N + 257);
    std::vector<int> dad = std::vector<int>(N + 1);
};

// The code of a symbol: its path from the root, each node's lowest bit the
// branch taken to it, collected from the leaf up. A deep tree can give codes
// longer than 16 bits, so they are gathered in 64.
void EncodeChar(HuffmanTree &tree, BitWriter &bits, int c)
{
    uint64_t code = 0;
    int length = 0;
    for (int k = tree.prnt[c + T]; k != R; k = tree.prnt[k]) {
        code |= static_cast<uint64_t>(k & 1) << length;
        ++length;
    }
    for (int i = length - 1; i >= 0; --i)
        bits.Bits(static_cast<uint32_t>((code >> i) & 1), 1);
    tree.Update(c);
}

void EncodePosition(BitWriter &bits, int position)
{
    const int high = position >> 6;
    bits.Bits(kPositionTables.p_code[high] >> (8 - kPositionTables.p_len[high]), kPositionTables.p_len[high]);
    bits.Bits(static_cast<uint32_t>(position & 0x3F), 6);
}

}  // namespace

std::string LzhEncode(std::string_view data)
{
    std::string out;
    const uint32_t size = static_cast<uint32_t>(data.size());
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((size >> (8 * i)) & 0xFF);
    if (data.empty())
        return out;

    HuffmanTree tree;
    BitWriter bits(out);
    std::vector<uint8_t> ring(N + F - 1, 0);
    MatchTrees trees(ring);
    size_t next = 0;  // the next input byte
    int s = 0, r = N - F;
    std::memset(ring.data(), ' ', r);
    int len = 0;
    for (; len < F && next < data.size(); ++len)
        ring[r + len] = static_cast<uint8_t>(data[next++]);
    for (int i = 1; i <= F; ++i)
        trees.Insert(r - i);
    trees.Insert(r);
    do {
        if (trees.matchLength > len)
            trees.matchLength = len;
        if (trees.matchLength <= THRESHOLD) {
            trees.matchLength = 1;
            EncodeChar(tree, bits, ring[r]);
        } else {
            EncodeChar(tree, bits, 255 - THRESHOLD + trees.matchLength);
            EncodePosition(bits, trees.matchPosition);
        }
        const int last = trees.matchLength;
        int i = 0;
        for (; i < last && next < data.size(); ++i) {
            const uint8_t c = static_cast<uint8_t>(data[next++]);
            trees.Delete(s);
            ring[s] = c;
            if (s < F - 1)
                ring[s + N] = c;
            s = (s + 1) & (N - 1);
            r = (r + 1) & (N - 1);
            trees.Insert(r);
        }
        while (i++ < last) {
            trees.Delete(s);
            s = (s + 1) & (N - 1);
            r = (r + 1) & (N - 1);
            if (--len)
                trees.Insert(r);
        }
    } while (len > 0);
    bits.Flush();
    return out;
}

}  // namespace qasp::skin
