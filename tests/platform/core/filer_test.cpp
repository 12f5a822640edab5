#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "platform/core/exception.h"
#include "platform/core/filer.h"
#include "platform/core/stream.h"

namespace kw {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAreArray;

Bytes Written(const std::function<void(TWriter&)>& write) {
    TMemoryStream stream;
    {
        TWriter writer(stream);
        write(writer);
    }
    return stream.Bytes();
}

void Load(TMemoryStream& stream, const Bytes& bytes) {
    stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
}

// A stream that accepts only a fixed number of bytes.
class TLimitedStream : public TMemoryStream {
public:
    explicit TLimitedStream(std::int64_t limit) : limit_(limit) {}
    std::int64_t Write(const void* buffer, std::int64_t count) override {
        const std::int64_t n = std::min(count, limit_ - Position());
        return n > 0 ? TMemoryStream::Write(buffer, n) : 0;
    }

private:
    std::int64_t limit_;
};

// A stream that is not a memory stream, so that the reader goes through its own buffer and
// values straddle the buffer's edges.
class TPlainStream : public TStream {
public:
    explicit TPlainStream(const Bytes& bytes) { Load(memory_, bytes); }
    std::int64_t Read(void* buffer, std::int64_t count) override {
        return memory_.Read(buffer, count);
    }
    std::int64_t Write(const void* buffer, std::int64_t count) override {
        return memory_.Write(buffer, count);
    }
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override {
        return memory_.Seek(offset, origin);
    }

private:
    TMemoryStream memory_;
};

TEST(FilerWriterTest, IntegersUseTheSmallestKind) {
    struct Case {
        std::int64_t value;
        Bytes bytes;
    };
    const std::vector<Case> cases = {
        {-128, {2, 0x80}},
        {127, {2, 0x7F}},
        {-129, {3, 0x7F, 0xFF}},
        {128, {3, 0x80, 0x00}},
        {-32768, {3, 0x00, 0x80}},
        {32767, {3, 0xFF, 0x7F}},
        {-32769, {4, 0xFF, 0x7F, 0xFF, 0xFF}},
        {32768, {4, 0x00, 0x80, 0x00, 0x00}},
        {INT32_MIN, {4, 0x00, 0x00, 0x00, 0x80}},
        {INT32_MAX, {4, 0xFF, 0xFF, 0xFF, 0x7F}},
        {std::int64_t{INT32_MAX} + 1, {19, 0, 0, 0, 0x80, 0, 0, 0, 0}},
        {std::int64_t{INT32_MIN} - 1, {19, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF}},
        {INT64_MIN, {19, 0, 0, 0, 0, 0, 0, 0, 0x80}},
        {INT64_MAX, {19, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_THAT(Written([&](TWriter& w) { w.WriteInteger(c.value); }),
                    ElementsAreArray(c.bytes));
        const bool fits32 = c.value >= INT32_MIN && c.value <= INT32_MAX;
        if (fits32) {
            const auto v32 = static_cast<std::int32_t>(c.value);
            EXPECT_THAT(Written([&](TWriter& w) { w.WriteInteger(v32); }),
                        ElementsAreArray(c.bytes));
        }
        TMemoryStream stream;
        Load(stream, c.bytes);
        TReader reader(stream);
        if (fits32)
            EXPECT_EQ(reader.ReadInteger(), c.value);
        else
            EXPECT_EQ(reader.ReadInt64(), c.value);
    }
}

TEST(FilerWriterTest, StringKindFollowsTheShorterEncoding) {
    auto str = [](const String& s) { return Written([&](TWriter& w) { w.WriteString(s); }); };
    EXPECT_THAT(str(u""), ElementsAreArray<std::uint8_t>({18, 0, 0, 0, 0}));
    EXPECT_THAT(str(u"ab"), ElementsAreArray<std::uint8_t>({20, 2, 0, 0, 0, 'a', 'b'}));
    EXPECT_THAT(str(u"a\u00E9"), ElementsAreArray<std::uint8_t>({20, 3, 0, 0, 0, 'a', 0xC3, 0xA9}));
    // Equal sizes keep UTF-16.
    EXPECT_THAT(str(u"\u00E9"), ElementsAreArray<std::uint8_t>({18, 1, 0, 0, 0, 0xE9, 0}));
    EXPECT_THAT(str(u"\U0001F600"),
                ElementsAreArray<std::uint8_t>({18, 2, 0, 0, 0, 0x3D, 0xD8, 0x00, 0xDE}));
    EXPECT_THAT(str(u"\u20AC"), ElementsAreArray<std::uint8_t>({18, 1, 0, 0, 0, 0xAC, 0x20}));
    // UTF-8 cannot carry an unpaired surrogate, so such text stays UTF-16.
    const String lone = u"abcd" + String(1, Char(0xD800));
    EXPECT_EQ(str(lone)[0], 18);
    EXPECT_THAT(Written([](TWriter& w) { w.WriteChar(u'x'); }),
                ElementsAreArray<std::uint8_t>({20, 1, 0, 0, 0, 'x'}));
}

TEST(FilerWriterTest, OtherKindsAreByteExact) {
    const std::uint8_t blob[] = {0xDE, 0xAD};
    const Bytes bytes = Written([&](TWriter& w) {
        w.WriteBoolean(false);
        w.WriteBoolean(true);
        w.WriteIdent(u"Ab");
        w.WriteFloat(1.5);
        w.WriteSingle(1.0f);
        w.WriteCurrency(-2);
        w.WriteDate(2.0);
        w.WriteDouble(-1.0);
        w.WriteBinary(blob, 2);
        w.WriteListBegin();
        w.WriteListEnd();
        w.Write("xy", 2);
    });
    const Bytes expected = {8,    9,    7,    2,    'A',  'b',  5,    0,    0,    0,    0,   0,
                            0,    0,    0xC0, 0xFF, 0x3F, 15,   0,    0,    0x80, 0x3F, 16,  0xFE,
                            0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 17,   0,    0,    0,   0,
                            0,    0,    0,    0x40, 21,   0,    0,    0,    0,    0,    0,   0xF0,
                            0xBF, 10,   2,    0,    0,    0,    0xDE, 0xAD, 1,    0,    'x', 'y'};
    EXPECT_THAT(bytes, ElementsAreArray(expected));
}

TEST(FilerWriterTest, RejectsIdentifiersItCannotStore) {
    TMemoryStream stream;
    TWriter writer(stream);
    EXPECT_THROW(writer.WriteIdent(String(256, u'a')), EWriteError);
    EXPECT_THROW(writer.WriteIdent(u"caf\u00E9"), EWriteError);
    writer.WriteIdent(String(255, u'a'));
    EXPECT_EQ(writer.Position(), 257);
}

TEST(FilerWriterTest, BuffersAndFlushes) {
    TMemoryStream stream;
    stream.Write("hd", 2);
    {
        TWriter writer(stream, 8);
        writer.WriteInteger(1000);  // 3 bytes, buffered
        EXPECT_EQ(stream.Size(), 2);
        EXPECT_EQ(writer.Position(), 5);
        writer.Write("0123456789", 10);  // larger than the buffer
        EXPECT_EQ(writer.Position(), 15);
        writer.WriteBoolean(true);
        EXPECT_EQ(stream.Size(), 15);
    }
    EXPECT_EQ(stream.Size(), 16);
    EXPECT_EQ(stream.Bytes()[15], 9);
}

TEST(FilerWriterTest, FlushRaisesWhenTheStreamRefusesAndDestructorDoesNot) {
    TLimitedStream stream(3);
    {
        TWriter writer(stream);
        writer.WriteString(u"abc");
        EXPECT_THROW(writer.FlushBuffer(), EWriteError);
        EXPECT_EQ(writer.Position(), 8);
    }
    EXPECT_EQ(stream.Size(), 3);
}

TEST(FilerReaderTest, RoundTripsEveryKindWithAnyBufferSize) {
    const std::uint8_t blob[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    const Bytes bytes = Written([&](TWriter& w) {
        w.WriteInteger(-5);
        w.WriteInteger(std::int64_t{1} << 40);
        w.WriteString(u"h\u00E9llo w\u00F6rld");
        w.WriteString(u"\u4E2D\u6587");
        w.WriteIdent(u"clRed");
        w.WriteFloat(-0.1);
        w.WriteBinary(blob, sizeof(blob));
        w.WriteCurrency(12345);
        w.WriteChar(u'\u20AC');
        w.WriteString(String(5000, u'q'));  // longer than the writer's buffer
    });
    const String longUtf8 = String(3000, u'\u00E9') + u"end";
    const Bytes tail = Written([&](TWriter& w) {
        w.WriteString(longUtf8);
        w.WriteIdent(u"alClient");
        w.WriteFloat(2.5);
    });
    Bytes all = bytes;
    all.insert(all.end(), tail.begin(), tail.end());
    for (int bufferSize : {1, 3, 7, 11, 4096}) {
        for (bool inMemory : {true, false}) {
            SCOPED_TRACE(testing::Message() << bufferSize << (inMemory ? " memory" : " plain"));
            TMemoryStream memory;
            Load(memory, all);
            TPlainStream plain(all);
            TStream& stream = inMemory ? static_cast<TStream&>(memory) : plain;
            TReader reader(stream, bufferSize);
            EXPECT_EQ(reader.ReadInteger(), -5);
            EXPECT_EQ(reader.ReadInt64(), std::int64_t{1} << 40);
            EXPECT_EQ(reader.ReadString(), u"h\u00E9llo w\u00F6rld");
            EXPECT_EQ(reader.ReadString(), u"\u4E2D\u6587");
            EXPECT_EQ(reader.ReadIdent(), u"clRed");
            EXPECT_EQ(reader.ReadFloat(), -0.1);
            EXPECT_EQ(reader.ReadBinary(), Bytes(std::begin(blob), std::end(blob)));
            EXPECT_EQ(reader.ReadFloat(), 1.2345);
            EXPECT_EQ(reader.ReadChar(), u'\u20AC');
            EXPECT_EQ(reader.ReadString(), String(5000, u'q'));
            EXPECT_EQ(reader.ReadString(), longUtf8);
            EXPECT_EQ(reader.ReadIdent(), u"alClient");
            EXPECT_EQ(reader.ReadFloat(), 2.5);
            EXPECT_TRUE(reader.AtEnd());
        }
    }
}

TEST(FilerReaderTest, AcceptsAlternativeKinds) {
    TMemoryStream stream;
    Load(stream, {6,    2,  0x80, 'a', 12, 1, 0, 0, 0,    0x9C, 8, 9, 0,  13, 15, 0, 0, 0xC0,
                  0x3F, 17, 0,    0,   0,  0, 0, 0, 0xF8, 0x3F, 2, 7, 20, 1,  0,  0, 0, 0xFF});
    TReader reader(stream);
    EXPECT_EQ(reader.ReadString(), u"\u20ACa");
    EXPECT_EQ(reader.ReadString(), u"\u0153");
    EXPECT_EQ(reader.ReadIdent(), u"False");
    EXPECT_EQ(reader.ReadIdent(), u"True");
    EXPECT_EQ(reader.ReadIdent(), u"Null");
    EXPECT_EQ(reader.ReadIdent(), u"nil");
    EXPECT_EQ(reader.ReadFloat(), 1.5);
    EXPECT_EQ(reader.ReadFloat(), 1.5);
    EXPECT_EQ(reader.ReadFloat(), 7.0);
    EXPECT_EQ(reader.ReadString(), u"\uFFFD");  // invalid UTF-8 is replaced
}

TEST(FilerReaderTest, WrongKindRaisesAndLeavesTheValue) {
    TMemoryStream stream;
    Load(stream, {9, 20, 2, 0, 0, 0, 'a', 'b', 22});
    TReader reader(stream);
    try {
        reader.ReadInteger();
        FAIL() << "no exception";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), u"Invalid property value");
    }
    EXPECT_THROW(reader.ReadString(), EReadError);
    EXPECT_TRUE(reader.ReadBoolean());
    EXPECT_THROW(reader.ReadChar(), EReadError);  // two characters
    EXPECT_EQ(reader.NextValue(), static_cast<TValueType>(22));
    EXPECT_THROW(reader.SkipValue(), EReadError);
    EXPECT_EQ(reader.Position(), 8);
}

TEST(FilerReaderTest, SkipsCompoundValues) {
    TMemoryStream stream;
    Load(stream, {1,  2, 5,   1,   7, 1,   'x', 0, 10, 1, 0, 0, 0, 0xAA, 0,  // nested list
                  11, 2, 'f', 'a', 1, 'b', 0,                                // set
                  14, 2, 1,   1,   9, 0,   1,   0, 0,                        // collection
                  18, 1, 0,   0,   0, 'z', 0,   5, 0,  0, 0, 0, 0, 0,    0, 0, 0, 0, 3, 4, 0});
    TReader reader(stream, 5);
    for (int i = 0; i < 5; ++i)
        reader.SkipValue();
    EXPECT_EQ(reader.ReadInteger(), 4);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(FilerReaderTest, TruncatedStreamsRaiseReadError) {
    const Bytes sample = Written([](TWriter& w) {
        w.WriteListBegin();
        w.WriteInteger(70000);
        w.WriteString(u"\u00E9t\u00E9");
        w.WriteString(u"text");
        w.WriteFloat(3.25);
        w.WriteListEnd();
        w.WriteIdent(u"Name");
        w.WriteInteger(INT64_MIN);
    });
    for (size_t size = 0; size < sample.size(); ++size) {
        SCOPED_TRACE(size);
        TMemoryStream stream;
        Load(stream, Bytes(sample.begin(), sample.begin() + static_cast<std::ptrdiff_t>(size)));
        {
            TReader reader(stream, 4);
            EXPECT_THROW(
                {
                    reader.ReadListBegin();
                    reader.ReadInteger();
                    reader.ReadString();
                    reader.ReadString();
                    reader.ReadFloat();
                    reader.ReadListEnd();
                    reader.ReadIdent();
                    reader.ReadInt64();
                },
                EReadError);
        }
        EXPECT_LE(stream.Position(), static_cast<std::int64_t>(size));
        stream.SetPosition(0);
        TReader skipper(stream, 3);
        EXPECT_THROW(
            {
                skipper.SkipValue();
                skipper.SkipValue();
                skipper.SkipValue();
            },
            EReadError);
    }
}

TEST(FilerReaderTest, ClaimedLengthsBeyondTheStreamRaiseWithoutAllocating) {
    for (const Bytes& bytes :
         {Bytes{20, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}, Bytes{18, 0, 0, 0, 0x80},
          Bytes{12, 0xF0, 0xFF, 0xFF, 0xFF}, Bytes{10, 0xFF, 0xFF, 0xFF, 0xFF}}) {
        TMemoryStream stream;
        Load(stream, bytes);
        {
            TReader reader(stream);
            if (bytes[0] == 10)
                EXPECT_THROW(reader.ReadBinary(), EReadError);
            else
                EXPECT_THROW(reader.ReadString(), EReadError);
        }
        stream.SetPosition(0);
        TReader skipper(stream);
        EXPECT_THROW(skipper.SkipValue(), EReadError);
        EXPECT_EQ(skipper.Position(), 5);
    }
}

TEST(FilerReaderTest, DestructorLeavesTheStreamAfterTheLastValue) {
    TMemoryStream stream;
    stream.Write("pre", 3);
    {
        TWriter writer(stream);
        writer.WriteInteger(300);
        writer.WriteString(u"abc");
        writer.WriteBoolean(true);
    }
    stream.SetPosition(3);
    {
        TReader reader(stream);
        EXPECT_EQ(reader.ReadInteger(), 300);
        EXPECT_EQ(reader.ReadString(), u"abc");
        EXPECT_EQ(reader.Position(), 14);
        EXPECT_FALSE(reader.AtEnd());
    }
    EXPECT_EQ(stream.Position(), 14);
}

}  // namespace
}  // namespace kw
