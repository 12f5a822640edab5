#include "platform/core/stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/core/exception.h"
#include "platform/core/safe_save.h"
#include "platform/text/unicode.h"

namespace kw {

KW_IMPLEMENT_CLASS(TStream, TObject)
KW_IMPLEMENT_CLASS(TMemoryStream, TStream)
KW_IMPLEMENT_CLASS(TFileStream, TStream)

// --- TStream -------------------------------------------------------------------------------

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError(kSReadError);
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError(kSWriteError);
}

std::int64_t TStream::Position() {
    return Seek(0, TSeekOrigin::soCurrent);
}

std::int64_t TStream::Size() {
    const std::int64_t pos = Seek(0, TSeekOrigin::soCurrent);
    const std::int64_t size = Seek(0, TSeekOrigin::soEnd);
    Seek(pos, TSeekOrigin::soBeginning);
    return size;
}

void TStream::SetSize(std::int64_t) {
    throw EStreamError(ClassName() + u" cannot change its size");
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    constexpr std::int64_t kChunk = 64 * 1024;
    std::vector<std::uint8_t> buffer(static_cast<size_t>(std::min(count, kChunk)));
    std::int64_t left = count;
    while (left > 0) {
        const std::int64_t n = std::min(left, kChunk);
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return count;
}

// --- TMemoryStream -------------------------------------------------------------------------

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
    if (count <= 0 || position_ >= Size())
        return 0;
    const std::int64_t n = std::min(count, Size() - position_);
    std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
    if (count <= 0)
        return 0;
    const std::int64_t end = position_ + count;
    if (end > Size())
        data_.resize(static_cast<size_t>(end));
    std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
    position_ = end;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    std::int64_t base = 0;
    if (origin == TSeekOrigin::soCurrent)
        base = position_;
    if (origin == TSeekOrigin::soEnd)
        base = Size();
    position_ = std::max<std::int64_t>(0, base + offset);
    return position_;
}

void TMemoryStream::SetSize(std::int64_t size) {
    data_.resize(static_cast<size_t>(std::max<std::int64_t>(0, size)));
    position_ = std::min(position_, Size());
}

void TMemoryStream::Clear() {
    data_.clear();
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
    source.SetPosition(0);
    const std::int64_t size = source.Size();
    data_.resize(static_cast<size_t>(size));
    position_ = 0;
    source.ReadBuffer(data_.data(), size);
}

void TMemoryStream::SaveToStream(TStream& dest) const {
    dest.WriteBuffer(data_.data(), static_cast<std::int64_t>(data_.size()));
}

void TMemoryStream::LoadFromFile(const String& fileName) {
    TFileStream file(fileName, TFileMode::fmOpenRead);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const String& fileName) const {
    SaveFileSafely(fileName, [&](TStream& file) { SaveToStream(file); });
}

// --- TFileStream ---------------------------------------------------------------------------

namespace {

int OpenFlags(TFileMode mode) {
    switch (mode) {
        case TFileMode::fmOpenRead:
            return O_RDONLY;
        case TFileMode::fmOpenWrite:
            return O_WRONLY;
        case TFileMode::fmOpenReadWrite:
            return O_RDWR;
        case TFileMode::fmCreate:
            return O_RDWR | O_CREAT | O_TRUNC;
    }
    return O_RDONLY;
}

String SystemErrorText(int err) {
    return Utf8ToString(std::strerror(err));
}

}  // namespace

TFileStream::TFileStream(const String& fileName, TFileMode mode) : fileName_(fileName) {
    const std::string path = StringToUtf8(fileName);
    fd_ = ::open(path.c_str(), OpenFlags(mode) | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        const String reason = SystemErrorText(errno);
        if (mode == TFileMode::fmCreate) {
            throw EFCreateError(u"Cannot create file \"" + fileName + u"\". " + reason);
        }
        throw EFOpenError(u"Cannot open file \"" + fileName + u"\". " + reason);
    }
    struct stat info {};
    if (::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        throw EFOpenError(u"Cannot open file \"" + fileName + u"\". " + SystemErrorText(EISDIR));
    }
}

TFileStream::~TFileStream() {
    if (fd_ >= 0)
        ::close(fd_);
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
    std::int64_t total = 0;
    auto* out = static_cast<std::uint8_t*>(buffer);
    while (total < count) {
        const ssize_t n = ::read(fd_, out + total, static_cast<size_t>(count - total));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        total += n;
    }
    return total;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
    std::int64_t total = 0;
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    while (total < count) {
        const ssize_t n = ::write(fd_, in + total, static_cast<size_t>(count - total));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        total += n;
    }
    return total;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    int whence = SEEK_SET;
    if (origin == TSeekOrigin::soCurrent)
        whence = SEEK_CUR;
    if (origin == TSeekOrigin::soEnd)
        whence = SEEK_END;
    const off_t pos = ::lseek(fd_, static_cast<off_t>(offset), whence);
    if (pos < 0)
        throw EStreamError(u"Seek failed on \"" + fileName_ + u"\". " + SystemErrorText(errno));
    return pos;
}

void TFileStream::SetSize(std::int64_t size) {
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) {
        throw EWriteError(kSWriteError + String(u". ") + SystemErrorText(errno));
    }
    if (Position() > size)
        SetPosition(size);
}

void TFileStream::Flush() {
    if (::fsync(fd_) != 0 && errno != EINVAL) {
        throw EWriteError(kSWriteError + String(u". ") + SystemErrorText(errno));
    }
}

}  // namespace kw
