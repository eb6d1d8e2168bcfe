#include "io/file_stamp.h"

#include "core/base/message_text.h"
#include "io/file_io.h"

namespace tessra {

Result<StampFile> ReadStampFile(const std::string& path) {
    const Result<Bytes> bytes = ReadFileBytes(path, StampFileLimit);
    if (!bytes) {
        return Error{bytes.message()};
    }
    const Bytes& data = bytes.value();
    return ParseStamp({reinterpret_cast<const char*>(data.data()), data.size()}, Shortened(path));
}

} // namespace tessra
