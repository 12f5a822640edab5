#include "packages/privileges_formats.h"

#include <array>
#include <string>

#include "framework/pkg_formats.h"
#include "platform/core/exception.h"
#include "platform/core/filer.h"
#include "platform/text/unicode.h"

namespace kw {

namespace {

constexpr Char kAccessMask = 0x3C3C;
constexpr std::uint8_t kAnsiMask = 0x3C;
constexpr Char kVisiblesMask = 0x003C;
// The newest access version whose strings are still 8-bit values.
constexpr int kLastAnsiAccessVersion = 2;

String Xored(StringView text, Char mask) {
    String result(text);
    for (Char& c : result)
        c = static_cast<Char>(c ^ mask);
    return result;
}

// Reads `count` raw bytes in pieces, so that a damaged length cannot make the reader allocate
// more than the stream holds.
std::string ReadRawBytes(TReader& reader, std::uint64_t count) {
    std::string bytes;
    std::array<char, 4096> piece{};
    while (count > 0) {
        const std::uint64_t size = std::min<std::uint64_t>(count, piece.size());
        reader.Read(piece.data(), static_cast<std::int64_t>(size));
        bytes.append(piece.data(), size);
        count -= size;
    }
    return bytes;
}

std::uint32_t ReadRawLength(TReader& reader, int bytes) {
    std::array<std::uint8_t, 4> raw{};
    reader.Read(raw.data(), bytes);
    return raw[0] | (raw[1] << 8) | (raw[2] << 16) | (static_cast<std::uint32_t>(raw[3]) << 24);
}

String ReadScrambledAnsi(TReader& reader) {
    const TValueType kind = reader.NextValue();
    if (kind != TValueType::vaString && kind != TValueType::vaLString)
        throw EReadError(u"ReadAnsiEncode:PropValueError");
    reader.ReadValue();
    const std::uint32_t length = ReadRawLength(reader, kind == TValueType::vaString ? 1 : 4);
    std::string bytes = ReadRawBytes(reader, length);
    for (char& b : bytes)
        b = static_cast<char>(static_cast<std::uint8_t>(b) ^ kAnsiMask);
    return Cp1252ToString(bytes);
}

String ReadScrambled(TReader& reader, TKwRightsKind kind, int version) {
    return kind == TKwRightsKind::rkAccess ? KwReadScrambledAccess(reader, version)
                                           : KwReadScrambledVisibles(reader);
}

void WriteScrambled(TWriter& writer, TKwRightsKind kind, StringView text) {
    if (kind == TKwRightsKind::rkAccess) {
        KwWriteScrambledAccess(writer, text);
    } else {
        KwWriteScrambledVisibles(writer, text);
    }
}

}  // namespace

// --- Scrambled strings ---------------------------------------------------------------------

String KwReadScrambledAccess(TReader& reader, int version) {
    if (version <= kLastAnsiAccessVersion)
        return ReadScrambledAnsi(reader);
    const std::uint32_t count = ReadRawLength(reader, 2);
    const std::string bytes = ReadRawBytes(reader, std::uint64_t{count} * 2);
    String text(count, u'\0');
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto lo = static_cast<std::uint8_t>(bytes[2 * i]);
        const auto hi = static_cast<std::uint8_t>(bytes[2 * i + 1]);
        text[i] = static_cast<Char>((lo | (hi << 8)) ^ kAccessMask);
    }
    return text;
}

void KwWriteScrambledAccess(TWriter& writer, StringView text) {
    // The count is 16 bits wide; longer texts are cut rather than written unreadable.
    const size_t count = std::min<size_t>(text.size(), 0xFFFF);
    std::string bytes;
    bytes.reserve(2 + 2 * count);
    bytes.push_back(static_cast<char>(count & 0xFF));
    bytes.push_back(static_cast<char>(count >> 8));
    for (size_t i = 0; i < count; ++i) {
        const Char c = static_cast<Char>(text[i] ^ kAccessMask);
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    writer.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

String KwReadScrambledVisibles(TReader& reader) {
    return Xored(reader.ReadString(), kVisiblesMask);
}

void KwWriteScrambledVisibles(TWriter& writer, StringView text) {
    writer.WriteString(Xored(text, kVisiblesMask));
}

// --- Rights files --------------------------------------------------------------------------

const TKwPkgFormat& KwRightsFormat(TKwRightsKind kind) {
    return kind == TKwRightsKind::rkAccess ? kKwFormatAccess : kKwFormatVisibles;
}

TKwRightsFile KwReadRightsFile(TReader& reader, TKwRightsKind kind, StringView argument,
                               StringView source) {
    TKwRightsFile file;
    file.version = KwReadPkgHeader(reader, KwRightsFormat(kind), argument, source);
    file.description = reader.ReadString();
    KwReadRightsBody(reader, kind, file);
    return file;
}

void KwReadRightsBody(TReader& reader, TKwRightsKind kind, TKwRightsFile& file) {
    file.appKey = ReadScrambled(reader, kind, file.version);
    file.fileName = ReadScrambled(reader, kind, file.version);
    if (file.version >= 2)
        file.key = ReadScrambled(reader, kind, file.version);
    const std::int32_t count = reader.ReadInteger();
    for (std::int32_t i = 0; i < count; ++i) {
        TKwRightsPair pair;
        pair.id = reader.ReadInteger();
        pair.value = kind == TKwRightsKind::rkAccess
                         ? reader.ReadInteger()
                         : static_cast<std::int32_t>(reader.ReadBoolean());
        file.pairs.push_back(pair);
    }
}

void KwWriteRightsFile(TWriter& writer, TKwRightsKind kind, const TKwRightsFile& file) {
    KwWritePkgHeader(writer, KwRightsFormat(kind));
    writer.WriteString(file.description);
    WriteScrambled(writer, kind, file.appKey);
    WriteScrambled(writer, kind, file.fileName);
    WriteScrambled(writer, kind, file.key);
    writer.WriteInteger(static_cast<std::int32_t>(file.pairs.size()));
    for (const TKwRightsPair& pair : file.pairs) {
        writer.WriteInteger(pair.id);
        if (kind == TKwRightsKind::rkAccess) {
            writer.WriteInteger(pair.value);
        } else {
            writer.WriteBoolean(pair.value != 0);
        }
    }
}

// --- Template files ------------------------------------------------------------------------

namespace {

TKwTemplateRecord ReadTemplateRecord(TReader& reader, int version) {
    TKwTemplateRecord record;
    record.id = reader.ReadInteger();
    if (record.id < 0)
        return record;
    if (version >= 4)
        record.parentId = reader.ReadInteger();
    record.description = reader.ReadString();
    record.labelPkg = reader.ReadString();
    record.labelId = reader.ReadInteger();
    record.access = reader.ReadInteger();
    if (version >= 3)
        record.visible = reader.ReadBoolean();
    if (version >= 5) {
        record.imagePkg = reader.ReadString();
        record.imageId = reader.ReadInteger();
    }
    return record;
}

}  // namespace

TKwTemplateFile KwReadTemplateFile(TReader& reader, StringView argument, StringView source) {
    TKwTemplateFile file;
    file.version = KwReadPkgHeader(reader, kKwFormatTemplate, argument, source);
    if (file.version >= 2)
        file.description = reader.ReadString();
    const std::int32_t count = reader.ReadInteger();
    for (std::int32_t i = 0; i < count; ++i) {
        TKwTemplateRecord record = ReadTemplateRecord(reader, file.version);
        if (record.id < 0)
            break;
        file.records.push_back(std::move(record));
    }
    return file;
}

void KwWriteTemplateFile(TWriter& writer, const TKwTemplateFile& file) {
    KwWritePkgHeader(writer, kKwFormatTemplate);
    writer.WriteString(file.description);
    writer.WriteInteger(static_cast<std::int32_t>(file.records.size()));
    for (const TKwTemplateRecord& record : file.records) {
        writer.WriteInteger(record.id);
        writer.WriteInteger(record.parentId);
        writer.WriteString(record.description);
        writer.WriteString(record.labelPkg);
        writer.WriteInteger(record.labelId);
        writer.WriteInteger(record.access);
        writer.WriteBoolean(record.visible);
        writer.WriteString(record.imagePkg);
        writer.WriteInteger(record.imageId);
    }
}

}  // namespace kw
