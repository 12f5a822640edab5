#include "kwpkg/json_fields.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/text/unicode.h"

namespace kwpkg {

using kw::Char;
using kw::String;

namespace {

bool IsPlain(const Json& value) {
    return !value.is_object() && !value.is_array();
}

bool HoldsOnlyPlainValues(const Json& value) {
    for (const Json& item : value) {
        if (!IsPlain(item))
            return false;
    }
    return true;
}

std::string Plain(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::strict);
}

void Append(std::string& out, const Json& value, int depth) {
    if (IsPlain(value)) {
        out += Plain(value);
        return;
    }
    const bool object = value.is_object();
    const bool oneLine = value.empty() || HoldsOnlyPlainValues(value);
    const std::string inner(static_cast<size_t>(depth + 1) * 2, ' ');
    out += object ? '{' : '[';
    bool first = true;
    for (auto it = value.begin(); it != value.end(); ++it) {
        out += first ? "" : ",";
        out += oneLine ? (first ? "" : " ") : "\n" + inner;
        if (object)
            out += Plain(it.key()) + ": ";
        Append(out, *it, depth + 1);
        first = false;
    }
    if (!oneLine)
        out += "\n" + std::string(static_cast<size_t>(depth) * 2, ' ');
    out += object ? '}' : ']';
}

}  // namespace

namespace {

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

std::string ToBase64(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = std::min<size_t>(3, bytes.size() - i);
        std::uint32_t chunk = 0;
        for (size_t k = 0; k < 3; ++k)
            chunk = (chunk << 8) | (k < n ? bytes[i + k] : 0);
        for (size_t k = 0; k < 4; ++k)
            text.push_back(k <= n ? kBase64[(chunk >> (18 - 6 * k)) & 63] : '=');
    }
    return text;
}

std::vector<std::uint8_t> FromBase64(const std::string& text, const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::uint32_t chunk = 0;
    int bits = 0;
    for (char c : text) {
        if (c == '=')
            break;
        const char* at = std::strchr(kBase64, c);
        if (c == '\0' || at == nullptr)
            throw TKwPkgError(path + ": not base64 text");
        chunk = (chunk << 6) | static_cast<std::uint32_t>(at - kBase64);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes.push_back(static_cast<std::uint8_t>(chunk >> bits));
        }
    }
    return bytes;
}

std::string FormatJson(const Json& value) {
    std::string out;
    Append(out, value, 0);
    return out + "\n";
}

Json ToJson(kw::StringView text) {
    return kw::StringToUtf8(text);
}

Json ToJson(const std::vector<String>& texts) {
    Json array = Json::array();
    for (const String& text : texts)
        array.push_back(ToJson(text));
    return array;
}

Json EnumToJson(int value, const std::vector<const char*>& names) {
    if (value >= 0 && static_cast<size_t>(value) < names.size())
        return names[static_cast<size_t>(value)];
    return value;
}

TJsonFields::TJsonFields(const Json& object, std::string path)
    : object_(object), path_(std::move(path)) {
    if (!object_.is_object())
        throw TKwPkgError((path_.empty() ? std::string("the source") : path_) +
                          " must be a JSON object");
}

std::string TJsonFields::PathOf(const char* key) const {
    return path_.empty() ? std::string(key) : path_ + "." + key;
}

void TJsonFields::Fail(const char* key, const std::string& what) const {
    throw TKwPkgError(PathOf(key) + ": " + what);
}

const Json* TJsonFields::Member(const char* key, bool required) {
    read_.insert(key);
    const auto found = object_.find(key);
    if (found == object_.end()) {
        if (required)
            Fail(key, "missing");
        return nullptr;
    }
    return &*found;
}

std::int32_t TJsonFields::Integer(const char* key, std::optional<std::int32_t> fallback) {
    const Json* value = Member(key, !fallback);
    if (value == nullptr)
        return *fallback;
    if (!value->is_number_integer())
        Fail(key, "expected an integer");
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    const bool fits =
        value->is_number_unsigned()
            ? value->get<std::uint64_t>() <= static_cast<std::uint64_t>(kMax)
            : value->get<std::int64_t>() >= kMin && value->get<std::int64_t>() <= kMax;
    if (!fits)
        Fail(key, "out of the 32-bit range");
    const auto number = value->get<std::int64_t>();
    return static_cast<std::int32_t>(number);
}

bool TJsonFields::Boolean(const char* key, std::optional<bool> fallback) {
    const Json* value = Member(key, !fallback);
    if (value == nullptr)
        return *fallback;
    if (!value->is_boolean())
        Fail(key, "expected true or false");
    return value->get<bool>();
}

double TJsonFields::Number(const char* key, std::optional<double> fallback) {
    const Json* value = Member(key, !fallback);
    if (value == nullptr)
        return *fallback;
    if (!value->is_number())
        Fail(key, "expected a number");
    return value->get<double>();
}

String TJsonFields::Text(const char* key, std::optional<String> fallback) {
    const Json* value = Member(key, !fallback);
    if (value == nullptr)
        return *fallback;
    if (!value->is_string())
        Fail(key, "expected a string");
    return kw::Utf8ToString(value->get_ref<const std::string&>());
}

Char TJsonFields::Character(const char* key, std::optional<Char> fallback) {
    const String text =
        Text(key, fallback ? std::optional<String>(String(1, *fallback)) : std::nullopt);
    if (text.size() != 1)
        Fail(key, "expected a single character");
    return text.front();
}

std::vector<String> TJsonFields::Texts(const char* key,
                                       std::optional<std::vector<String>> fallback) {
    const Json* value = Member(key, !fallback);
    if (value == nullptr)
        return *fallback;
    if (!value->is_array())
        Fail(key, "expected an array of strings");
    std::vector<String> texts;
    for (const Json& item : *value) {
        if (!item.is_string())
            Fail(key, "expected an array of strings");
        texts.push_back(kw::Utf8ToString(item.get_ref<const std::string&>()));
    }
    return texts;
}

std::int32_t TJsonFields::Enum(const char* key, const std::vector<const char*>& names,
                               std::optional<std::int32_t> fallback) {
    const Json* value = Member(key, !fallback);
    if (value == nullptr)
        return *fallback;
    if (value->is_string()) {
        const std::string& name = value->get_ref<const std::string&>();
        for (size_t i = 0; i < names.size(); ++i) {
            if (name == names[i])
                return static_cast<std::int32_t>(i);
        }
        std::string known;
        for (const char* n : names)
            known += std::string(known.empty() ? "" : ", ") + n;
        Fail(key, "unknown value \"" + name + "\" (expected one of " + known + ")");
    }
    return Integer(key);
}

const Json* TJsonFields::Array(const char* key) {
    const Json* value = Member(key, false);
    if (value != nullptr && !value->is_array())
        Fail(key, "expected an array");
    return value;
}

const Json* TJsonFields::Object(const char* key) {
    const Json* value = Member(key, false);
    if (value != nullptr && !value->is_object())
        Fail(key, "expected an object");
    return value;
}

void TJsonFields::Finish() const {
    for (const auto& member : object_.items()) {
        if (read_.count(member.key()) == 0)
            throw TKwPkgError(PathOf(member.key().c_str()) + ": unknown key");
    }
}

}  // namespace kwpkg
