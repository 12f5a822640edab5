#pragma once

#include <cstdint>

#include "platform/core/types.h"

namespace kw {

class TReader;
class TWriter;

// The 34-byte record that opens every package stream: a short string of capacity 31 holding
// the signature, then the format version as an unsigned 16-bit little-endian number.
struct TKwPkgHeader {
    static constexpr int kSize = 34;
    static constexpr int kMaxSignature = 31;

    String signature;
    std::uint16_t version = 0;

    // The signature of a file kind: 0x01, "123456789", 0x01, then the kind's word.
    static String SignatureFor(StringView word);

    void Write(TWriter& writer) const;
    static TKwPkgHeader Read(TReader& reader);
    // Signatures compare without regard to ASCII letter case.
    bool HasSignature(StringView word) const;
};

// What a reader of one package kind checks in the header: the signature word, the newest
// version it knows, and the "System" messages raised for a wrong signature or a newer version.
struct TKwPkgFormat {
    const Char* word;
    int newestVersion;
    int wrongSignatureMessage;
    int newerVersionMessage;
};

// Reads the header and checks it against `format`, raising the format's numbered messages
// with `argument` (normally the disk file name) and `source`. Returns the stored version.
int KwReadPkgHeader(TReader& reader, const TKwPkgFormat& format, StringView argument,
                    StringView source);
void KwWritePkgHeader(TWriter& writer, const TKwPkgFormat& format);

}  // namespace kw
