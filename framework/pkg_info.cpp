#include "framework/pkg_info.h"

#include "framework/application.h"
#include "framework/errors.h"
#include "framework/pkg_formats.h"
#include "framework/state.h"
#include "platform/core/datetime.h"
#include "platform/core/filer.h"
#include "platform/core/files.h"
#include "platform/core/safe_save.h"
#include "platform/core/stream.h"
#include "platform/ui/application.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwPkgInfo, TComponent)

namespace {

const Char* const kInitModeNames[] = {u"rimDFM", u"rimFILE"};

// Runs `action`; an error is shown by the platform application instead of propagating.
template <class F>
void Shown(TObject* sender, F&& action) {
    try {
        action();
    } catch (...) {
        Application().HandleException(sender);
    }
}

// Clears a string when leaving the scope, whatever happens.
struct ClearOnExit {
    String& value;
    ~ClearOnExit() { value.clear(); }
};

}  // namespace

// --- Paths -------------------------------------------------------------------------------------

void KwSetDesignProjectDirHook(std::function<String()> hook) {
    KwState().designProjectDir = std::move(hook);
}

String KwGetExePath() {
    const TKwFrameworkState& state = KwState();
    if (state.designMode && state.designProjectDir)
        return AddPathBar(state.designProjectDir());
    return ExeDir();
}

String KwAppPath(StringView path) {
    const String exeDir = KwGetExePath();
    const String trimmed = Trim(path);
    if (trimmed.empty())
        return AddPathBar(exeDir);
    return AddPathBar(ExpandFileNameAgainst(trimmed, exeDir));
}

String KwAddPointExt(StringView ext) {
    if (ext.empty() || ext.front() == u'.')
        return String(ext);
    return u"." + String(ext);
}

// --- Construction --------------------------------------------------------------------------

TKwPkgInfo::TKwPkgInfo(TComponent* owner, bool onlyFile)
    : TComponent(owner),
      link_(std::make_unique<TKwLinkEvt>(this, kwInitOther)),
      initMode_(onlyFile ? rimFILE : rimDFM),
      fileDateTime_(Now()),
      onlyFile_(onlyFile) {
    link_->OnInit = [this](TKwLinkEvt& sender) { NotifyInit(sender); };
    link_->OnEvt = [this](int evt, void* data) { NotifyEvt(evt, data); };
    link_->OnUpdate = [this](TKwLinkEvt& sender) { NotifyUpdate(sender); };
}

TKwPkgInfo::~TKwPkgInfo() {
    Destroying();
    link_.reset();
}

// --- Properties ----------------------------------------------------------------------------

void TKwPkgInfo::SetInitMode(TKwRegisterInitMode mode) {
    if (onlyFile_)
        mode = rimFILE;
    if (mode == initMode_)
        return;
    initMode_ = mode;
    fileName_.clear();
    if (!LoadingProps())
        LoadFile();
}

void TKwPkgInfo::SetFileName(const String& name) {
    if (name == fileName_)
        return;
    const String old = fileName_;
    const bool loading = LoadingProps();
    if (loading || initMode_ == rimFILE)
        fileName_ = name;
    if (loading)
        return;
    try {
        LoadFile();
    } catch (...) {
        if (!KwDesignMode())
            fileName_ = old;
        throw;
    }
}

void TKwPkgInfo::SetDescription(const String& description) {
    if (description == description_)
        return;
    description_ = description;
    Change();
}

bool TKwPkgInfo::Iss(StringView name) const {
    return AnsiSameText(name, pkgName_);
}

void TKwPkgInfo::Change() {
    if (LoadingProps())
        return;
    SetModified(true);
    if (OnChange)
        OnChange(*this);
}

bool TKwPkgInfo::LoadingProps() const {
    if (link_->GetLoadingProps())
        return true;
    if (auto* app = dynamic_cast<const TKwCApplication*>(Owner()))
        return app->LoadingProps();
    if (auto* parent = dynamic_cast<const TKwPkgInfo*>(Owner()))
        return parent->LoadingProps();
    return false;
}

String TKwPkgInfo::SourceName() const {
    return Owner() != nullptr ? Owner()->Name() : Name();
}

// --- Files ---------------------------------------------------------------------------------

String TKwPkgInfo::GetPathFileName() const {
    const TKwCApplication* app = KwCApp();
    return KwAppPath(app != nullptr ? app->Path() : String());
}

String TKwPkgInfo::GetFileName(StringView name) const {
    String ext = ExtractFileExt(name);
    if (ext.empty())
        ext = KwAddPointExt(defaultExt_);
    return AddPathBar(GetPathFileName()) + ChangeFileExt(name, ext);
}

void TKwPkgInfo::LoadFile() {
    if (initMode_ != rimFILE || fileName_.empty())
        return;
    const String path = GetFileName(fileName_);
    if (!FileExists(path))
        KwExceptArgs(SourceName(), u"File '%s' not found", {path});
    LoadFromFile(path);
    SetModified(false);
}

void TKwPkgInfo::SaveFile() {
    if (initMode_ != rimFILE || fileName_.empty())
        return;
    SaveToFile(GetFileName(fileName_));
    SetModified(false);
}

void TKwPkgInfo::LoadFileEx(const String& fileName, TKwRegisterInitMode mode) {
    if (!fileName.empty()) {
        LoadFromFile(GetFileName(fileName));
        SetModified(false);
    }
    fileName_ = mode == rimFILE ? fileName : String();
    if (!onlyFile_)
        initMode_ = mode;
}

void TKwPkgInfo::SaveFileEx(const String& fileName, TKwRegisterInitMode mode) {
    if (!fileName.empty()) {
        SaveToFile(GetFileName(fileName));
        SetModified(false);
    }
    fileName_ = mode == rimFILE ? fileName : String();
    if (!onlyFile_)
        initMode_ = mode;
}

void TKwPkgInfo::LoadFromFile(const String& path) {
    if (Trim(path).empty())
        KwExceptPkg(Name(), u"System", 3);
    TFileStream file(path, TFileMode::fmOpenRead);
    diskFileName_ = ExtractFileName(path);
    ClearOnExit clear{diskFileName_};
    // One read of the whole file; the reader then decodes the bytes in place.
    TMemoryStream bytes;
    bytes.LoadFromStream(file);
    LoadFromStream(bytes);
    fileDateTime_ = FileGetDateTime(file.Handle());
}

void TKwPkgInfo::SaveToFile(const String& path) {
    if (Trim(path).empty())
        KwExceptPkg(Name(), u"System", 3);
    SaveFileSafely(path, [&](TStream& file) {
        diskFileName_ = ExtractFileName(path);
        ClearOnExit clear{diskFileName_};
        SaveToStream(file);
    });
    TFileStream written(path, TFileMode::fmOpenRead);
    fileDateTime_ = FileGetDateTime(written.Handle());
}

bool TKwPkgInfo::FileModified() const {
    if (initMode_ != rimFILE || fileName_.empty())
        return false;
    TDateTime age = 0;
    if (!FileAge(GetFileName(fileName_), age))
        return false;
    return age != fileDateTime_;
}

// --- Streams -------------------------------------------------------------------------------

void TKwPkgInfo::LoadFromStream(TStream& stream) {
    stream.SetPosition(0);
    TReader reader(stream, TFiler::kDefaultBufferSize);
    xLoadFromStream(reader);
}

void TKwPkgInfo::SaveToStream(TStream& stream) {
    stream.SetPosition(0);
    TWriter writer(stream, TFiler::kDefaultBufferSize);
    xSaveToStream(writer);
    writer.FlushBuffer();
}

int TKwPkgInfo::ReadPkgHeader(TReader& reader, const TKwPkgFormat& format) {
    const int version = KwReadPkgHeader(reader, format, diskFileName_, SourceName());
    description_ = reader.ReadString();
    return version;
}

void TKwPkgInfo::WritePkgHeader(TWriter& writer, const TKwPkgFormat& format) {
    KwWritePkgHeader(writer, format);
    writer.WriteString(description_);
}

// --- Form storage --------------------------------------------------------------------------

void TKwPkgInfo::ReadData(TStream& stream) {
    if (initMode_ != rimDFM)
        return;
    Shown(this, [&] {
        LoadFromStream(stream);
        SetModified(false);
    });
}

void TKwPkgInfo::WriteData(TStream& stream) {
    if (initMode_ != rimDFM)
        return;
    Shown(this, [&] {
        SaveToStream(stream);
        SetModified(false);
    });
}

bool TKwPkgInfo::KwEquals(const TKwPkgInfo& other) const {
    if (initMode_ != rimDFM || other.initMode_ != rimDFM)
        return false;
    // The bytes WriteData would store, without its side effect on the modified flag.
    TMemoryStream mine, theirs;
    const_cast<TKwPkgInfo*>(this)->SaveToStream(mine);
    const_cast<TKwPkgInfo&>(other).SaveToStream(theirs);
    return mine.Bytes() == theirs.Bytes();
}

void TKwPkgInfo::DefineProperties(TFiler& filer) {
    TComponent::DefineProperties(filer);
    auto* ancestor = dynamic_cast<TKwPkgInfo*>(filer.Ancestor());
    DefineInitModeProperty(filer, u"InitMode", ancestor);
    DefineFileNameProperty(filer, u"FileName", ancestor);
    DefineDataProperty(filer, u"Data", ancestor);
}

void TKwPkgInfo::DefineInitModeProperty(TFiler& filer, StringView name,
                                        const TKwPkgInfo* ancestor) {
    const bool store =
        ancestor != nullptr ? ancestor->initMode_ != initMode_ : !onlyFile_ && initMode_ != rimDFM;
    filer.DefineProperty(
        name,
        [this](TReader& reader) {
            const String ident = reader.ReadIdent();
            SetInitMode(SameText(ident, kInitModeNames[rimFILE]) ? rimFILE : rimDFM);
        },
        [this](TWriter& writer) { writer.WriteIdent(kInitModeNames[initMode_]); }, store);
}

void TKwPkgInfo::DefineFileNameProperty(TFiler& filer, StringView name,
                                        const TKwPkgInfo* ancestor) {
    const bool store = ancestor != nullptr ? ancestor->fileName_ != fileName_ : !fileName_.empty();
    filer.DefineProperty(
        name, [this](TReader& reader) { SetFileName(reader.ReadString()); },
        [this](TWriter& writer) { writer.WriteString(fileName_); }, store);
}

void TKwPkgInfo::DefineDataProperty(TFiler& filer, StringView name, const TKwPkgInfo* ancestor) {
    const bool store = ancestor == nullptr || !KwEquals(*ancestor);
    filer.DefineBinaryProperty(
        name, [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); }, store);
}

// --- Start-up ------------------------------------------------------------------------------

void TKwPkgInfo::NotifyInit(TKwLinkEvt&) {
    BeginLoading();
    struct EndOnExit {
        TKwPkgInfo& pkg;
        ~EndOnExit() { pkg.EndLoading(); }
    } end{*this};
    // The application object loads the files of the packages it owns itself, so that an inactive
    // one loads none at run time; only the rights file, which it never loads, is left to us.
    const bool startedByOwner = dynamic_cast<const TKwCApplication*>(Owner()) != nullptr;
    if (initMode_ == rimFILE && (onlyFile_ || !startedByOwner))
        Shown(this, [&] { LoadFile(); });
    SetModified(false);
}

void TKwPkgInfo::Loaded() {
    TComponent::Loaded();
    link_->InitLinks();
}

void TKwPkgInfo::SetParentComponent(TComponent* parent) {
    TComponent::SetParentComponent(parent);
    if (!HasState(csReading))
        link_->Init();
}

// --- Descriptions --------------------------------------------------------------------------

namespace {

String ReadDescription(const String& path, const TKwPkgFormat& format, int minVersion = 0) {
    if (Trim(path).empty())
        KwExceptPkg(u"", u"System", 3);
    TFileStream file(path, TFileMode::fmOpenRead);
    TReader reader(file, TFiler::kDefaultBufferSize);
    const TKwPkgHeader header = TKwPkgHeader::Read(reader);
    if (!header.HasSignature(format.word)) {
        KwExceptPkgArgs(u"", u"System", format.wrongSignatureMessage, {path});
    }
    if (header.version < minVersion)
        return {};
    return reader.ReadString();
}

}  // namespace

String KwReadPkgSetupDescription(const String& path) {
    return ReadDescription(path, kKwFormatSetup);
}
String KwReadPkgLanguageDescription(const String& path) {
    return ReadDescription(path, kKwFormatLanguage);
}
String KwReadPkgDisplayDescription(const String& path) {
    return ReadDescription(path, kKwFormatDisplay);
}
String KwReadPkgImagesDescription(const String& path) {
    return ReadDescription(path, kKwFormatImages);
}
String KwReadPkgStringsDescription(const String& path) {
    return ReadDescription(path, kKwFormatStrings);
}
String KwReadPkgVarsDescription(const String& path) {
    return ReadDescription(path, kKwFormatVars);
}
String KwReadPkgAccessDescription(const String& path) {
    return ReadDescription(path, kKwFormatAccess);
}
String KwReadPkgTemplateDescription(const String& path) {
    return ReadDescription(path, kKwFormatTemplate, 2);
}

}  // namespace kw
