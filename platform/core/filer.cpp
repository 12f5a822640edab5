#include "platform/core/filer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <optional>
#include <type_traits>

#include "platform/core/exception.h"
#include "platform/core/stream.h"
#include "platform/core/text_arena.h"
#include "platform/text/unicode.h"

namespace kw {

using filer_detail::LoadLE;

KW_IMPLEMENT_CLASS(TFiler, TObject)
KW_IMPLEMENT_CLASS(TWriter, TFiler)
KW_IMPLEMENT_CLASS(TReader, TFiler)

namespace {

constexpr std::uint64_t kMaxCount = std::numeric_limits<std::uint32_t>::max();

bool IsHighSurrogate(Char c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(Char c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The UTF-8 size of the text, or nothing when UTF-8 cannot carry it unchanged (an unpaired
// surrogate), in which case only UTF-16 keeps the text as it is.
std::optional<std::uint64_t> LosslessUtf8Size(StringView text) {
    std::uint64_t size = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const Char c = text[i];
        if (c < 0x80) {
            size += 1;
        } else if (c < 0x800) {
            size += 2;
        } else if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            size += 4;
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            return std::nullopt;
        } else {
            size += 3;
        }
    }
    return size;
}

bool IsAscii(StringView text) {
    return std::all_of(text.begin(), text.end(), [](Char c) { return c < 0x80; });
}

}  // namespace

// --- TFiler --------------------------------------------------------------------------------

TFiler::TFiler(TStream& stream, int bufferSize) : stream_(stream) {
    if (bufferSize <= 0)
        throw EInvalidArgument(u"The filer's buffer size must be positive");
    buffer_.resize(static_cast<size_t>(bufferSize));
}

// --- TWriter -------------------------------------------------------------------------------

TWriter::TWriter(TStream& stream, int bufferSize)
    : TFiler(stream, bufferSize), streamStart_(stream.Position()) {}

TWriter::~TWriter() {
    try {
        FlushBuffer();
    } catch (...) {
        // A destructor cannot report the failure; callers that care flush first.
    }
}

template <class T>
void TWriter::WriteLE(T value) {
    std::uint8_t bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    if constexpr (std::endian::native == std::endian::big)
        std::reverse(std::begin(bytes), std::end(bytes));
    if (buffer_.size() - used_ >= sizeof(T)) {
        std::memcpy(buffer_.data() + used_, bytes, sizeof(T));
        used_ += sizeof(T);
    } else {
        Write(bytes, sizeof(T));
    }
}

size_t TWriter::WriteThrough(const void* data, size_t count) {
    const std::int64_t n =
        std::max<std::int64_t>(0, stream_.Write(data, static_cast<std::int64_t>(count)));
    written_ += n;
    return static_cast<size_t>(n);
}

void TWriter::Write(const void* data, std::int64_t count) {
    if (count <= 0)
        return;
    const auto size = static_cast<size_t>(count);
    if (size <= buffer_.size() - used_) {
        std::memcpy(buffer_.data() + used_, data, size);
        used_ += size;
        return;
    }
    FlushBuffer();
    if (size >= buffer_.size()) {
        if (WriteThrough(data, size) != size)
            throw EWriteError(kSWriteError);
        return;
    }
    std::memcpy(buffer_.data(), data, size);
    used_ = size;
}

void TWriter::FlushBuffer() {
    if (used_ == 0)
        return;
    const size_t accepted = WriteThrough(buffer_.data(), used_);
    used_ -= accepted;
    if (used_ != 0) {
        // Keep what the stream refused so that a later flush can retry it.
        std::memmove(buffer_.data(), buffer_.data() + accepted, used_);
        throw EWriteError(kSWriteError);
    }
}

std::int64_t TWriter::Position() const {
    return streamStart_ + written_ + static_cast<std::int64_t>(used_);
}

void TWriter::WriteValue(TValueType kind) {
    const auto byte = static_cast<std::uint8_t>(kind);
    if (used_ < buffer_.size())
        buffer_[used_++] = byte;
    else
        Write(&byte, 1);
}

void TWriter::WriteInteger(std::int32_t value) {
    if (value >= std::numeric_limits<std::int8_t>::min() &&
        value <= std::numeric_limits<std::int8_t>::max()) {
        WriteValue(TValueType::vaInt8);
        WriteLE(static_cast<std::int8_t>(value));
    } else if (value >= std::numeric_limits<std::int16_t>::min() &&
               value <= std::numeric_limits<std::int16_t>::max()) {
        WriteValue(TValueType::vaInt16);
        WriteLE(static_cast<std::int16_t>(value));
    } else {
        WriteValue(TValueType::vaInt32);
        WriteLE(value);
    }
}

void TWriter::WriteInteger(std::int64_t value) {
    if (value >= std::numeric_limits<std::int32_t>::min() &&
        value <= std::numeric_limits<std::int32_t>::max()) {
        WriteInteger(static_cast<std::int32_t>(value));
        return;
    }
    WriteValue(TValueType::vaInt64);
    WriteLE(value);
}

void TWriter::WriteBoolean(bool value) {
    WriteValue(value ? TValueType::vaTrue : TValueType::vaFalse);
}

void TWriter::WriteString(StringView value) {
    const std::optional<std::uint64_t> utf8Size = LosslessUtf8Size(value);
    if (utf8Size && *utf8Size < 2 * static_cast<std::uint64_t>(value.size())) {
        if (*utf8Size > kMaxCount)
            throw EWriteError(u"String too long for the stream");
        WriteValue(TValueType::vaUTF8String);
        WriteLE(static_cast<std::uint32_t>(*utf8Size));
        if (*utf8Size == value.size()) {
            WriteAscii(value);
        } else {
            const std::string utf8 = StringToUtf8(value);
            Write(utf8.data(), static_cast<std::int64_t>(utf8.size()));
        }
        return;
    }
    if (value.size() > kMaxCount)
        throw EWriteError(u"String too long for the stream");
    WriteValue(TValueType::vaWString);
    WriteLE(static_cast<std::uint32_t>(value.size()));
    if constexpr (std::endian::native == std::endian::little) {
        Write(value.data(), static_cast<std::int64_t>(value.size() * sizeof(Char)));
    } else {
        for (Char c : value)
            WriteLE(c);
    }
}

void TWriter::WriteChar(Char value) {
    WriteString(StringView(&value, 1));
}

void TWriter::WriteIdent(StringView ident) {
    if (ident.size() > 255 || !IsAscii(ident))
        throw EWriteError(u"Invalid identifier \"" + String(ident) + u"\"");
    WriteValue(TValueType::vaIdent);
    WriteLE(static_cast<std::uint8_t>(ident.size()));
    WriteAscii(ident);
}

void TWriter::WriteAscii(StringView text) {
    if (text.size() > buffer_.size() - used_)
        FlushBuffer();
    if (text.size() > buffer_.size()) {
        const std::string bytes(text.begin(), text.end());
        Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        return;
    }
    std::uint8_t* out = buffer_.data() + used_;
    for (Char c : text)
        *out++ = static_cast<std::uint8_t>(c);
    used_ += text.size();
}

void TWriter::WriteFloat(double value) {
    WriteValue(TValueType::vaExtended);
    const TExtended80 bytes = DoubleToExtended(value);
    Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void TWriter::WriteSingle(float value) {
    WriteValue(TValueType::vaSingle);
    WriteLE(std::bit_cast<std::uint32_t>(value));
}

void TWriter::WriteDouble(double value) {
    WriteValue(TValueType::vaDouble);
    WriteLE(std::bit_cast<std::uint64_t>(value));
}

void TWriter::WriteCurrency(std::int64_t scaledBy10000) {
    WriteValue(TValueType::vaCurrency);
    WriteLE(scaledBy10000);
}

void TWriter::WriteDate(double value) {
    WriteValue(TValueType::vaDate);
    WriteLE(std::bit_cast<std::uint64_t>(value));
}

void TWriter::WriteBinary(const void* data, std::int64_t count) {
    if (count < 0 || static_cast<std::uint64_t>(count) > kMaxCount)
        throw EWriteError(u"Binary value too large for the stream");
    WriteValue(TValueType::vaBinary);
    WriteLE(static_cast<std::uint32_t>(count));
    Write(data, count);
}

void TWriter::WriteListBegin() {
    WriteValue(TValueType::vaList);
}

void TWriter::WriteListEnd() {
    WriteValue(TValueType::vaNull);
}

// --- TReader -------------------------------------------------------------------------------

TReader::TReader(TStream& stream, int bufferSize)
    : TFiler(stream, bufferSize),
      memory_(dynamic_cast<TMemoryStream*>(&stream)),
      data_(buffer_.data()),
      bufferStart_(stream.Position()) {}

TReader::~TReader() {
    if (pos_ == end_)
        return;
    try {
        stream_.SetPosition(Position());
    } catch (...) {
        // Nothing sensible to do from a destructor.
    }
}

void TReader::PropValueError() const {
    throw EReadError(kSInvalidProperty);
}

void TReader::FillBuffer() {
    bufferStart_ += static_cast<std::int64_t>(end_);
    pos_ = end_ = 0;
    if (memory_ != nullptr) {
        // A memory stream is decoded in place: the rest of its bytes is the buffer, and the
        // stream's position moves past them as a buffered read would.
        const std::int64_t size = memory_->Size();
        if (bufferStart_ >= size)
            throw EReadError(kSReadError);
        data_ = memory_->Memory() + bufferStart_;
        end_ = static_cast<size_t>(size - bufferStart_);
        memory_->SetPosition(size);
        return;
    }
    data_ = buffer_.data();
    const std::int64_t n = stream_.Read(buffer_.data(), static_cast<std::int64_t>(buffer_.size()));
    if (n <= 0)
        throw EReadError(kSReadError);
    end_ = static_cast<size_t>(n);
}

void TReader::Read(void* data, std::int64_t count) {
    auto* out = static_cast<std::uint8_t*>(data);
    auto left = static_cast<size_t>(std::max<std::int64_t>(0, count));
    while (left > 0) {
        if (pos_ == end_ && left >= buffer_.size()) {
            // Large blocks go straight from the stream to the caller.
            bufferStart_ += static_cast<std::int64_t>(end_);
            pos_ = end_ = 0;
            const std::int64_t n =
                std::max<std::int64_t>(0, stream_.Read(out, static_cast<std::int64_t>(left)));
            bufferStart_ += n;
            if (static_cast<size_t>(n) != left)
                throw EReadError(kSReadError);
            return;
        }
        if (pos_ == end_)
            FillBuffer();
        const size_t n = std::min(left, end_ - pos_);
        std::memcpy(out, data_ + pos_, n);
        pos_ += n;
        out += n;
        left -= n;
    }
}

template <class T>
T TReader::ReadLESlow() {
    std::uint8_t bytes[sizeof(T)];
    Read(bytes, sizeof(T));
    return LoadLE<T>(bytes);
}

void TReader::RequireAvailable(std::uint64_t count) {
    if (count <= end_ - pos_)
        return;
    const std::int64_t streamLeft =
        stream_.Size() - (bufferStart_ + static_cast<std::int64_t>(end_));
    if (count > end_ - pos_ + static_cast<std::uint64_t>(std::max<std::int64_t>(0, streamLeft)))
        throw EReadError(kSReadError);
}

namespace {

// Where decoded text goes: a string of its own, or room in a text arena. Short texts (most
// names and captions) are decoded on the stack and the string is built once from them, at its
// final size: neither filled with zeros first nor cut to size afterwards.
struct StringOut {
    static constexpr size_t kSmall = 128;
    String text;
    Char small[kSmall];
    size_t smallUsed = 0;
    bool inSmall = false;
    Char* Room(size_t units) {
        inSmall = units <= kSmall;
        if (inSmall)
            return small;
        text.resize(units);
        return text.data();
    }
    void Done(Char*, size_t, size_t used) {
        if (inSmall)
            smallUsed = used;
        else
            text.resize(used);
    }
    // Constructed in the caller's return slot.
    String Take() {
        if (inSmall)
            return String(small, smallUsed);
        return std::move(text);
    }
};

struct ArenaOut {
    TTextArena& arena;
    StringView view;
    Char* Room(size_t units) { return units != 0 ? arena.Allocate(units) : nullptr; }
    void Done(Char* room, size_t units, size_t used) {
        if (room != nullptr)
            arena.Shrink(room, units, used);
        view = StringView(room, used);
    }
};

}  // namespace

template <class Out>
void TReader::ReadTextTo(Out& out, std::uint64_t count, size_t (*decode)(std::string_view, Char*)) {
    if (count > end_ - pos_)
        return ReadSplitTextTo(out, count, decode);
    const auto units = static_cast<size_t>(count);
    const std::string_view bytes(reinterpret_cast<const char*>(data_ + pos_), units);
    pos_ += units;
    Char* room = out.Room(units);
    out.Done(room, units, decode(bytes, room));
}

// Text that runs past the buffered bytes is gathered first.
template <class Out>
void TReader::ReadSplitTextTo(Out& out, std::uint64_t count,
                              size_t (*decode)(std::string_view, Char*)) {
    RequireAvailable(count);
    const auto units = static_cast<size_t>(count);
    std::string bytes(units, '\0');
    Read(bytes.data(), static_cast<std::int64_t>(count));
    Char* room = out.Room(units);
    out.Done(room, units, decode(bytes, room));
}

template <class Out>
void TReader::ReadUtf16To(Out& out, std::uint64_t count) {
    const auto units = static_cast<size_t>(count);
    const size_t bytes = units * sizeof(Char);
    if (bytes > end_ - pos_)
        RequireAvailable(count * sizeof(Char));
    Char* room = out.Room(units);
    if (bytes <= end_ - pos_) {
        if (bytes != 0)  // an empty text has no room to copy into
            std::memcpy(room, data_ + pos_, bytes);
        pos_ += bytes;
    } else {
        Read(room, static_cast<std::int64_t>(bytes));
    }
    if constexpr (std::endian::native == std::endian::big) {
        for (size_t i = 0; i < units; ++i)
            room[i] = static_cast<Char>((room[i] >> 8) | (room[i] << 8));
    }
    out.Done(room, units, units);
}

template <class Out>
void TReader::ReadStringTo(Out& out) {
    switch (PeekValue()) {
        case TValueType::vaString:
            ConsumeValue();
            return ReadTextTo(out, ReadByte(), Cp1252ToUtf16);
        case TValueType::vaLString:
            ConsumeValue();
            return ReadTextTo(out, ReadLE<std::uint32_t>(), Cp1252ToUtf16);
        case TValueType::vaWString:
            ConsumeValue();
            return ReadUtf16To(out, ReadLE<std::uint32_t>());
        case TValueType::vaUTF8String:
            ConsumeValue();
            return ReadTextTo(out, ReadLE<std::uint32_t>(), Utf8ToUtf16);
        default:
            PropValueError();
    }
}

String TReader::ReadText(std::uint64_t count, size_t (*decode)(std::string_view, Char*)) {
    StringOut out;
    ReadTextTo(out, count, decode);
    return out.Take();
}

void TReader::SkipBytes(std::uint64_t count) {
    RequireAvailable(count);
    const size_t inBuffer = end_ - pos_;
    if (count <= inBuffer) {
        pos_ += static_cast<size_t>(count);
        return;
    }
    const auto beyond = static_cast<std::int64_t>(count - inBuffer);
    bufferStart_ += static_cast<std::int64_t>(end_) + beyond;
    pos_ = end_ = 0;
    stream_.Seek(beyond, TSeekOrigin::soCurrent);
}

std::int64_t TReader::Position() const {
    return bufferStart_ + static_cast<std::int64_t>(pos_);
}

bool TReader::AtEnd() {
    return pos_ == end_ && Position() >= stream_.Size();
}

TValueType TReader::ReadValue() {
    return static_cast<TValueType>(ReadByte());
}

TValueType TReader::NextValue() {
    return PeekValue();
}

std::int32_t TReader::ReadIntegerSlow() {
    switch (PeekValue()) {
        case TValueType::vaInt8:
            ConsumeValue();
            return ReadLE<std::int8_t>();
        case TValueType::vaInt16:
            ConsumeValue();
            return ReadLE<std::int16_t>();
        case TValueType::vaInt32:
            ConsumeValue();
            return ReadLE<std::int32_t>();
        default:
            PropValueError();
    }
}

std::int64_t TReader::ReadInt64Slow() {
    if (PeekValue() != TValueType::vaInt64)
        return ReadInteger();
    ConsumeValue();
    return ReadLE<std::int64_t>();
}

bool TReader::ReadBooleanSlow() {
    const TValueType kind = PeekValue();
    if (kind != TValueType::vaFalse && kind != TValueType::vaTrue)
        PropValueError();
    ConsumeValue();
    return kind == TValueType::vaTrue;
}

String TReader::ReadString() {
    StringOut out;
    ReadStringTo(out);
    return out.Take();
}

StringView TReader::ReadString(TTextArena& arena) {
    ArenaOut out{arena, {}};
    ReadStringTo(out);
    return out.view;
}

Char TReader::ReadChar() {
    const String text = ReadString();
    if (text.size() != 1)
        PropValueError();
    return text[0];
}

String TReader::ReadIdent() {
    switch (PeekValue()) {
        case TValueType::vaIdent:
            ConsumeValue();
            return ReadText(ReadByte(), Cp1252ToUtf16);
        case TValueType::vaFalse:
            ConsumeValue();
            return u"False";
        case TValueType::vaTrue:
            ConsumeValue();
            return u"True";
        case TValueType::vaNull:
            ConsumeValue();
            return u"Null";
        case TValueType::vaNil:
            ConsumeValue();
            return u"nil";
        default:
            PropValueError();
    }
}

double TReader::ReadFloatSlow() {
    switch (PeekValue()) {
        case TValueType::vaExtended: {
            ConsumeValue();
            TExtended80 bytes;
            if (end_ - pos_ >= bytes.size()) {
                std::memcpy(bytes.data(), data_ + pos_, bytes.size());
                pos_ += bytes.size();
            } else {
                Read(bytes.data(), static_cast<std::int64_t>(bytes.size()));
            }
            return ExtendedToDouble(bytes);
        }
        case TValueType::vaSingle:
            return ReadSingle();
        case TValueType::vaCurrency:
            return static_cast<double>(ReadCurrency()) / 10000.0;
        case TValueType::vaDate:
            return ReadDate();
        default:
            return ReadDouble();
    }
}

double TReader::ReadDoubleOrInteger(TValueType kind) {
    if (PeekValue() != kind)
        return static_cast<double>(ReadInt64());
    ConsumeValue();
    return std::bit_cast<double>(ReadLE<std::uint64_t>());
}

double TReader::ReadDouble() {
    return ReadDoubleOrInteger(TValueType::vaDouble);
}

double TReader::ReadDate() {
    return ReadDoubleOrInteger(TValueType::vaDate);
}

float TReader::ReadSingle() {
    if (PeekValue() != TValueType::vaSingle)
        return static_cast<float>(ReadInt64());
    ConsumeValue();
    return std::bit_cast<float>(ReadLE<std::uint32_t>());
}

std::int64_t TReader::ReadCurrency() {
    if (PeekValue() != TValueType::vaCurrency)
        return static_cast<std::int64_t>(ReadInteger()) * 10000;
    ConsumeValue();
    return ReadLE<std::int64_t>();
}

std::vector<std::uint8_t> TReader::ReadBinary() {
    if (PeekValue() != TValueType::vaBinary)
        PropValueError();
    ConsumeValue();
    const std::uint32_t count = ReadLE<std::uint32_t>();
    RequireAvailable(count);
    std::vector<std::uint8_t> bytes(count);
    Read(bytes.data(), count);
    return bytes;
}

void TReader::ReadListBegin() {
    if (PeekValue() != TValueType::vaList)
        PropValueError();
    ConsumeValue();
}

void TReader::ReadListEnd() {
    if (PeekValue() != TValueType::vaNull)
        PropValueError();
    ConsumeValue();
}

bool TReader::EndOfList() {
    return PeekValue() == TValueType::vaNull;
}

void TReader::SkipSet() {
    for (std::uint8_t length = ReadByte(); length != 0; length = ReadByte())
        SkipBytes(length);
}

void TReader::SkipValue() {
    // Iterative, so that deeply nested lists in a damaged stream cannot exhaust the stack.
    std::uint64_t openLists = 0;
    do {
        switch (static_cast<TValueType>(ReadByte())) {
            case TValueType::vaNull:
                if (openLists > 0)
                    --openLists;
                break;
            case TValueType::vaList:
            case TValueType::vaCollection:
                ++openLists;
                break;
            case TValueType::vaFalse:
            case TValueType::vaTrue:
            case TValueType::vaNil:
                break;
            case TValueType::vaInt8:
                SkipBytes(1);
                break;
            case TValueType::vaInt16:
                SkipBytes(2);
                break;
            case TValueType::vaInt32:
            case TValueType::vaSingle:
                SkipBytes(4);
                break;
            case TValueType::vaInt64:
            case TValueType::vaCurrency:
            case TValueType::vaDate:
            case TValueType::vaDouble:
                SkipBytes(8);
                break;
            case TValueType::vaExtended:
                SkipBytes(10);
                break;
            case TValueType::vaString:
            case TValueType::vaIdent:
                SkipBytes(ReadByte());
                break;
            case TValueType::vaBinary:
            case TValueType::vaLString:
            case TValueType::vaUTF8String:
                SkipBytes(ReadLE<std::uint32_t>());
                break;
            case TValueType::vaWString:
                SkipBytes(std::uint64_t{ReadLE<std::uint32_t>()} * sizeof(Char));
                break;
            case TValueType::vaSet:
                SkipSet();
                break;
            default:
                --pos_;
                PropValueError();
        }
    } while (openLists > 0);
}

}  // namespace kw
