#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/object.h"

namespace kw {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// A sequence of bytes with a position. Read and Write move as far as they can and say how far;
// ReadBuffer and WriteBuffer move all the way or raise EReadError / EWriteError.
class TStream : public TObject {
    KW_CLASS(TStream)
public:
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);

    std::int64_t Position();
    void SetPosition(std::int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t size);

    // Copies `count` bytes from the source's position; a count of 0 copies the whole source
    // from its start. Returns the number of bytes copied.
    std::int64_t CopyFrom(TStream& source, std::int64_t count);
};

// A stream over a growable block of memory.
class TMemoryStream : public TStream {
    KW_CLASS(TMemoryStream)
public:
    TMemoryStream() = default;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(data_.size()); }
    void SetSize(std::int64_t size) override;

    const std::uint8_t* Memory() const { return data_.data(); }
    std::uint8_t* Memory() { return data_.data(); }
    const std::vector<std::uint8_t>& Bytes() const { return data_; }
    void Clear();
    void LoadFromStream(TStream& source);
    void SaveToStream(TStream& dest) const;
    void LoadFromFile(const String& fileName);
    void SaveToFile(const String& fileName) const;

private:
    std::vector<std::uint8_t> data_;
    std::int64_t position_ = 0;
};

// File open modes of TFileStream.
enum class TFileMode {
    fmOpenRead,       // existing file, read only
    fmOpenWrite,      // existing file, write only
    fmOpenReadWrite,  // existing file, read and write
    fmCreate,         // create, replacing an existing file
};

// A stream over an operating-system file. Opening raises EFOpenError ("Cannot open file
// \"%s\". %s") and creating EFCreateError ("Cannot create file \"%s\". %s").
class TFileStream : public TStream {
    KW_CLASS(TFileStream)
public:
    TFileStream(const String& fileName, TFileMode mode);
    ~TFileStream() override;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t size) override;

    const String& FileName() const { return fileName_; }
    int Handle() const { return fd_; }
    // Pushes written data to the disk; raises EWriteError when the system reports a failure.
    void Flush();

private:
    String fileName_;
    int fd_ = -1;
};

}  // namespace kw
