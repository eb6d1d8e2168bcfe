#include "core/export/gba_compression.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

namespace tessra {

namespace {

constexpr std::size_t RleMaxLiterals = 128;
constexpr std::size_t RleMinRun = 3;
constexpr std::size_t RleMaxRun = 130;

constexpr std::size_t LzMinLength = 3;
constexpr std::size_t LzMaxLength = 18;
constexpr std::size_t LzMinDistance = 2; // 1 would read a byte VRAM has not been given yet
constexpr std::size_t LzMaxDistance = 4096;
// How many earlier places with the same three bytes are tried; past this the
// search costs more time than it saves bytes on map data.
constexpr int LzChainLimit = 16;

std::vector<std::uint8_t> StartStream(std::uint8_t type, std::size_t size) {
    std::vector<std::uint8_t> out = {type, static_cast<std::uint8_t>(size),
                                     static_cast<std::uint8_t>(size >> 8),
                                     static_cast<std::uint8_t>(size >> 16)};
    out.reserve(size + size / 8 + 8);
    return out;
}

void PadToWord(std::vector<std::uint8_t>& out) {
    out.resize((out.size() + 3) / 4 * 4, 0);
}

std::span<const std::uint8_t> Cut(std::span<const std::uint8_t> bytes) {
    return bytes.first(std::min(bytes.size(), GbaMaxUnpackedSize));
}

void AppendLiterals(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> literals) {
    while (!literals.empty()) {
        const std::size_t count = std::min(literals.size(), RleMaxLiterals);
        out.push_back(static_cast<std::uint8_t>(count - 1));
        out.insert(out.end(), literals.begin(), literals.begin() + count);
        literals = literals.subspan(count);
    }
}

// The longest earlier match at each position (length 0 when under three).
struct Matches {
    std::vector<std::uint8_t> length;
    std::vector<std::uint16_t> distance;
};

// A table as large as the window keeps the search in the first-level cache;
// the odd collision costs one byte compared.
constexpr int HashBits = 12;

std::uint32_t Hash3(const std::uint8_t* p) {
    const std::uint32_t word = p[0] | (p[1] << 8) | (p[2] << 16);
    return (word * 0x9E3779B1u) >> (32 - HashBits);
}

// How many bytes from a and b agree, up to limit; eight at a time while
// there are eight left.
std::size_t CommonLength(const std::uint8_t* a, const std::uint8_t* b, std::size_t limit) {
    std::size_t length = 0;
    while (length + 8 <= limit) {
        std::uint64_t x = 0;
        std::uint64_t y = 0;
        std::memcpy(&x, a + length, 8);
        std::memcpy(&y, b + length, 8);
        if (x != y) {
            return length + static_cast<std::size_t>(std::countr_zero(x ^ y) / 8);
        }
        length += 8;
    }
    while (length < limit && a[length] == b[length]) {
        ++length;
    }
    return length;
}

Matches FindMatches(std::span<const std::uint8_t> in) {
    const std::size_t n = in.size();
    Matches found{std::vector<std::uint8_t>(n), std::vector<std::uint16_t>(n)};
    std::vector<std::int32_t> head(1 << HashBits, -1);
    // The chains as a ring over the window: an entry is overwritten only once
    // its position has left the window, where no search follows it.
    std::vector<std::int32_t> previous(LzMaxDistance, -1);
    std::size_t lastDistance = 0;
    for (std::size_t i = 0; i + LzMinLength <= n; ++i) {
        const std::uint32_t hash = Hash3(&in[i]);
        const std::size_t longest = std::min(LzMaxLength, n - i);
        std::size_t best = 0;
        // Map data repeats at a steady distance (a row, a pattern): try the
        // last one first, and skip the search when it gives the longest match.
        if (lastDistance != 0 && lastDistance <= i) {
            best = CommonLength(&in[i - lastDistance], &in[i], longest);
            found.distance[i] = static_cast<std::uint16_t>(lastDistance);
        }
        int tries = 0;
        for (std::int32_t j = head[hash];
             best < longest && j >= 0 && i - j <= LzMaxDistance && tries < LzChainLimit;
             j = previous[j % LzMaxDistance], ++tries) {
            const std::size_t distance = i - j;
            // Only a candidate that also agrees at the best length can beat it.
            if (distance < LzMinDistance || in[j + best] != in[i + best]) {
                continue;
            }
            const std::size_t length = CommonLength(&in[j], &in[i], longest);
            if (length > best) {
                best = length;
                found.distance[i] = static_cast<std::uint16_t>(distance);
            }
        }
        if (best >= LzMinLength) {
            found.length[i] = static_cast<std::uint8_t>(best);
            lastDistance = found.distance[i];
        }
        previous[i % LzMaxDistance] = head[hash];
        head[hash] = static_cast<std::int32_t>(i);
    }
    return found;
}

// The length of the block to write at each position, 0 for a literal, chosen
// from the end backwards so that the stream is as short as the matches allow.
// A literal costs 9 bits (its byte and its flag), a match 17.
std::vector<std::uint8_t> ChooseBlocks(const Matches& matches) {
    const std::size_t n = matches.length.size();
    std::vector<std::uint32_t> cost(n + 1, 0);
    std::vector<std::uint8_t> choice(n, 0);
    for (std::size_t i = n; i-- > 0;) {
        std::uint32_t best = cost[i + 1] + 9;
        std::uint8_t chosen = 0;
        const std::uint32_t* after = &cost[i];
        // Without branches: which length wins is as good as random.
        for (std::uint8_t length = LzMinLength; length <= matches.length[i]; ++length) {
            const std::uint32_t total = after[length] + 17;
            const bool better = total <= best;
            best = better ? total : best;
            chosen = better ? length : chosen;
        }
        cost[i] = best;
        choice[i] = chosen;
    }
    return choice;
}

// Writes blocks under flag bytes, eight blocks to a flag byte.
class BlockWriter {
  public:
    explicit BlockWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void Literal(std::uint8_t byte) {
        Flag(false);
        out_.push_back(byte);
    }
    void Match(std::size_t length, std::size_t distance) {
        Flag(true);
        const std::size_t back = distance - 1;
        out_.push_back(static_cast<std::uint8_t>(((length - LzMinLength) << 4) | (back >> 8)));
        out_.push_back(static_cast<std::uint8_t>(back));
    }

  private:
    void Flag(bool match) {
        if (bit_ == 0) {
            flagAt_ = out_.size();
            out_.push_back(0);
            bit_ = 0x80;
        }
        if (match) {
            out_[flagAt_] |= bit_;
        }
        bit_ >>= 1;
    }

    std::vector<std::uint8_t>& out_;
    std::size_t flagAt_ = 0;
    std::uint8_t bit_ = 0;
};

// Reads a stream's header; refuses a wrong type byte.
Result<std::size_t> ReadHeader(std::span<const std::uint8_t> packed, std::uint8_t type,
                               const char* kind) {
    if (packed.size() < 4) {
        return Error{std::string("Not ") + kind + " data: it is shorter than its 4-byte header."};
    }
    if (packed[0] != type) {
        return Error{std::string("Not ") + kind + " data: the first byte must be 0x" +
                     (type == GbaRleHeader ? "30" : "10") + "."};
    }
    return packed[1] | (packed[2] << 8) | (packed[3] << 16);
}

Error Broken(const char* kind, const std::string& what, std::size_t at) {
    return Error{std::string("Broken ") + kind + " data: " + what + " at byte " +
                 std::to_string(at) + "."};
}

} // namespace

std::vector<std::uint8_t> CompressGbaRle(std::span<const std::uint8_t> bytes) {
    const std::span<const std::uint8_t> in = Cut(bytes);
    std::vector<std::uint8_t> out = StartStream(GbaRleHeader, in.size());
    std::size_t literalsFrom = 0;
    std::size_t i = 0;
    while (i < in.size()) {
        std::size_t run = 1;
        while (run < RleMaxRun && i + run < in.size() && in[i + run] == in[i]) {
            ++run;
        }
        if (run < RleMinRun) {
            ++i;
            continue;
        }
        AppendLiterals(out, in.subspan(literalsFrom, i - literalsFrom));
        out.push_back(static_cast<std::uint8_t>(0x80 | (run - RleMinRun)));
        out.push_back(in[i]);
        i += run;
        literalsFrom = i;
    }
    AppendLiterals(out, in.subspan(literalsFrom));
    PadToWord(out);
    return out;
}

std::vector<std::uint8_t> CompressGbaLz77(std::span<const std::uint8_t> bytes) {
    const std::span<const std::uint8_t> in = Cut(bytes);
    const Matches matches = FindMatches(in);
    const std::vector<std::uint8_t> choice = ChooseBlocks(matches);
    std::vector<std::uint8_t> out = StartStream(GbaLz77Header, in.size());
    BlockWriter blocks(out);
    for (std::size_t i = 0; i < in.size();) {
        if (choice[i] == 0) {
            blocks.Literal(in[i]);
            ++i;
        } else {
            blocks.Match(choice[i], matches.distance[i]);
            i += choice[i];
        }
    }
    PadToWord(out);
    return out;
}

Result<std::vector<std::uint8_t>> DecompressGbaRle(std::span<const std::uint8_t> packed) {
    constexpr const char* Kind = "RLE";
    const Result<std::size_t> size = ReadHeader(packed, GbaRleHeader, Kind);
    if (!size) {
        return Error{size.message()};
    }
    std::vector<std::uint8_t> out;
    out.reserve(size.value());
    std::size_t at = 4;
    while (out.size() < size.value()) {
        if (at >= packed.size()) {
            return Broken(Kind, "the data ends", at);
        }
        const std::uint8_t flag = packed[at++];
        const bool run = flag & 0x80;
        const std::size_t count = (flag & 0x7F) + (run ? RleMinRun : 1);
        const std::size_t needed = run ? 1 : count;
        if (out.size() + count > size.value()) {
            return Broken(Kind, "a block runs past the unpacked size", at - 1);
        }
        if (packed.size() - at < needed) {
            return Broken(Kind, "the data ends inside a block", at - 1);
        }
        if (run) {
            out.insert(out.end(), count, packed[at]);
        } else {
            out.insert(out.end(), packed.begin() + at, packed.begin() + at + count);
        }
        at += needed;
    }
    return out;
}

Result<std::vector<std::uint8_t>> DecompressGbaLz77(std::span<const std::uint8_t> packed) {
    constexpr const char* Kind = "LZ77";
    const Result<std::size_t> size = ReadHeader(packed, GbaLz77Header, Kind);
    if (!size) {
        return Error{size.message()};
    }
    std::vector<std::uint8_t> out;
    out.reserve(size.value());
    std::size_t at = 4;
    std::uint8_t flags = 0;
    int blocksLeft = 0;
    while (out.size() < size.value()) {
        if (blocksLeft == 0) {
            if (at >= packed.size()) {
                return Broken(Kind, "the data ends", at);
            }
            flags = packed[at++];
            blocksLeft = 8;
        }
        const bool match = flags & 0x80;
        flags = static_cast<std::uint8_t>(flags << 1);
        --blocksLeft;
        if (packed.size() - at < (match ? 2u : 1u)) {
            return Broken(Kind, "the data ends inside a block", at);
        }
        if (!match) {
            out.push_back(packed[at++]);
            continue;
        }
        const std::size_t length = (packed[at] >> 4) + LzMinLength;
        const std::size_t distance = (((packed[at] & 0x0F) << 8) | packed[at + 1]) + 1;
        if (distance < LzMinDistance) {
            return Broken(Kind, "a distance of 1, which video memory cannot take,", at);
        }
        if (distance > out.size() || out.size() + length > size.value()) {
            return Broken(Kind, "a block reaches outside the unpacked data", at);
        }
        for (std::size_t k = 0; k < length; ++k) {
            const std::uint8_t byte = out[out.size() - distance];
            out.push_back(byte);
        }
        at += 2;
    }
    return out;
}

} // namespace tessra
