#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/object.h"

namespace kw {

class TStream;
class TMemoryStream;
class TPersistent;
class TComponent;
class TReader;
class TWriter;
class TTextArena;

namespace filer_detail {

// A little-endian value at `p`, whatever its alignment.
template <class T>
T LoadLE(const std::uint8_t* p) {
    T value;
    std::memcpy(&value, p, sizeof(T));
    if constexpr (std::endian::native == std::endian::big) {
        auto* bytes = reinterpret_cast<std::uint8_t*>(&value);
        std::reverse(bytes, bytes + sizeof(T));
    }
    return value;
}

}  // namespace filer_detail

// The 80-bit x87 extended float, converted in software.
using TExtended80 = std::array<std::uint8_t, 10>;
// Exact for every double (denormals included), infinities and NaN keep their class.
TExtended80 DoubleToExtended(double value);
// Rounded to nearest even; values beyond the double range saturate to the largest double
// (or infinity only when the extended value is infinite); tiny values become denormals or 0.
double ExtendedToDouble(const TExtended80& bytes);

// The value kinds of the filer's binary encoding: one kind byte in front of every value.
enum class TValueType : std::uint8_t {
    vaNull = 0,  // also: the end of a list
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,  // 10-byte x87 extended float
    vaString = 6,    // 1-byte length, 8-bit text
    vaIdent = 7,     // 1-byte length, 8-bit identifier
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,  // 32-bit length, bytes
    vaSet = 11,
    vaLString = 12,  // 32-bit length, 8-bit text
    vaNil = 13,
    vaCollection = 14,
    vaSingle = 15,
    vaCurrency = 16,  // 64-bit integer scaled by 10,000
    vaDate = 17,      // double
    vaWString = 18,   // 32-bit count, UTF-16LE code units
    vaInt64 = 19,
    vaUTF8String = 20,  // 32-bit byte count, UTF-8 text
    vaDouble = 21,
};

using TReaderProc = std::function<void(TReader&)>;
using TWriterProc = std::function<void(TWriter&)>;
using TStreamProc = std::function<void(TStream&)>;

// Common base of the reader and the writer: a stream with a buffer of a fixed size.
class TFiler : public TObject {
    KW_CLASS(TFiler)
public:
    static constexpr int kDefaultBufferSize = 4096;

    // Raises EInvalidArgument for a buffer size below 1.
    TFiler(TStream& stream, int bufferSize);

    TStream& Stream() const { return stream_; }
    // The component the stream is written for or read into, and the ancestor whose values
    // decide which properties are stored (none outside form streaming).
    TComponent* Root() const { return root_; }
    void SetRoot(TComponent* root) { root_ = root; }
    TPersistent* Ancestor() const { return ancestor_; }
    void SetAncestor(TPersistent* ancestor) { ancestor_ = ancestor; }

    // Named extra values of a persistent object (see TPersistent::DefineProperties). Plain
    // value readers and writers ignore them; the form stream handles them.
    virtual void DefineProperty(StringView name, TReaderProc readData, TWriterProc writeData,
                                bool hasData) {}
    // A binary block: the callbacks get a memory stream holding exactly the block.
    virtual void DefineBinaryProperty(StringView name, TStreamProc readData, TStreamProc writeData,
                                      bool hasData) {}

protected:
    TStream& stream_;
    std::vector<std::uint8_t> buffer_;

private:
    TComponent* root_ = nullptr;
    TPersistent* ancestor_ = nullptr;
};

// Writes values in the filer's encoding. Values are buffered; FlushBuffer (also run by the
// destructor) hands them to the stream.
class TWriter : public TFiler {
    KW_CLASS(TWriter)
public:
    explicit TWriter(TStream& stream, int bufferSize = kDefaultBufferSize);
    ~TWriter() override;

    // Kind 2, 3 or 4 by the smallest size that holds the value.
    void WriteInteger(std::int32_t value);
    // As the 32-bit form when the value fits in 32 bits, else kind 19.
    void WriteInteger(std::int64_t value);
    void WriteBoolean(bool value);
    // Kind 20 with UTF-8 when that is shorter than UTF-16, else kind 18 (also for empty text,
    // and for text with an unpaired surrogate, which UTF-8 cannot carry).
    void WriteString(StringView value);
    void WriteChar(Char value);
    // Kind 7: an identifier of at most 255 ASCII characters.
    void WriteIdent(StringView ident);
    // Kind 5: the value as a 10-byte x87 extended float.
    void WriteFloat(double value);
    void WriteSingle(float value);
    void WriteDouble(double value);
    // Kind 16: the value scaled by 10,000 as a 64-bit integer.
    void WriteCurrency(std::int64_t scaledBy10000);
    void WriteDate(double value);
    void WriteBinary(const void* data, std::int64_t count);
    void WriteListBegin();
    void WriteListEnd();
    void WriteValue(TValueType kind);
    // Raw bytes, no kind in front.
    void Write(const void* data, std::int64_t count);

    void FlushBuffer();
    // Logical position in the stream, counting what is still in the buffer.
    std::int64_t Position() const;

private:
    template <class T>
    void WriteLE(T value);
    // Text known to be ASCII, one byte per character.
    void WriteAscii(StringView text);
    // Hands bytes to the stream, bypassing the buffer; returns how many it accepted.
    size_t WriteThrough(const void* data, size_t count);

    std::int64_t streamStart_;
    std::int64_t written_ = 0;  // bytes handed to the stream since construction
    size_t used_ = 0;           // bytes in the buffer
};

// Reads values in the filer's encoding. A value of another kind than asked for raises EReadError
// and is left unconsumed; a stream that ends inside a value raises EReadError too. The reader
// never reads past the stream's end and checks every stored length against what is left before
// allocating.
// The destructor puts the stream back at the reader's logical position.
class TReader : public TFiler {
    KW_CLASS(TReader)
public:
    explicit TReader(TStream& stream, int bufferSize = kDefaultBufferSize);
    ~TReader() override;

    // Integers and booleans whose bytes are buffered are decoded here, inline; the rest (and
    // every error) take the out-of-line path.
    std::int32_t ReadInteger() {  // kinds 2, 3, 4
        if (std::int64_t value; TryReadBufferedInteger(value, false))
            return static_cast<std::int32_t>(value);
        return ReadIntegerSlow();
    }
    std::int64_t ReadInt64() {  // kinds 2, 3, 4, 19
        if (std::int64_t value; TryReadBufferedInteger(value, true))
            return value;
        return ReadInt64Slow();
    }
    bool ReadBoolean() {  // kinds 8, 9
        if (pos_ != end_) {
            const auto kind = static_cast<TValueType>(data_[pos_]);
            if (kind == TValueType::vaTrue || kind == TValueType::vaFalse) {
                ++pos_;
                return kind == TValueType::vaTrue;
            }
        }
        return ReadBooleanSlow();
    }
    String ReadString();  // kinds 6, 12 (Windows-1252), 18, 20
    // The same value decoded into `arena`, without a heap allocation of its own; the view lives
    // as long as the arena's texts.
    StringView ReadString(TTextArena& arena);
    Char ReadChar();      // a string value of exactly one character
    String ReadIdent();   // kind 7; 8, 9, 0, 13 as "False", "True", "Null", "nil"
    double ReadFloat() {  // kind 5, and the other float kinds 15, 16, 17, 21; integers
        TExtended80 bytes;
        if (end_ - pos_ <= bytes.size() ||
            static_cast<TValueType>(data_[pos_]) != TValueType::vaExtended)
            return ReadFloatSlow();
        std::memcpy(bytes.data(), data_ + pos_ + 1, bytes.size());
        pos_ += 1 + bytes.size();
        return ExtendedToDouble(bytes);
    }
    // ReadSingle, ReadDouble and ReadDate take their own kind (15, 21, 17) or any integer.
    float ReadSingle();
    double ReadDouble();
    std::int64_t ReadCurrency();  // scaled by 10,000; kind 16 or a 32-bit integer
    double ReadDate();
    std::vector<std::uint8_t> ReadBinary();
    void ReadListBegin();
    void ReadListEnd();
    bool EndOfList();  // the next kind is vaNull (not consumed)
    TValueType ReadValue();
    // The next kind, without consuming it.
    TValueType NextValue();
    // Skips one whole value of any kind; lists (1) and collections (14) run to their vaNull,
    // sets (11) to their empty name.
    void SkipValue();
    // Raw bytes, no kind in front.
    void Read(void* data, std::int64_t count);

    std::int64_t Position() const;
    // True when every byte of the stream has been consumed.
    bool AtEnd();

private:
    // Hot paths, kept inline so that every value does not pay calls through the library's
    // exported symbols.
    std::uint8_t ReadByte() {
        if (pos_ == end_)
            FillBuffer();
        return data_[pos_++];
    }
    TValueType PeekValue() {
        if (pos_ == end_)
            FillBuffer();
        return static_cast<TValueType>(data_[pos_]);
    }
    // Takes the kind byte that PeekValue just returned; it is still in the buffer.
    void ConsumeValue() { ++pos_; }
    template <class T>
    T ReadLE() {
        if (end_ - pos_ < sizeof(T))
            return ReadLESlow<T>();
        const T value = filer_detail::LoadLE<T>(data_ + pos_);
        pos_ += sizeof(T);
        return value;
    }
    template <class T>
    T ReadLESlow();
    // Integers whose kind byte and bytes are all in the buffer are decoded from one pointer with
    // one bounds check.
    bool TryReadBufferedInteger(std::int64_t& value, bool allow64) {
        if (end_ - pos_ < 9)
            return false;
        const std::uint8_t* p = data_ + pos_;
        switch (static_cast<TValueType>(p[0])) {
            case TValueType::vaInt8:
                value = static_cast<std::int8_t>(p[1]);
                pos_ += 2;
                return true;
            case TValueType::vaInt16:
                value = filer_detail::LoadLE<std::int16_t>(p + 1);
                pos_ += 3;
                return true;
            case TValueType::vaInt32:
                value = filer_detail::LoadLE<std::int32_t>(p + 1);
                pos_ += 5;
                return true;
            case TValueType::vaInt64:
                if (!allow64)
                    return false;
                value = filer_detail::LoadLE<std::int64_t>(p + 1);
                pos_ += 9;
                return true;
            default:
                return false;
        }
    }
    std::int32_t ReadIntegerSlow();
    std::int64_t ReadInt64Slow();
    bool ReadBooleanSlow();
    // Decodes a string value of any text kind into `out` (a string or an arena).
    template <class Out>
    void ReadStringTo(Out& out);
    template <class Out>
    void ReadTextTo(Out& out, std::uint64_t count, size_t (*decode)(std::string_view, Char*));
    template <class Out>
    void ReadSplitTextTo(Out& out, std::uint64_t count, size_t (*decode)(std::string_view, Char*));
    template <class Out>
    void ReadUtf16To(Out& out, std::uint64_t count);
    double ReadFloatSlow();
    double ReadDoubleOrInteger(TValueType kind);
    // Decodes `count` 8-bit bytes, straight from the buffer when they are all there.
    String ReadText(std::uint64_t count, size_t (*decode)(std::string_view, Char*));
    void SkipBytes(std::uint64_t count);
    void SkipSet();
    // Raises EReadError unless `count` more bytes are left in the stream.
    void RequireAvailable(std::uint64_t count);
    void FillBuffer();
    [[noreturn]] void PropValueError() const;

    // Set when the stream is a memory stream, whose bytes are then read in place; nothing may
    // write to that stream while the reader lives.
    TMemoryStream* memory_;
    const std::uint8_t* data_;  // the buffered bytes: buffer_ or the memory stream's own
    std::int64_t bufferStart_;  // stream offset of data_[0]
    size_t pos_ = 0;            // read position in the buffer
    size_t end_ = 0;            // valid bytes in the buffer
};

}  // namespace kw
