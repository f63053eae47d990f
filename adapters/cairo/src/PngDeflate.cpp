#include "PngDeflate.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <queue>
#include <utility>

namespace corvendi::cairoimpl {

namespace {

constexpr size_t kMinMatch = 3;
constexpr size_t kMaxMatch = 258;
constexpr size_t kMaxDistance = 32768;
constexpr int kLiteralCodes = 286;  // literals, end of block, lengths
constexpr int kDistanceCodes = 30;
constexpr int kEndOfBlock = 256;
constexpr int kMaxCodeBits = 15;
constexpr int kMaxLengthCodeBits = 7;

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                      15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                      67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistanceBase[30] = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order the code lengths of the code-length alphabet are sent in.
constexpr uint8_t kLengthCodeOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                          11, 4,  12, 3, 13, 2, 14, 1, 15};

// A literal byte, or a repeat of `length` bytes from one of the two places looked at.
struct Token {
    uint16_t Length = 0;  // 0 for a literal
    uint8_t Value = 0;    // the literal, or 0 (the pixel before) or 1 (the row above)
};

struct Code {
    uint16_t Bits = 0;  // bit-reversed, ready to be written least significant bit first
    uint8_t Size = 0;
};

int LengthSymbol(size_t length) {
    int symbol = 0;
    while (symbol + 1 < 29 && kLengthBase[symbol + 1] <= length) ++symbol;
    return symbol;
}

// The distance symbols by table, as every far repeat asks for one: distances up to 256 by
// their own entry, longer ones (whose symbols span multiples of 128) by their 128th.
struct DistanceSymbols {
    uint8_t Near[256] = {};
    uint8_t Far[256] = {};
    constexpr DistanceSymbols() {
        int symbol = 0;
        for (int d = 1; d <= 256; ++d) {
            while (symbol + 1 < kDistanceCodes && kDistanceBase[symbol + 1] <= d) ++symbol;
            Near[d - 1] = static_cast<uint8_t>(symbol);
        }
        for (int block = 2; block < 256; ++block) {
            const int d = block * 128 + 1;
            while (symbol + 1 < kDistanceCodes && kDistanceBase[symbol + 1] <= d) ++symbol;
            Far[block] = static_cast<uint8_t>(symbol);
        }
    }
};
constexpr DistanceSymbols kDistanceSymbols;

int DistanceSymbol(size_t distance) {
    const size_t d = distance - 1;  // distances run from 1 to 32768
    return d < 256 ? kDistanceSymbols.Near[d] : kDistanceSymbols.Far[d >> 7];
}

size_t MatchLength(const unsigned char* a, const unsigned char* b, size_t limit) {
    size_t n = 0;
    while (n + 8 <= limit) {
        uint64_t x = 0;
        uint64_t y = 0;
        std::memcpy(&x, a + n, 8);
        std::memcpy(&y, b + n, 8);
        if (x != y) return n + static_cast<size_t>(__builtin_ctzll(x ^ y) / 8);
        n += 8;
    }
    while (n < limit && a[n] == b[n]) ++n;
    return n;
}

// Huffman code lengths of at most `maxBits` for the frequencies (0 for unused symbols).
std::vector<uint8_t> CodeLengths(const std::vector<uint32_t>& frequency, int maxBits) {
    const int count = static_cast<int>(frequency.size());
    std::vector<uint8_t> lengths(frequency.size(), 0);
    std::vector<int> used;
    for (int s = 0; s < count; ++s)
        if (frequency[s] > 0) used.push_back(s);
    if (used.size() == 1) lengths[used[0]] = 1;
    if (used.size() < 2) return lengths;
    // Plain Huffman: merge the two rarest until one tree is left; a symbol's length is its depth.
    std::vector<int> parent(used.size() * 2, -1);
    using Node = std::pair<uint64_t, int>;
    std::priority_queue<Node, std::vector<Node>, std::greater<Node>> queue;
    for (size_t i = 0; i < used.size(); ++i) queue.emplace(frequency[used[i]], static_cast<int>(i));
    int next = static_cast<int>(used.size());
    while (queue.size() > 1) {
        const Node a = queue.top();
        queue.pop();
        const Node b = queue.top();
        queue.pop();
        parent[a.second] = parent[b.second] = next;
        queue.emplace(a.first + b.first, next++);
    }
    std::vector<int> depthCount(64, 0);
    std::vector<int> depth(used.size(), 0);
    for (size_t i = 0; i < used.size(); ++i) {
        for (int n = parent[i]; n >= 0; n = parent[n]) ++depth[i];
        ++depthCount[std::min(depth[i], 63)];
    }
    // Lengths beyond the limit move to the limit, then codes are lengthened one at a time
    // until the lengths describe a complete code again.
    for (int d = maxBits + 1; d < 64; ++d) depthCount[maxBits] += std::exchange(depthCount[d], 0);
    uint64_t total = 0;
    for (int d = 1; d <= maxBits; ++d)
        total += static_cast<uint64_t>(depthCount[d]) << (maxBits - d);
    while (total > (uint64_t{1} << maxBits)) {
        --depthCount[maxBits];
        for (int d = maxBits - 1; d > 0; --d) {
            if (depthCount[d] > 0) {
                --depthCount[d];
                depthCount[d + 1] += 2;
                break;
            }
        }
        --total;
    }
    // The most frequent symbols take the shortest codes.
    std::stable_sort(used.begin(), used.end(),
                     [&](int a, int b) { return frequency[a] > frequency[b]; });
    size_t at = 0;
    for (int d = 1; d <= maxBits; ++d)
        for (int n = 0; n < depthCount[d]; ++n) lengths[used[at++]] = static_cast<uint8_t>(d);
    return lengths;
}

std::vector<Code> CanonicalCodes(const std::vector<uint8_t>& lengths) {
    std::array<uint16_t, kMaxCodeBits + 2> count{};
    for (uint8_t length : lengths) ++count[length];
    count[0] = 0;
    std::array<uint16_t, kMaxCodeBits + 2> next{};
    uint16_t code = 0;
    for (int bits = 1; bits <= kMaxCodeBits; ++bits) {
        code = static_cast<uint16_t>((code + count[bits - 1]) << 1);
        next[bits] = code;
    }
    std::vector<Code> codes(lengths.size());
    for (size_t s = 0; s < lengths.size(); ++s) {
        const uint8_t size = lengths[s];
        if (size == 0) continue;
        uint16_t value = next[size]++;
        uint16_t reversed = 0;
        for (int b = 0; b < size; ++b)
            reversed = static_cast<uint16_t>((reversed << 1) | ((value >> b) & 1));
        codes[s] = Code{reversed, size};
    }
    return codes;
}

class BitWriter {
  public:
    explicit BitWriter(std::vector<unsigned char>& out) : mOut(out), mAt(out.size()) {}
    void Put(uint32_t bits, int count) {
        mBuffer |= static_cast<uint64_t>(bits) << mCount;
        mCount += count;
        if (mCount >= 32) {
            // The output grows by doubling, and is cut to what was written at the end.
            if (mAt + 4 > mOut.size()) mOut.resize(std::max<size_t>(mOut.size() * 2, mAt + 4096));
            const auto word = static_cast<uint32_t>(mBuffer);
            for (int b = 0; b < 4; ++b) mOut[mAt + b] = static_cast<unsigned char>(word >> (8 * b));
            mAt += 4;
            mBuffer >>= 32;
            mCount -= 32;
        }
    }
    void Put(const Code& code) { Put(code.Bits, code.Size); }
    void Finish() {
        mOut.resize(mAt);
        for (; mCount > 0; mCount -= 8) {
            mOut.push_back(static_cast<unsigned char>(mBuffer));
            mBuffer >>= 8;
        }
        mBuffer = 0;
        mCount = 0;
        mAt = mOut.size();
    }

  private:
    std::vector<unsigned char>& mOut;
    size_t mAt = 0;
    uint64_t mBuffer = 0;
    int mCount = 0;
};

// The code lengths of both alphabets as the block header sends them: runs of zeros and
// repeats of the previous length shortened with the symbols 16, 17 and 18.
struct LengthToken {
    uint8_t Symbol;
    uint8_t Extra;
};

std::vector<LengthToken> RunLengthCoded(const std::vector<uint8_t>& lengths) {
    std::vector<LengthToken> tokens;
    for (size_t i = 0; i < lengths.size();) {
        const uint8_t value = lengths[i];
        size_t run = 1;
        while (i + run < lengths.size() && lengths[i + run] == value) ++run;
        i += run;
        if (value == 0) {
            while (run >= 11) {
                const size_t n = std::min<size_t>(run, 138);
                tokens.push_back({18, static_cast<uint8_t>(n - 11)});
                run -= n;
            }
            if (run >= 3) {
                tokens.push_back({17, static_cast<uint8_t>(run - 3)});
                run = 0;
            }
        } else {
            tokens.push_back({value, 0});
            --run;
            while (run >= 3) {
                const size_t n = std::min<size_t>(run, 6);
                tokens.push_back({16, static_cast<uint8_t>(n - 3)});
                run -= n;
            }
        }
        for (; run > 0; --run) tokens.push_back({value, 0});
    }
    return tokens;
}

// The zlib checksum of the bytes. A page is megabytes, so sixteen bytes go at a time: the sum
// of the bytes and their sum weighted by position within the sixteen, per block of at most
// 5552 bytes (where the 32-bit sums cannot overflow).
uint32_t Adler32(const unsigned char* data, size_t size) {
    constexpr uint32_t kModulus = 65521;
    uint64_t a = 1;
    uint64_t b = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i firstWeights = _mm_setr_epi16(16, 15, 14, 13, 12, 11, 10, 9);
    const __m128i lastWeights = _mm_setr_epi16(8, 7, 6, 5, 4, 3, 2, 1);
    auto sum = [](__m128i v) {
        uint32_t lanes[4];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), v);
        return uint64_t{lanes[0]} + lanes[1] + lanes[2] + lanes[3];
    };
    while (size >= 16) {
        const size_t blocks = std::min<size_t>(size / 16, 5552 / 16);
        __m128i bytes = zero;     // the sum of the bytes so far
        __m128i earlier = zero;   // the sums before each block, added up
        __m128i weighted = zero;  // each byte times its weight within its block
        for (size_t i = 0; i < blocks; ++i) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * i));
            earlier = _mm_add_epi32(earlier, bytes);
            bytes = _mm_add_epi32(bytes, _mm_sad_epu8(v, zero));
            weighted =
                _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpacklo_epi8(v, zero), firstWeights));
            weighted =
                _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpackhi_epi8(v, zero), lastWeights));
        }
        b = (b + a * 16 * blocks + 16 * sum(earlier) + sum(weighted)) % kModulus;
        a = (a + sum(bytes)) % kModulus;
        data += 16 * blocks;
        size -= 16 * blocks;
    }
#endif
    for (size_t i = 0; i < size; ++i) {
        a += data[i];
        b += a;
        if (i % 4096 == 4095) a %= kModulus, b %= kModulus;
    }
    return static_cast<uint32_t>(((b % kModulus) << 16) | (a % kModulus));
}

}  // namespace

void DeflateScanlines(const unsigned char* data, size_t size, size_t rowBytes, size_t pixelBytes,
                      std::vector<unsigned char>& out) {
    const size_t distances[2] = {pixelBytes, rowBytes <= kMaxDistance ? rowBytes : 0};
    std::vector<Token> tokens;
    tokens.reserve(size / 16 + 64);
    std::vector<uint32_t> literalFrequency(kLiteralCodes, 0);
    std::vector<uint32_t> distanceFrequency(kDistanceCodes, 0);
    constexpr int kRecentBits = 15;
    std::vector<uint32_t> recent(size_t{1} << kRecentBits, 0);  // position + 1 by hash
    std::vector<uint16_t> farDistances;  // distance - 1 of each far repeat, in order
    int farSymbol = 0;
    std::array<uint8_t, kMaxMatch + 1> lengthSymbols{};
    for (size_t length = kMinMatch; length <= kMaxMatch; ++length)
        lengthSymbols[length] = static_cast<uint8_t>(LengthSymbol(length));
    const int distanceSymbols[2] = {DistanceSymbol(distances[0]),
                                    DistanceSymbol(std::max<size_t>(distances[1], 1))};
    for (size_t i = 0; i < size;) {
        const size_t limit = std::min(kMaxMatch, size - i);
        size_t best = 0;
        uint8_t from = 0;
        for (uint8_t place = 0; place < 2; ++place) {
            const size_t distance = distances[place];
            if (distance == 0 || distance > i || best == limit) continue;
            if (data[i] != data[i - distance]) continue;  // most literals stop here
            const size_t length = MatchLength(data + i, data + i - distance, limit);
            if (length > best) best = length, from = place;
        }
        if (best < kMinMatch + 1 && i + 4 <= size) {
            // Shapes drawn more than once (note heads, accidentals, clefs) repeat further away:
            // positions that start no run are remembered by their next four bytes.
            uint32_t key = 0;
            std::memcpy(&key, data + i, 4);
            uint32_t& slot = recent[(key * 2654435761u) >> (32 - kRecentBits)];
            const size_t earlier = slot;
            slot = static_cast<uint32_t>(i + 1);
            if (earlier > 0 && i + 1 - earlier <= kMaxDistance) {
                const size_t distance = i + 1 - earlier;
                const size_t length = MatchLength(data + i, data + i - distance, limit);
                if (length > best && length >= kMinMatch + 1) {
                    best = length;
                    from = 2;
                    farDistances.push_back(static_cast<uint16_t>(distance - 1));
                    farSymbol = DistanceSymbol(distance);
                }
            }
        }
        if (best >= kMinMatch) {
            tokens.push_back({static_cast<uint16_t>(best), from});
            ++literalFrequency[257 + lengthSymbols[best]];
            ++distanceFrequency[from == 2 ? farSymbol : distanceSymbols[from]];
            i += best;
            continue;
        }
        tokens.push_back({0, data[i]});
        ++literalFrequency[data[i]];
        ++i;
    }
    literalFrequency[kEndOfBlock] = 1;
    // Codes of one symbol are not complete codes; a second keeps every decoder content.
    if (std::count_if(literalFrequency.begin(), literalFrequency.end(),
                      [](uint32_t f) { return f > 0; }) < 2)
        literalFrequency[0] = std::max<uint32_t>(literalFrequency[0], 1);
    if (std::count_if(distanceFrequency.begin(), distanceFrequency.end(),
                      [](uint32_t f) { return f > 0; }) < 2) {
        distanceFrequency[0] = std::max<uint32_t>(distanceFrequency[0], 1);
        distanceFrequency[1] = std::max<uint32_t>(distanceFrequency[1], 1);
    }
    const auto literalLengths = CodeLengths(literalFrequency, kMaxCodeBits);
    const auto distanceLengths = CodeLengths(distanceFrequency, kMaxCodeBits);
    const auto literalCodes = CanonicalCodes(literalLengths);
    const auto distanceCodes = CanonicalCodes(distanceLengths);

    size_t literalsSent = kLiteralCodes;
    while (literalsSent > 257 && literalLengths[literalsSent - 1] == 0) --literalsSent;
    size_t distancesSent = kDistanceCodes;
    while (distancesSent > 1 && distanceLengths[distancesSent - 1] == 0) --distancesSent;
    std::vector<uint8_t> allLengths(literalLengths.begin(), literalLengths.begin() + literalsSent);
    allLengths.insert(allLengths.end(), distanceLengths.begin(),
                      distanceLengths.begin() + distancesSent);
    const auto lengthTokens = RunLengthCoded(allLengths);
    std::vector<uint32_t> lengthFrequency(19, 0);
    for (const LengthToken& t : lengthTokens) ++lengthFrequency[t.Symbol];
    const auto lengthLengths = CodeLengths(lengthFrequency, kMaxLengthCodeBits);
    const auto lengthCodes = CanonicalCodes(lengthLengths);
    size_t lengthCodesSent = 19;
    while (lengthCodesSent > 4 && lengthLengths[kLengthCodeOrder[lengthCodesSent - 1]] == 0)
        --lengthCodesSent;

    out.push_back(0x78);  // deflate, 32 KiB window
    out.push_back(0x01);  // the fastest level; the header is a multiple of 31
    out.reserve(out.size() + size / 8 + 1024);
    BitWriter bits(out);
    bits.Put(1, 1);  // the last block
    bits.Put(2, 2);  // with dynamic Huffman codes
    bits.Put(static_cast<uint32_t>(literalsSent - 257), 5);
    bits.Put(static_cast<uint32_t>(distancesSent - 1), 5);
    bits.Put(static_cast<uint32_t>(lengthCodesSent - 4), 4);
    for (size_t i = 0; i < lengthCodesSent; ++i) bits.Put(lengthLengths[kLengthCodeOrder[i]], 3);
    for (const LengthToken& t : lengthTokens) {
        bits.Put(lengthCodes[t.Symbol]);
        if (t.Symbol == 16) bits.Put(t.Extra, 2);
        if (t.Symbol == 17) bits.Put(t.Extra, 3);
        if (t.Symbol == 18) bits.Put(t.Extra, 7);
    }
    size_t far = 0;
    for (const Token& t : tokens) {
        if (t.Length == 0) {
            bits.Put(literalCodes[t.Value]);
            continue;
        }
        const int symbol = lengthSymbols[t.Length];
        bits.Put(literalCodes[257 + symbol]);
        bits.Put(t.Length - kLengthBase[symbol], kLengthExtra[symbol]);
        const size_t distance = t.Value == 2 ? size_t{farDistances[far++]} + 1 : distances[t.Value];
        const int distanceSymbol =
            t.Value == 2 ? DistanceSymbol(distance) : distanceSymbols[t.Value];
        bits.Put(distanceCodes[distanceSymbol]);
        bits.Put(static_cast<uint32_t>(distance - kDistanceBase[distanceSymbol]),
                 kDistanceExtra[distanceSymbol]);
    }
    bits.Put(literalCodes[kEndOfBlock]);
    bits.Finish();
    const uint32_t checksum = Adler32(data, size);
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(checksum >> shift));
}

}  // namespace corvendi::cairoimpl
