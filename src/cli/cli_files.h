#pragma once

#include "core/base/result.h"
#include "io/file_document.h"
#include "io/file_group.h"
#include "io/file_io.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessra {

// An input or output named so is standard input or standard output, for pipes.
inline constexpr std::string_view StandardInputName = StandardStreamName;
inline constexpr std::string_view StandardOutputName = StandardStreamName;

// Reads a whole file named on the command line, under the limit of its kind.
Result<std::vector<std::uint8_t>> ReadInputFile(const std::string& path, const ReadLimit& limit);

// A picture named on the command line, mapped into memory when it can be:
// at 4096 x 4096 pixels, copying a PCX file costs more than decoding it.
class InputFile {
  public:
    // The error words a failure as ReadInputFile does.
    Status Open(const std::string& path);
    std::span<const std::uint8_t> bytes() const { return bytes_; }
    // Once the bytes have been used: refused when the file changed meanwhile.
    Status CheckUnchanged() const { return file_.CheckUnchanged(); }

  private:
    MappedFile file_;
    std::vector<std::uint8_t> copy_;
    std::span<const std::uint8_t> bytes_;
};

// An output file written a piece at a time, replaced only once it is whole.
std::unique_ptr<AtomicFileWriter> OpenOutputFile(const std::string& path, Durability durability);

// Replaces a file through a temporary one, so a failure leaves the old file whole.
Status WriteOutputFile(const std::string& path, std::span<const std::uint8_t> bytes,
                       Durability durability);
Status WriteOutputFile(const std::string& path, std::string_view text, Durability durability);

} // namespace tessra
