#include "framework/pkg_header.h"

#include <array>

#include "framework/errors.h"
#include "platform/core/filer.h"
#include "platform/text/strings.h"

namespace kw {

String TKwPkgHeader::SignatureFor(StringView word) {
    return u"\x01"
           u"123456789"
           u"\x01" +
           String(word);
}

void TKwPkgHeader::Write(TWriter& writer) const {
    std::array<std::uint8_t, kSize> raw{};
    const size_t length = std::min<size_t>(signature.size(), kMaxSignature);
    raw[0] = static_cast<std::uint8_t>(length);
    for (size_t i = 0; i < length; ++i)
        raw[1 + i] = static_cast<std::uint8_t>(signature[i]);
    raw[32] = static_cast<std::uint8_t>(version & 0xFF);
    raw[33] = static_cast<std::uint8_t>(version >> 8);
    writer.Write(raw.data(), kSize);
}

TKwPkgHeader TKwPkgHeader::Read(TReader& reader) {
    std::array<std::uint8_t, kSize> raw{};
    reader.Read(raw.data(), kSize);
    TKwPkgHeader header;
    const size_t length = std::min<size_t>(raw[0], kMaxSignature);
    for (size_t i = 0; i < length; ++i)
        header.signature.push_back(raw[1 + i]);
    header.version = static_cast<std::uint16_t>(raw[32] | (raw[33] << 8));
    return header;
}

bool TKwPkgHeader::HasSignature(StringView word) const {
    return SameText(signature, SignatureFor(word));
}

int KwReadPkgHeader(TReader& reader, const TKwPkgFormat& format, StringView argument,
                    StringView source) {
    const TKwPkgHeader header = TKwPkgHeader::Read(reader);
    if (!header.HasSignature(format.word)) {
        KwExceptPkgArgs(source, u"System", format.wrongSignatureMessage, {argument});
    }
    if (header.version > format.newestVersion) {
        KwExceptPkgArgs(source, u"System", format.newerVersionMessage, {argument});
    }
    return header.version;
}

void KwWritePkgHeader(TWriter& writer, const TKwPkgFormat& format) {
    TKwPkgHeader{TKwPkgHeader::SignatureFor(format.word),
                 static_cast<std::uint16_t>(format.newestVersion)}
        .Write(writer);
}

}  // namespace kw
