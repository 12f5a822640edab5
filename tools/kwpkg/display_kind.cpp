#include <cctype>
#include <cstdio>

#include "display/display_package.h"
#include "display/image_package.h"
#include "display/memory_image.h"
#include "framework/pkg_formats.h"
#include "kwpkg/image_kinds.h"
#include "kwpkg/package_json.h"
#include "packages/memory_refs.h"
#include "packages/package_scopes.h"
#include "platform/text/string_list.h"
#include "platform/text/unicode.h"
#include "platform/ui/screen.h"

namespace kwpkg {

namespace {

const std::vector<const char*> kBackGroundStyles{
    "bgsSolid",     "bgsUp",           "bgsDown",       "bgsLeft",        "bgsRight",
    "bgsHorzIn",    "bgsHorzOut",      "bgsVertIn",     "bgsVertOut",     "bgsStretchImage",
    "bgsTileImage", "bgsLeftTop",      "bgsLeftCenter", "bgsLeftBottom",  "bgsCenterTop",
    "bgsCenter",    "bgsCenterBottom", "bgsRightTop",   "bgsRightCenter", "bgsRightBottom",
    "bgsGrid"};
const std::vector<const char*> kPitches{"default", "variable", "fixed"};

// Colours read as "#RRGGBB", "system:N" (a platform system colour), "none", or "0xXXXXXXXX" for
// any other stored value, so that every file keeps its exact bits.
std::string ColorText(kw::TColor color) {
    char text[16];
    if (color == kw::clNone)
        return "none";
    if (kw::IsSystemColor(color)) {
        std::snprintf(text, sizeof text, "system:%u", static_cast<unsigned>(color & 0xFFFFFF));
    } else if ((color & 0xFF000000) == 0) {
        std::snprintf(text, sizeof text, "#%02X%02X%02X", kw::GetRValue(color),
                      kw::GetGValue(color), kw::GetBValue(color));
    } else {
        std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(color));
    }
    return text;
}

bool ParseHex(const std::string& digits, kw::TColor& value) {
    if (digits.empty() || digits.size() > 8)
        return false;
    value = 0;
    for (char c : digits) {
        const int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                      : (c >= 'A' && c <= 'F')                    ? c - 'A' + 10
                      : (c >= 'a' && c <= 'f')                    ? c - 'a' + 10
                                                                  : -1;
        if (d < 0)
            return false;
        value = (value << 4) | static_cast<kw::TColor>(d);
    }
    return true;
}

kw::TColor ColorFromText(const std::string& text, const std::string& path) {
    kw::TColor value = 0;
    if (text == "none")
        return kw::clNone;
    if (text.size() == 7 && text[0] == '#' && ParseHex(text.substr(1), value))
        return kw::RGB(static_cast<kw::Byte>(value >> 16), static_cast<kw::Byte>(value >> 8),
                       static_cast<kw::Byte>(value));
    if (text.rfind("system:", 0) == 0 && text.size() > 7 && text.size() <= 10 &&
        text.find_first_not_of("0123456789", 7) == std::string::npos) {
        const unsigned long number = std::stoul(text.substr(7));
        if (number <= 0xFFFFFF)
            return kw::kSystemColorFlag | static_cast<kw::TColor>(number);
    }
    if (text.size() == 10 && text.rfind("0x", 0) == 0 && ParseHex(text.substr(2), value))
        return value;
    throw TKwPkgError(path + ": expected \"#RRGGBB\", \"system:N\", \"none\" or \"0xXXXXXXXX\"");
}

kw::TColor ReadColor(TJsonFields& fields, const char* key, kw::TColor fallback) {
    const kw::String text = fields.Text(key, kw::Utf8ToString(ColorText(fallback)));
    return ColorFromText(kw::StringToUtf8(text), fields.PathOf(key));
}

void SetHeadToJson(const kw::TKwPkgDisplaySet& set, Json& json) {
    json["name"] = ToJson(set.Name());
    json["description"] = ToJson(set.Description());
    json["descriptionPkgName"] = ToJson(set.DescriptionId().PkgName());
    json["descriptionId"] = set.DescriptionId().Id();
}

void SetHeadFromJson(TJsonFields& fields, kw::TKwPkgDisplaySet& set) {
    set.SetDescription(fields.Text("description", kw::String()));
    set.DescriptionId().PkgId(fields.Text("descriptionPkgName", kw::String()),
                              fields.Integer("descriptionId", -1));
}

Json ColorSetsToJson(const kw::TKwPkgDisplaySetsColor& sets) {
    Json array = Json::array();
    for (int i = 0; i < sets.Count(); ++i) {
        Json json;
        SetHeadToJson(sets.Items(i), json);
        json["color"] = ColorText(sets.Items(i).Color());
        array.push_back(std::move(json));
    }
    return array;
}

Json FontSetsToJson(const kw::TKwPkgDisplaySetsFont& sets) {
    Json array = Json::array();
    for (int i = 0; i < sets.Count(); ++i) {
        const kw::TFont& font = sets.Items(i).Font();
        Json json;
        SetHeadToJson(sets.Items(i), json);
        json["font"] = ToJson(font.Name());
        json["charset"] = font.Charset();
        json["pitch"] = EnumToJson(font.Pitch(), kPitches);
        json["height"] = font.Height();
        json["bold"] = font.HasStyle(kw::fsBold);
        json["italic"] = font.HasStyle(kw::fsItalic);
        json["underline"] = font.HasStyle(kw::fsUnderline);
        json["strikeOut"] = font.HasStyle(kw::fsStrikeOut);
        json["color"] = ColorText(font.Color());
        array.push_back(std::move(json));
    }
    return array;
}

Json BackGroundSetsToJson(const kw::TKwPkgDisplaySetsBackGround& sets) {
    Json array = Json::array();
    for (int i = 0; i < sets.Count(); ++i) {
        const kw::TKwPkgDisplaySetBackGround& set = sets.Items(i);
        Json json;
        SetHeadToJson(set, json);
        json["style"] = EnumToJson(set.Style(), kBackGroundStyles);
        json["startGraColor"] = ColorText(set.StartGraColor());
        json["endGraColor"] = ColorText(set.EndGraColor());
        json["solidColor"] = ColorText(set.SolidColor());
        json["imagePkgName"] = ToJson(set.Image().PkgName());
        json["imageId"] = set.Image().Id();
        json["transparent"] = set.Transparent();
        array.push_back(std::move(json));
    }
    return array;
}

// Calls `read` with the fields of each object of the array `key`, naming it by its index.
template <class F>
void ForEachItem(TJsonFields& fields, const char* key, F read) {
    const Json* items = fields.Array(key);
    if (items == nullptr)
        return;
    for (size_t i = 0; i < items->size(); ++i) {
        TJsonFields item((*items)[i], fields.PathOf(key) + "[" + std::to_string(i) + "]");
        read(item);
        item.Finish();
    }
}

void ColorSetsFromJson(TJsonFields& fields, kw::TKwPkgDisplay& display) {
    ForEachItem(fields, "colorSets", [&](TJsonFields& item) {
        auto& set = display.SetsColor().Add(item.Text("name"));
        SetHeadFromJson(item, set);
        set.SetColor(ReadColor(item, "color", kw::clNone));
    });
}

void FontSetsFromJson(TJsonFields& fields, kw::TKwPkgDisplay& display) {
    ForEachItem(fields, "fontSets", [&](TJsonFields& item) {
        auto& set = display.SetsFont().Add(item.Text("name"));
        SetHeadFromJson(item, set);
        kw::TFont& font = set.Font();
        font.SetName(item.Text("font", font.Name()));
        const std::int32_t charset = item.Integer("charset", font.Charset());
        if (charset < 0 || charset > 255)
            throw TKwPkgError(item.PathOf("charset") + ": expected 0 to 255");
        font.SetCharset(static_cast<kw::TFontCharset>(charset));
        const std::int32_t pitch = item.Enum("pitch", kPitches, font.Pitch());
        if (pitch < 0 || pitch > 2)
            throw TKwPkgError(item.PathOf("pitch") + ": expected default, variable or fixed");
        font.SetPitch(static_cast<kw::TFontPitch>(pitch));
        font.SetHeight(item.Integer("height", font.Height()));
        kw::TFontStyles style = 0;
        const std::pair<const char*, kw::TFontStyle> flags[] = {{"bold", kw::fsBold},
                                                                {"italic", kw::fsItalic},
                                                                {"underline", kw::fsUnderline},
                                                                {"strikeOut", kw::fsStrikeOut}};
        for (const auto& [key, flag] : flags) {
            if (item.Boolean(key, false))
                style = static_cast<kw::TFontStyles>(style | flag);
        }
        font.SetStyle(style);
        font.SetColor(ReadColor(item, "color", font.Color()));
    });
}

void BackGroundSetsFromJson(TJsonFields& fields, kw::TKwPkgDisplay& display) {
    ForEachItem(fields, "backgroundSets", [&](TJsonFields& item) {
        auto& set = display.SetsBackGround().Add(item.Text("name"));
        SetHeadFromJson(item, set);
        const std::int32_t style = item.Enum("style", kBackGroundStyles, kw::bgsSolid);
        if (style < 0 || style >= kw::kKwBackGroundStyles)
            throw TKwPkgError(item.PathOf("style") + ": unknown background style");
        set.SetStyle(static_cast<kw::TKwBackGroundStyle>(style));
        set.SetStartGraColor(ReadColor(item, "startGraColor", set.StartGraColor()));
        set.SetEndGraColor(ReadColor(item, "endGraColor", set.EndGraColor()));
        set.SetSolidColor(ReadColor(item, "solidColor", set.SolidColor()));
        set.Image().PkgId(item.Text("imagePkgName", kw::String()), item.Integer("imageId", -1));
        set.SetTransparent(item.Boolean("transparent", false));
    });
}

Json WindowFrameToJson(const kw::TKwPkgDisplay& d) {
    return {{"marginLeft", d.CWMarginLeft()},
            {"marginTop", d.CWMarginTop()},
            {"marginRight", d.CWMarginRight()},
            {"marginBottom", d.CWMarginBottom()},
            {"marginAfterTitle", d.CWMarginAfterTitle()},
            {"titleHeight", d.CWTitleHeight()},
            {"buttonsWidth", d.CWButtonsWidth()},
            {"buttonsHeight", d.CWButtonsHeight()},
            {"buttonsSpacing", d.CWButtonsSpacing()},
            {"buttonsMargin", d.CWButtonsMargin()},
            {"region", d.CWWinRgn()}};
}

void WindowFrameFromJson(const Json& source, const std::string& path, kw::TKwPkgDisplay& d) {
    TJsonFields f(source, path);
    d.SetCWMarginLeft(f.Integer("marginLeft", d.CWMarginLeft()));
    d.SetCWMarginTop(f.Integer("marginTop", d.CWMarginTop()));
    d.SetCWMarginRight(f.Integer("marginRight", d.CWMarginRight()));
    d.SetCWMarginBottom(f.Integer("marginBottom", d.CWMarginBottom()));
    d.SetCWMarginAfterTitle(f.Integer("marginAfterTitle", d.CWMarginAfterTitle()));
    d.SetCWTitleHeight(f.Integer("titleHeight", d.CWTitleHeight()));
    d.SetCWButtonsWidth(f.Integer("buttonsWidth", d.CWButtonsWidth()));
    d.SetCWButtonsHeight(f.Integer("buttonsHeight", d.CWButtonsHeight()));
    d.SetCWButtonsSpacing(f.Integer("buttonsSpacing", d.CWButtonsSpacing()));
    d.SetCWButtonsMargin(f.Integer("buttonsMargin", d.CWButtonsMargin()));
    d.SetCWWinRgn(f.Boolean("region", d.CWWinRgn()));
    f.Finish();
}

Json HintFrameToJson(const kw::TKwPkgDisplay& d) {
    return {{"marginLeft", d.HiMarginLeft()},
            {"marginTop", d.HiMarginTop()},
            {"marginRight", d.HiMarginRight()},
            {"marginBottom", d.HiMarginBottom()},
            {"region", d.HiWinRgn()}};
}

void HintFrameFromJson(const Json& source, const std::string& path, kw::TKwPkgDisplay& d) {
    TJsonFields f(source, path);
    d.SetHiMarginLeft(f.Integer("marginLeft", d.HiMarginLeft()));
    d.SetHiMarginTop(f.Integer("marginTop", d.HiMarginTop()));
    d.SetHiMarginRight(f.Integer("marginRight", d.HiMarginRight()));
    d.SetHiMarginBottom(f.Integer("marginBottom", d.HiMarginBottom()));
    d.SetHiWinRgn(f.Boolean("region", d.HiWinRgn()));
    f.Finish();
}

// The density a file was saved at is the screen's while the tool writes it, so that font sizes
// come out as the library would have stored them.
class TScreenDensity {
public:
    explicit TScreenDensity(int ppi) : saved_(kw::Screen().PixelsPerInch()) {
        kw::Screen().SetPixelsPerInch(ppi);
    }
    ~TScreenDensity() { kw::Screen().SetPixelsPerInch(saved_); }
    TScreenDensity(const TScreenDensity&) = delete;
    TScreenDensity& operator=(const TScreenDensity&) = delete;

private:
    int saved_;
};

}  // namespace

Json DumpDisplay(const TBytes& file) {
    kw::TKwPkgDisplay display;
    LoadQuietly(display, file);
    Json json;
    json["kind"] = "display";
    json["version"] = display.LoadedVersion();
    json["description"] = ToJson(display.Description());
    std::vector<kw::String> lines;
    for (int i = 0; i < display.UserColors().Count(); ++i)
        lines.push_back(display.UserColors().Strings(i));
    json["userColors"] = ToJson(lines);
    json["systemImages"] = ImagesToJson(display.SystemImages());
    json["userImages"] = ImagesToJson(display.UserImages());
    json["pixelsPerInch"] = display.LoadedPixelsPerInch();
    json["colorSets"] = ColorSetsToJson(display.SetsColor());
    json["fontSets"] = FontSetsToJson(display.SetsFont());
    json["backgroundSets"] = BackGroundSetsToJson(display.SetsBackGround());
    json["updateDateTime"] = display.UpdateDateTime();
    json["lastUpdateFile"] = ToJson(display.LastUpdateFile());
    json["windowFrame"] = WindowFrameToJson(display);
    json["hintFrame"] = HintFrameToJson(display);
    return json;
}

TBytes BuildDisplay(const Json& source) {
    TJsonFields fields(source, "");
    CheckKind(fields, "display");
    if (SourceVersion(fields, kw::kKwFormatDisplay) != kw::kKwFormatDisplay.newestVersion)
        throw TKwPkgError(fields.PathOf("version") + ": only the newest version is written");
    const std::int32_t ppi = fields.Integer("pixelsPerInch", kw::Screen().PixelsPerInch());
    if (ppi <= 0)
        throw TKwPkgError(fields.PathOf("pixelsPerInch") + ": expected a positive number");
    TScreenDensity density(ppi);
    kw::TKwPkgDisplay display;
    {
        // Sets of one name may repeat in a file; loading state keeps them as the reader does.
        kw::TKwLoadingScope loading(display);
        display.SetDescription(fields.Text("description", kw::String()));
        for (const kw::String& line : fields.Texts("userColors", std::vector<kw::String>()))
            display.UserColors().Add(line);
        for (const char* key : {"systemImages", "userImages"}) {
            if (const Json* images = fields.Object(key)) {
                kw::TKwPkgImages& target = std::string(key) == "systemImages"
                                               ? display.SystemImages()
                                               : display.UserImages();
                ImagesFromJson(*images, fields.PathOf(key), target);
            }
        }
        ColorSetsFromJson(fields, display);
        FontSetsFromJson(fields, display);
        BackGroundSetsFromJson(fields, display);
        display.SetUpdateDateTime(fields.Number("updateDateTime", 0));
        display.SetLastUpdateFile(fields.Text("lastUpdateFile", kw::String()));
        if (const Json* frame = fields.Object("windowFrame"))
            WindowFrameFromJson(*frame, fields.PathOf("windowFrame"), display);
        if (const Json* frame = fields.Object("hintFrame"))
            HintFrameFromJson(*frame, fields.PathOf("hintFrame"), display);
    }
    fields.Finish();
    return SaveBytes(display);
}

}  // namespace kwpkg
