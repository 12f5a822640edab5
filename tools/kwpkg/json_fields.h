#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/core/types.h"

namespace kwpkg {

// Keys keep the order they were written in, so dumps are stable and read like the payload.
using Json = nlohmann::ordered_json;

// A failure of the tool; the message is one line.
class TKwPkgError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Indented JSON text in which objects and arrays holding only plain values stay on one line, so
// that a dump reads like the sources: one item per line.
std::string FormatJson(const Json& value);

// Binary blocks travel as base64 text; `path` names the member in a decoding error.
std::string ToBase64(const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> FromBase64(const std::string& text, const std::string& path);

Json ToJson(kw::StringView text);
Json ToJson(const std::vector<kw::String>& texts);
// The name of `value` in `names`, or the bare number for a value outside them.
Json EnumToJson(int value, const std::vector<const char*>& names);

// Reads the members of one JSON object: each getter checks the member's type (a missing member
// takes its fallback or is an error without one), and Finish rejects members nobody asked for,
// so that misspelt keys do not pass unnoticed. Errors name the member's path ("labels[3].id").
class TJsonFields {
public:
    TJsonFields(const Json& object, std::string path);

    std::int32_t Integer(const char* key, std::optional<std::int32_t> fallback = {});
    bool Boolean(const char* key, std::optional<bool> fallback = {});
    double Number(const char* key, std::optional<double> fallback = {});
    kw::String Text(const char* key, std::optional<kw::String> fallback = {});
    // A text of exactly one UTF-16 unit.
    kw::Char Character(const char* key, std::optional<kw::Char> fallback = {});
    std::vector<kw::String> Texts(const char* key,
                                  std::optional<std::vector<kw::String>> fallback = {});
    // A name from `names` or a number.
    std::int32_t Enum(const char* key, const std::vector<const char*>& names,
                      std::optional<std::int32_t> fallback = {});
    // Absent members give none.
    const Json* Array(const char* key);
    const Json* Object(const char* key);

    void Finish() const;
    std::string PathOf(const char* key) const;
    const std::string& Path() const { return path_; }

private:
    const Json* Member(const char* key, bool required);
    [[noreturn]] void Fail(const char* key, const std::string& what) const;

    const Json& object_;
    std::string path_;
    std::set<std::string> read_;
};

}  // namespace kwpkg
