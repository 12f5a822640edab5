#include "kwpkg/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/core/safe_save.h"
#include "platform/text/unicode.h"

namespace kwpkg {

namespace {

class TInputFile {
public:
    // Non-blocking, so that opening a FIFO cannot hang before the type check refuses it.
    explicit TInputFile(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {
        if (fd_ < 0)
            throw TKwPkgError(std::string("cannot open: ") + std::strerror(errno));
    }
    ~TInputFile() { ::close(fd_); }
    TInputFile(const TInputFile&) = delete;
    TInputFile& operator=(const TInputFile&) = delete;

    std::size_t CheckedSize() const {
        struct stat info {};
        if (::fstat(fd_, &info) != 0)
            throw TKwPkgError(std::string("cannot read: ") + std::strerror(errno));
        if (S_ISDIR(info.st_mode))
            throw TKwPkgError("is a directory, not a file");
        if (!S_ISREG(info.st_mode))
            throw TKwPkgError("not a regular file");
        if (static_cast<std::uint64_t>(info.st_size) > kMaxInputBytes)
            throw TooLarge();
        return static_cast<std::size_t>(info.st_size);
    }

    // Reads to the end, refusing a file that grew past the limit since it was measured.
    std::string ReadAll(std::size_t expected) const {
        std::string bytes(expected + 1, '\0');
        std::size_t total = 0;
        for (;;) {
            if (total == bytes.size()) {
                if (bytes.size() > kMaxInputBytes)
                    throw TooLarge();
                bytes.resize(std::min(bytes.size() * 2, kMaxInputBytes + 1));
            }
            const ssize_t n = ::read(fd_, bytes.data() + total, bytes.size() - total);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                throw TKwPkgError(std::string("cannot read: ") + std::strerror(errno));
            if (n == 0)
                break;
            total += static_cast<std::size_t>(n);
        }
        bytes.resize(total);
        return bytes;
    }

private:
    static TKwPkgError TooLarge() {
        return TKwPkgError("larger than " + std::to_string(kMaxInputBytes >> 20) +
                           " MiB, more than any input kwpkg reads");
    }

    int fd_;
};

void Save(const std::string& path, const void* data, std::size_t size) {
    kw::SaveFileSafely(kw::Utf8ToString(path), [&](kw::TStream& file) {
        file.WriteBuffer(data, static_cast<std::int64_t>(size));
    });
}

}  // namespace

std::string ReadInput(const std::string& path) {
    const TInputFile file(path);
    return file.ReadAll(file.CheckedSize());
}

TBytes ReadInputBytes(const std::string& path) {
    const std::string text = ReadInput(path);
    return TBytes(text.begin(), text.end());
}

void WriteOutput(const std::string& path, const TBytes& bytes) {
    Save(path, bytes.data(), bytes.size());
}

void WriteOutput(const std::string& path, const std::string& text) {
    Save(path, text.data(), text.size());
}

}  // namespace kwpkg
