#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tessra {

// Reads the run-length data after a PCX header as one flat byte stream, a
// piece at a time, so that a decoder keeps only the lines it is painting.
//
// A byte with both top bits set repeats the next byte (low six bits) times; any
// other byte stands for itself. Runs cross whatever boundaries the caller reads
// in. Past the end of the data, and from position `limit` on (the size of the
// decoded buffer the format allows), every byte reads 0.
class PcxRunReader {
  public:
    // A buffer for Fill to write `count` bytes into: it has room for the spare
    // bytes Fill may write beyond them.
    static std::vector<std::uint8_t> Buffer(std::size_t count) {
        return std::vector<std::uint8_t>(count + Slack);
    }

    PcxRunReader(std::span<const std::uint8_t> packed, std::uint64_t limit)
        : in_(packed.data()), end_(packed.data() + packed.size()), limit_(limit) {}

    // The next `count` bytes of the stream into dst[0..count), where dst lies
    // in a Buffer large enough for them.
    void Fill(std::uint8_t* dst, std::size_t count);
    // Passes over the next `count` bytes.
    void Skip(std::uint64_t count);

  private:
    // How far beyond dst + count Fill may write.
    static constexpr std::size_t Slack = 64;

    std::size_t Unpack(std::uint8_t* dst, std::size_t count);
    std::uint64_t Available(std::uint64_t count) const;

    const std::uint8_t* in_;
    const std::uint8_t* end_;
    std::uint64_t limit_;
    std::uint64_t position_ = 0;
    std::uint64_t pending_ = 0; // what is left of a run cut by the last piece
    std::uint8_t value_ = 0;
};

} // namespace tessra
