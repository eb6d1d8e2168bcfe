#include "core/formats/pcx_run_length.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tessra {

namespace {

constexpr std::uint8_t CountFlags = 0xC0;
constexpr std::uint8_t CountMask = 0x3F;
constexpr std::uint64_t Ones = 0x0101010101010101ull;
constexpr std::uint64_t Highs = 0x8080808080808080ull;

bool IsCount(std::uint8_t byte) {
    return (byte & CountFlags) == CountFlags;
}

// Which of eight bytes start a literal or a run, given which look like counts
// (bits 0-7 of the index) and whether the first byte is the value of a count in
// front of the eight (bit 8); and whether the last byte is a count whose value
// comes after the eight.
struct WordParse {
    std::uint64_t starts; // 0xFF in each byte that starts a literal or run
    bool carry;
};

constexpr std::array<WordParse, 512> MakeWordParses() {
    std::array<WordParse, 512> table{};
    for (unsigned index = 0; index < table.size(); ++index) {
        bool isValue = index >> 8;
        for (unsigned j = 0; j < 8; ++j) {
            if (isValue) {
                isValue = false;
            } else {
                table[index].starts |= 0xFFull << (8 * j);
                isValue = (index >> j) & 1;
            }
        }
        table[index].carry = isValue;
    }
    return table;
}
constexpr std::array<WordParse, 512> WordParses = MakeWordParses();

// Eight bytes as one word, the first in the lowest bits.
std::uint64_t LoadWord(const std::uint8_t* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, 8);
    if constexpr (std::endian::native != std::endian::little) {
        std::uint64_t swapped = 0;
        for (int j = 0; j < 8; ++j) {
            swapped |= ((word >> (8 * j)) & 0xFF) << (56 - 8 * j);
        }
        word = swapped;
    }
    return word;
}

// Bit 0 of each byte of `lows` gathered into one byte, byte j to bit j.
unsigned GatherLowBits(std::uint64_t lows) {
    return (lows * 0x0102040810204080ull) >> 56;
}

// Where byte j of a word (bits 8j to 8j + 7) lies when the word is in memory.
constexpr std::size_t ByteOf(std::size_t j) {
    return std::endian::native == std::endian::little ? j : 7 - j;
}

// Writes `Blocks` x 8 copies of byte j of `values` at byte j of `offsets`
// past `base`, for the eight j in order, so that each may overwrite the
// overshoot of the one before.
template <int Blocks, std::size_t... J>
void WriteSteps(std::uint8_t* base, std::uint64_t offsets, std::uint64_t values,
                std::index_sequence<J...>) {
    std::uint8_t offset[8], value[8];
    std::memcpy(offset, &offsets, 8);
    std::memcpy(value, &values, 8);
    const auto write = [&](std::size_t j) {
        std::uint8_t* out = base + offset[ByteOf(j)];
#ifdef __SSE2__
        // Half the stores of the plain form: the reader's costliest part.
        const __m128i fill = _mm_set1_epi8(static_cast<char>(value[ByteOf(j)]));
        for (int i = 0; i < Blocks / 2; ++i) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * i), fill);
        }
#else
        const std::uint64_t fill = value[ByteOf(j)] * Ones;
        for (int i = 0; i < Blocks; ++i) {
            std::memcpy(out + 8 * i, &fill, 8);
        }
#endif
    };
    (write(J), ...);
}

} // namespace

std::uint64_t PcxRunReader::Available(std::uint64_t count) const {
    return position_ < limit_ ? std::min(count, limit_ - position_) : 0;
}

void PcxRunReader::Fill(std::uint8_t* dst, std::size_t count) {
    const auto wanted = static_cast<std::size_t>(Available(count));
    const std::size_t got = Unpack(dst, wanted);
    std::memset(dst + got, 0, count - got);
    position_ += count;
}

// Eight bytes of data at a time while they fit in the piece: every literal or
// run among them is found at once and its place computed by a prefix sum in
// one word, so no step waits for the one before. Each writes 16 copies of its
// value (64 when a run is long) where it starts; the next one, or the Slack,
// takes the overshoot. What is left goes one byte at a time.
std::size_t PcxRunReader::Unpack(std::uint8_t* dst, std::size_t count) {
    std::size_t k = std::min<std::uint64_t>(pending_, count);
    std::memset(dst, value_, k);
    pending_ -= k;
    const std::uint8_t* in = in_;
    bool carry = false; // in[0] is the value of the last count handled
    while (k < count && end_ - in > 8) {
        const std::uint64_t word = LoadWord(in);
        const std::uint64_t countLows = (word & (word << 1) & Highs) >> 7;
        if (countLows == 0 && !carry && count - k >= 8) { // eight literals, common in noise
            std::memcpy(dst + k, in, 8);
            k += 8;
            in += 8;
            continue;
        }
        const std::uint64_t countBytes = countLows * 0xFF;
        const WordParse parse = WordParses[GatherLowBits(countLows) | unsigned{carry} << 8];
        const std::uint64_t lengths =
            parse.starts & ((countBytes & word & (Ones * CountMask)) | (~countBytes & Ones));
        const std::uint64_t ends = lengths * Ones; // at most 4 x 63, so bytes never carry
        const std::size_t total = ends >> 56;
        if (total > count - k) {
            break;
        }
        const std::uint64_t following = word >> 8 | std::uint64_t{in[8]} << 56;
        const std::uint64_t values = (countBytes & following) | (~countBytes & word);
        const std::uint64_t offsets = ends - lengths;
        if ((lengths + Ones * (128 - 17)) & Highs) { // a run longer than 16
            WriteSteps<8>(dst + k, offsets, values, std::make_index_sequence<8>());
        } else {
            WriteSteps<2>(dst + k, offsets, values, std::make_index_sequence<8>());
        }
        k += total;
        in += 8;
        carry = parse.carry;
    }
    in += carry;
    while (k < count && in < end_) {
        const std::uint8_t byte = *in++;
        if (!IsCount(byte)) {
            dst[k++] = byte;
            continue;
        }
        // A count byte at the very end repeats the 0 that follows the data.
        const std::uint8_t value = in < end_ ? *in++ : 0;
        const std::size_t run = byte & CountMask;
        const std::size_t now = std::min(run, count - k);
        std::memset(dst + k, value, now);
        k += now;
        pending_ = run - now;
        value_ = value;
    }
    in_ = in;
    return k;
}

void PcxRunReader::Skip(std::uint64_t count) {
    std::uint64_t left = Available(count);
    position_ += count;
    const std::uint64_t fromRun = std::min(pending_, left);
    pending_ -= fromRun;
    left -= fromRun;
    while (left > 0 && in_ < end_) {
        const std::uint8_t byte = *in_++;
        if (!IsCount(byte)) {
            --left;
            continue;
        }
        const std::uint8_t value = in_ < end_ ? *in_++ : 0;
        const std::uint64_t run = byte & CountMask;
        if (run > left) {
            pending_ = run - left;
            value_ = value;
            left = 0;
        } else {
            left -= run;
        }
    }
}

} // namespace tessra
