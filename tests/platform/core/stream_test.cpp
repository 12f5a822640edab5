#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/core/exception.h"
#include "platform/core/stream.h"
#include "platform/text/unicode.h"

namespace kw {
namespace {

String TempPath(const std::string& name) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("kw_stream_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return Utf8ToString((dir / name).string());
}

TEST(MemoryStreamTest, GrowsSeeksAndResizes) {
    TMemoryStream stream;
    stream.Write("abc", 3);
    EXPECT_EQ(stream.Seek(5, TSeekOrigin::soCurrent), 8);
    stream.Write("z", 1);  // the gap is zero-filled
    EXPECT_EQ(stream.Size(), 9);
    EXPECT_EQ(stream.Bytes(), (std::vector<std::uint8_t>{'a', 'b', 'c', 0, 0, 0, 0, 0, 'z'}));
    EXPECT_EQ(stream.Seek(-2, TSeekOrigin::soEnd), 7);
    EXPECT_EQ(stream.Seek(-100, TSeekOrigin::soCurrent), 0);

    stream.SetPosition(6);
    stream.SetSize(2);
    EXPECT_EQ(stream.Position(), 2);
    char buffer[4] = {};
    EXPECT_EQ(stream.Read(buffer, 4), 0);
    stream.SetPosition(0);
    EXPECT_EQ(stream.Read(buffer, 4), 2);
    EXPECT_EQ(std::string(buffer, 2), "ab");
    stream.SetPosition(1);
    EXPECT_THROW(stream.ReadBuffer(buffer, 2), EReadError);
}

TEST(MemoryStreamTest, CopyFromWithCountZeroCopiesTheWholeSource) {
    TMemoryStream source;
    source.Write("hello", 5);
    source.SetPosition(3);
    TMemoryStream dest;
    dest.Write(">", 1);
    EXPECT_EQ(dest.CopyFrom(source, 0), 5);
    EXPECT_EQ(dest.Bytes(), (std::vector<std::uint8_t>{'>', 'h', 'e', 'l', 'l', 'o'}));

    source.SetPosition(1);
    TMemoryStream part;
    EXPECT_EQ(part.CopyFrom(source, 3), 3);
    EXPECT_EQ(part.Bytes(), (std::vector<std::uint8_t>{'e', 'l', 'l'}));
    EXPECT_THROW(part.CopyFrom(source, 5), EReadError);

    TMemoryStream empty;
    EXPECT_EQ(part.CopyFrom(empty, 0), 0);
}

TEST(FileStreamTest, OpenAndCreateErrorsNameTheFile) {
    const String missing = TempPath("missing.bin");
    try {
        TFileStream stream(missing, TFileMode::fmOpenRead);
        FAIL() << "opened a missing file";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message().rfind(u"Cannot open file \"" + missing + u"\". ", 0), 0u);
    }
    EXPECT_THROW(TFileStream(TempPath("no/such/dir.bin"), TFileMode::fmCreate), EFCreateError);
    EXPECT_THROW(TFileStream(TempPath(""), TFileMode::fmOpenRead), EFOpenError);  // a directory
}

TEST(FileStreamTest, WritesReadsAndTruncates) {
    const String path = TempPath("data.bin");
    {
        TFileStream stream(path, TFileMode::fmCreate);
        stream.WriteBuffer("0123456789", 10);
        stream.SetSize(4);
        EXPECT_EQ(stream.Position(), 4);
        EXPECT_EQ(stream.Size(), 4);
    }
    TMemoryStream copy;
    copy.LoadFromFile(path);
    EXPECT_EQ(copy.Bytes(), (std::vector<std::uint8_t>{'0', '1', '2', '3'}));
    TFileStream stream(path, TFileMode::fmOpenRead);
    EXPECT_EQ(stream.Seek(-1, TSeekOrigin::soEnd), 3);
    char c = 0;
    stream.ReadBuffer(&c, 1);
    EXPECT_EQ(c, '3');
    EXPECT_THROW(stream.ReadBuffer(&c, 1), EReadError);
    EXPECT_THROW(stream.WriteBuffer("x", 1), EWriteError);  // opened for reading only
    std::filesystem::remove_all(std::filesystem::path(StringToUtf8(path)).parent_path());
}

}  // namespace
}  // namespace kw
