#pragma once

#include <cstdint>
#include <vector>

#include "framework/pkg_header.h"
#include "platform/core/types.h"

namespace kw {

class TReader;
class TWriter;

// The three privileges files as they are stored, before anything is applied to a package. The
// package checks names and keys and skips unknown ids; tools see every value as written.

// One pair of an access file (the access level) or a visibles file (0 or 1).
struct TKwRightsPair {
    std::int32_t id = 0;
    std::int32_t value = 0;
};

enum class TKwRightsKind : std::uint8_t { rkAccess, rkVisibles };

// An access or visibles file. `appKey` is the application key the file was written under,
// `fileName` the bare name of the file it was written to (empty in a blob), `key` the
// package's own key (not stored before version 2).
struct TKwRightsFile {
    int version = 0;
    String description;
    String appKey;
    String fileName;
    String key;
    std::vector<TKwRightsPair> pairs;
};

// One entry of a template file. Before version 4 there are no parents (-1); before version 3
// every entry is visible; before version 5 there is no image reference (empty name, -1).
struct TKwTemplateRecord {
    std::int32_t id = -1;
    std::int32_t parentId = -1;
    String description;
    String labelPkg;
    std::int32_t labelId = -1;
    std::int32_t access = 2;
    bool visible = true;
    String imagePkg;
    std::int32_t imageId = -1;
};

// A template file; the description is stored from version 2 on. A negative id ends the list
// early, so `records` can be shorter than the stored count.
struct TKwTemplateFile {
    int version = 0;
    String description;
    std::vector<TKwTemplateRecord> records;
};

const TKwPkgFormat& KwRightsFormat(TKwRightsKind kind);

// Readers check the header (wrong kind, newer version: the format's messages with `argument`
// and `source`); damaged data raises the filer's read error. Writers write the newest version.
TKwRightsFile KwReadRightsFile(TReader& reader, TKwRightsKind kind, StringView argument,
                               StringView source);
// What follows the header and the description, for readers that took those themselves.
void KwReadRightsBody(TReader& reader, TKwRightsKind kind, TKwRightsFile& file);
void KwWriteRightsFile(TWriter& writer, TKwRightsKind kind, const TKwRightsFile& file);
TKwTemplateFile KwReadTemplateFile(TReader& reader, StringView argument, StringView source);
void KwWriteTemplateFile(TWriter& writer, const TKwTemplateFile& file);

// The scrambled strings of the rights files. Access files from version 3 carry a raw 16-bit
// count and the UTF-16 units XORed with 0x3C3C; older access files an 8-bit string value whose
// bytes are XORed with 0x3C; visibles files a string value whose units are XORed with 0x003C.
String KwReadScrambledAccess(TReader& reader, int version);
void KwWriteScrambledAccess(TWriter& writer, StringView text);
String KwReadScrambledVisibles(TReader& reader);
void KwWriteScrambledVisibles(TWriter& writer, StringView text);

}  // namespace kw
