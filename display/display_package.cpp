#include "display/display_package.h"

#include "display/default_sets.h"
#include "display/image_package.h"
#include "display/memory_image.h"
#include "display/set_references.h"
#include "display/state.h"
#include "framework/application.h"
#include "framework/events.h"
#include "framework/pkg_formats.h"
#include "framework/sets_lock.h"
#include "packages/memory_refs.h"
#include "packages/package_scopes.h"
#include "platform/core/filer.h"
#include "platform/text/string_list.h"
#include "platform/text/strings.h"
#include "platform/ui/application.h"
#include "platform/ui/screen.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwPkgDisplay, TKwPkgInfo)

namespace {

void NameImages(TKwPkgImages& images, const String& name) {
    TKwLoadingScope loading(images);
    images.SetPkgName(name);
}

// "System" and "User" images of an application object are those of its display package.
void PointImagesHostAtDisplays() {
    if (KwDisplayState().imagesHost.imagesOf)
        return;
    KwSetImagesHost({[](TKwCApplication& app, bool system) -> TKwPkgImages* {
        TKwPkgDisplay* display = KwAppDisplay(app);
        if (display == nullptr)
            return nullptr;
        return system ? &display->SystemImages() : &display->UserImages();
    }});
}

// Joined without a trailing line break, as the file stores them.
String JoinLines(const TStringList& lines) {
    String text;
    for (int i = 0; i < lines.Count(); ++i) {
        if (i > 0)
            text += u"\r\n";
        text += lines.Strings(i);
    }
    return text;
}

void WriteSetHead(TWriter& writer, const TKwPkgDisplaySet& set) {
    writer.WriteString(set.Name());
    writer.WriteString(set.Description());
    writer.WriteString(set.DescriptionId().PkgName());
    writer.WriteInteger(static_cast<std::int32_t>(set.DescriptionId().Id()));
}

// The set of that name with the fields every set stores.
template <class Sets>
auto& ReadSetHead(TReader& reader, Sets& sets) {
    auto& set = sets.Add(reader.ReadString());
    set.SetDescription(reader.ReadString());
    const String pkg = reader.ReadString();
    set.DescriptionId().PkgId(pkg, reader.ReadInteger());
    return set;
}

void WriteColor(TWriter& writer, TColor color) {
    writer.WriteInteger(static_cast<std::int32_t>(color));
}

TColor ReadColor(TReader& reader) {
    return static_cast<TColor>(reader.ReadInteger());
}

}  // namespace

TKwPkgDisplay::TKwPkgDisplay(TComponent* owner) : TKwPkgInfo(owner) {
    setsFont_ = std::make_unique<TKwPkgDisplaySetsFont>(*this);
    setsBackGround_ = std::make_unique<TKwPkgDisplaySetsBackGround>(*this);
    setsColor_ = std::make_unique<TKwPkgDisplaySetsColor>(*this);
    userColors_ = std::make_unique<TStringList>();
    userColors_->SetOnChange([this](TStringList&) { Change(); });
    systemImages_ = std::make_unique<TKwPkgImages>(this);
    userImages_ = std::make_unique<TKwPkgImages>(this);
    NameImages(*systemImages_, u"System");
    NameImages(*userImages_, u"User");
    SetDefaultExt(u"dis");
    PointImagesHostAtDisplays();
}

TKwPkgDisplay::~TKwPkgDisplay() {
    Destroying();
    try {
        Clear();
    } catch (...) {
        Application().HandleException(this);
    }
    userImages_.reset();
    systemImages_.reset();
    userColors_.reset();
    setsFont_.reset();
    setsBackGround_.reset();
    setsColor_.reset();
}

bool TKwPkgDisplay::GetModified() const {
    return TKwPkgInfo::GetModified() || systemImages_->GetModified() || userImages_->GetModified();
}

void TKwPkgDisplay::SetModified(bool modified) {
    TKwPkgInfo::SetModified(modified);
    systemImages_->SetModified(modified);
    userImages_->SetModified(modified);
}

template <class T>
void TKwPkgDisplay::SetFrameValue(T& field, T value) {
    if (field == value)
        return;
    field = value;
    if (LoadingProps())
        return;
    KwGlobalPerform(kwEvtWindowSkins, this);
    SetModified(true);
}

// Hint windows read these when they are built; the platform layer has no hint display to
// rebuild yet, so storing is all there is to do.
template <class T>
void TKwPkgDisplay::SetHintValue(T& field, T value) {
    if (field == value)
        return;
    field = value;
    // Hint windows take their frame when they are built; switching hints off and on rebuilds them.
    TApplication& application = Application();
    if (!LoadingProps() && application.ShowHint()) {
        application.SetShowHint(false);
        application.SetShowHint(true);
    }
}

template void TKwPkgDisplay::SetFrameValue<int>(int&, int);
template void TKwPkgDisplay::SetFrameValue<bool>(bool&, bool);
template void TKwPkgDisplay::SetHintValue<int>(int&, int);
template void TKwPkgDisplay::SetHintValue<bool>(bool&, bool);

void TKwPkgDisplay::LoadPkgStrings() {
    for (TKwPkgDisplaySets* sets : {static_cast<TKwPkgDisplaySets*>(setsColor_.get()),
                                    static_cast<TKwPkgDisplaySets*>(setsFont_.get()),
                                    static_cast<TKwPkgDisplaySets*>(setsBackGround_.get())}) {
        for (int i = 0; i < sets->Count(); ++i)
            sets->SetAt(i).TakeDescriptionText();
    }
}

void TKwPkgDisplay::NotifyInit(TKwLinkEvt&) {
    LoadPkgStrings();
}

void TKwPkgDisplay::UnCheckAllReferences() {
    KwUnCheckAllSets(*setsColor_);
    KwUnCheckAllSets(*setsFont_);
    KwUnCheckAllSets(*setsBackGround_);
    KwUnCheckAllImages(systemImages_->Images());
    KwUnCheckAllImages(userImages_->Images());
}

void TKwPkgDisplay::UnCheckNilAndUpdateAll() {
    KwUnCheckNilSetsFont();
    KwUnCheckNilSetsBackGround();
    KwUnCheckNilSetsColor();
    KwUnCheckNilImages();
    KwUpdateSetsColor();
    KwUpdateSetsFont();
    KwUpdateSetsBackGround();
    KwUpdateImages();
}

void TKwPkgDisplay::Clear() {
    TKwSetsLock lock;
    const bool quiet = LoadingProps() || Application().Destroying();
    KwWithScreenUpdate(!quiet, [&] {
        UnCheckAllReferences();
        {
            TKwLoadingScope loading(*this);
            TKwLoadingScope systemLoading(*systemImages_);
            TKwLoadingScope userLoading(*userImages_);
            setsColor_->Clear();
            setsFont_->Clear();
            setsBackGround_->Clear();
            systemImages_->Clear();
            userImages_->Clear();
            userColors_->Clear();
        }
        if (!quiet) {
            KwUpdateSetsColor();
            KwUpdateSetsFont();
            KwUpdateSetsBackGround();
            KwUpdateImages();
        }
    });
    if (!quiet)
        Change();
}

// --- Streams -------------------------------------------------------------------------------

void TKwPkgDisplay::xSaveToStream(TWriter& writer) {
    WritePkgHeader(writer, kKwFormatDisplay);
    writer.WriteString(JoinLines(*userColors_));
    systemImages_->xSaveToStream(writer);
    userImages_->xSaveToStream(writer);

    writer.WriteInteger(static_cast<std::int32_t>(setsColor_->Count()));
    for (int i = 0; i < setsColor_->Count(); ++i) {
        const TKwPkgDisplaySetColor& set = setsColor_->Items(i);
        WriteSetHead(writer, set);
        WriteColor(writer, set.Color());
    }
    writer.WriteInteger(static_cast<std::int32_t>(Screen().PixelsPerInch()));

    writer.WriteInteger(static_cast<std::int32_t>(setsFont_->Count()));
    for (int i = 0; i < setsFont_->Count(); ++i) {
        const TKwPkgDisplaySetFont& set = setsFont_->Items(i);
        const TFont& font = set.Font();
        WriteSetHead(writer, set);
        writer.WriteString(font.Name());
        writer.WriteInteger(static_cast<std::int32_t>(font.Charset()));
        writer.WriteInteger(static_cast<std::int32_t>(font.Pitch()));
        writer.WriteInteger(static_cast<std::int32_t>(font.Size()));
        for (TFontStyle flag : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
            writer.WriteBoolean(font.HasStyle(flag));
        WriteColor(writer, font.Color());
        writer.WriteInteger(static_cast<std::int32_t>(font.Height()));
    }

    writer.WriteInteger(static_cast<std::int32_t>(setsBackGround_->Count()));
    for (int i = 0; i < setsBackGround_->Count(); ++i) {
        const TKwPkgDisplaySetBackGround& set = setsBackGround_->Items(i);
        WriteSetHead(writer, set);
        writer.WriteInteger(static_cast<std::int32_t>(set.Style()));
        for (TColor color : {set.StartGraColor(), set.EndGraColor(), set.SolidColor()})
            WriteColor(writer, color);
        writer.WriteString(set.Image().PkgName());
        writer.WriteInteger(static_cast<std::int32_t>(set.Image().Id()));
        writer.WriteBoolean(set.Transparent());
    }

    writer.WriteFloat(updateDateTime_);
    writer.WriteString(lastUpdateFile_);
    for (int value :
         {cwMarginLeft_, cwMarginRight_, cwMarginTop_, cwMarginBottom_, cwMarginAfterTitle_,
          cwTitleHeight_, cwButtonsWidth_, cwButtonsHeight_, cwButtonsSpacing_, cwButtonsMargin_}) {
        writer.WriteInteger(static_cast<std::int32_t>(value));
    }
    writer.WriteBoolean(cwWinRgn_);
    for (int value : {hiMarginLeft_, hiMarginRight_, hiMarginTop_, hiMarginBottom_})
        writer.WriteInteger(static_cast<std::int32_t>(value));
    writer.WriteBoolean(hiWinRgn_);
}

void TKwPkgDisplay::ReadColorSets(TReader& reader) {
    const std::int32_t count = reader.ReadInteger();
    for (std::int32_t i = 0; i < count; ++i)
        ReadSetHead(reader, *setsColor_).SetColor(ReadColor(reader));
}

void TKwPkgDisplay::ReadFontSets(TReader& reader, int version, int filePixelsPerInch) {
    TKwCApplication* app = dynamic_cast<TKwCApplication*>(Owner());
    if (app == nullptr)
        app = KwCApp();
    const std::int32_t count = reader.ReadInteger();
    for (std::int32_t i = 0; i < count; ++i) {
        TFont& font = ReadSetHead(reader, *setsFont_).Font();
        font.SetName(reader.ReadString());
        font.SetCharset(static_cast<TFontCharset>(reader.ReadInteger()));
        font.SetPitch(static_cast<TFontPitch>(reader.ReadInteger()));
        const std::int32_t size = reader.ReadInteger();
        TFontStyles style = 0;
        for (TFontStyle flag : {fsBold, fsItalic, fsUnderline, fsStrikeOut}) {
            if (reader.ReadBoolean())
                style = static_cast<TFontStyles>(style | flag);
        }
        font.SetStyle(style);
        font.SetColor(ReadColor(reader));
        if (version < 2) {
            font.SetSize(size);
            continue;
        }
        const std::int32_t height = reader.ReadInteger();
        font.SetHeight(app != nullptr && filePixelsPerInch > 0
                           ? app->xScaledEx(height, filePixelsPerInch)
                           : height);
    }
}

void TKwPkgDisplay::ReadBackGroundSets(TReader& reader) {
    const std::int32_t count = reader.ReadInteger();
    for (std::int32_t i = 0; i < count; ++i) {
        TKwPkgDisplaySetBackGround& set = ReadSetHead(reader, *setsBackGround_);
        const std::int32_t style = reader.ReadInteger();
        if (style < 0 || style >= kKwBackGroundStyles)
            throw EReadError(kSInvalidProperty);
        set.SetStyle(static_cast<TKwBackGroundStyle>(style));
        set.SetStartGraColor(ReadColor(reader));
        set.SetEndGraColor(ReadColor(reader));
        set.SetSolidColor(ReadColor(reader));
        const String pkg = reader.ReadString();
        set.Image().PkgId(pkg, reader.ReadInteger());
        set.SetTransparent(reader.ReadBoolean());
    }
}

// Fields a file predates keep their values, except the update record, which it resets.
void TKwPkgDisplay::ReadTrailer(TReader& reader, int version) {
    updateDateTime_ = version >= 4 ? reader.ReadFloat() : 0;
    lastUpdateFile_ = version >= 5 ? reader.ReadString() : String();
    if (version >= 6) {
        for (int* field : {&cwMarginLeft_, &cwMarginRight_, &cwMarginTop_, &cwMarginBottom_,
                           &cwMarginAfterTitle_, &cwTitleHeight_})
            *field = reader.ReadInteger();
    }
    if (version >= 7) {
        for (int* field :
             {&cwButtonsWidth_, &cwButtonsHeight_, &cwButtonsSpacing_, &cwButtonsMargin_})
            *field = reader.ReadInteger();
    }
    if (version >= 8)
        cwWinRgn_ = reader.ReadBoolean();
    if (version >= 9) {
        for (int* field : {&hiMarginLeft_, &hiMarginRight_, &hiMarginTop_, &hiMarginBottom_})
            *field = reader.ReadInteger();
        hiWinRgn_ = reader.ReadBoolean();
    }
}

void TKwPkgDisplay::ReadContents(TReader& reader, int version) {
    userColors_->SetText(reader.ReadString());
    {
        TKwLoadingScope systemLoading(*systemImages_);
        systemImages_->xLoadFromStream(reader);
    }
    {
        TKwLoadingScope userLoading(*userImages_);
        userImages_->xLoadFromStream(reader);
    }
    ReadColorSets(reader);
    const int filePixelsPerInch = version >= 3 ? reader.ReadInteger() : Screen().PixelsPerInch();
    loadedPixelsPerInch_ = filePixelsPerInch;
    ReadFontSets(reader, version, filePixelsPerInch);
    ReadBackGroundSets(reader);
    ReadTrailer(reader, version);
}

// The library default font follows the density the application's forms are scaled to; this
// happens once, when the application object first loads its own display package.
void TKwPkgDisplay::ScaleDefaultFontOnce() {
    auto* app = dynamic_cast<TKwCApplication*>(Owner());
    bool& scaled = KwDisplayState().defaultFontScaled;
    if (app == nullptr || scaled)
        return;
    scaled = true;
    TFont& font = KwDefaultFont();
    font.SetHeight(app->xScaled(font.Height()));
}

void TKwPkgDisplay::xLoadFromStream(TReader& reader) {
    TKwSetsLock lock;
    const int version = ReadPkgHeader(reader, kKwFormatDisplay);
    loadedVersion_ = version;
    const bool nested = LoadingProps();
    KwWithScreenUpdate(!nested, [&] {
        {
            TKwLoadingScope loading(*this);
            ScaleDefaultFontOnce();
            UnCheckAllReferences();
            Clear();
            ReadContents(reader, version);
        }
        if (!LoadingProps()) {
            LoadPkgStrings();
            UnCheckNilAndUpdateAll();
        }
        Change();
    });
}

TKwPkgDisplay* KwAppDisplay(TKwCApplication& app) {
    for (TComponent* component : app.ComponentList()) {
        if (auto* display = dynamic_cast<TKwPkgDisplay*>(component))
            return display;
    }
    return nullptr;
}

}  // namespace kw
