#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "framework/link.h"
#include "framework/pkg_header.h"
#include "platform/core/component.h"

namespace kw {

class TReader;
class TWriter;
class TStream;
class TKwPkgInfo;

// Where a package's contents live: in the host form's property stream or in a file.
enum TKwRegisterInitMode : std::uint8_t { rimDFM = 0, rimFILE = 1 };

using TKwPkgNotify = std::function<void(TKwPkgInfo& sender)>;

// Base of every package: one body of shared data that knows where it lives, loads and saves it
// through the filer, tracks modification and announces changes through its link.
class TKwPkgInfo : public TComponent {
    KW_CLASS(TKwPkgInfo)
public:
    // `onlyFile` packages always keep their contents in a file.
    explicit TKwPkgInfo(TComponent* owner = nullptr, bool onlyFile = false);
    ~TKwPkgInfo() override;

    TKwLinkEvt& Link() const { return *link_; }

    const String& PkgName() const { return pkgName_; }
    // The base class accepts and ignores the name; packages that have one store it.
    virtual void SetPkgName(const String& name) {}
    TKwRegisterInitMode InitMode() const { return initMode_; }
    void SetInitMode(TKwRegisterInitMode mode);
    const String& FileName() const { return fileName_; }
    void SetFileName(const String& name);
    const String& Description() const { return description_; }
    void SetDescription(const String& description);
    const String& DefaultExt() const { return defaultExt_; }
    bool OnlyFile() const { return onlyFile_; }
    double FileDateTime() const { return fileDateTime_; }
    // The bare name of the file being loaded or saved; empty otherwise.
    const String& DiskFileName() const { return diskFileName_; }

    virtual bool GetModified() const { return modified_; }
    virtual void SetModified(bool modified) { modified_ = modified; }

    TKwPkgNotify OnChange;

    void LoadFile();
    void SaveFile();
    void LoadFileEx(const String& fileName, TKwRegisterInitMode mode);
    void SaveFileEx(const String& fileName, TKwRegisterInitMode mode);
    void LoadFromFile(const String& path);
    // Through SaveFileSafely: a failed save leaves the previous file as it was.
    void SaveToFile(const String& path);
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream);

    String GetFileName(StringView name) const;
    virtual String GetPathFileName() const;
    bool FileModified() const;
    bool Iss(StringView name) const;
    bool KwEquals(const TKwPkgInfo& other) const;

    virtual void Change();
    virtual void Clear() {}

    void BeginLoading() { link_->BeginLoading(); }
    void EndLoading() { link_->EndLoading(); }
    bool LoadingProps() const;

    // The contents as a form stores them (nothing in file mode).
    virtual void ReadData(TStream& stream);
    virtual void WriteData(TStream& stream);

    void DefineProperties(TFiler& filer) override;
    // The three stored properties under names of the caller's choice, so that an owner can store
    // its packages among its own properties.
    void DefineInitModeProperty(TFiler& filer, StringView name, const TKwPkgInfo* ancestor);
    void DefineFileNameProperty(TFiler& filer, StringView name, const TKwPkgInfo* ancestor);
    void DefineDataProperty(TFiler& filer, StringView name, const TKwPkgInfo* ancestor);
    void Loaded() override;
    void SetParentComponent(TComponent* parent) override;

protected:
    void SetDefaultExt(const String& ext) { defaultExt_ = ext; }
    // Header, description and payload; subclasses read and write their own kinds.
    virtual void xLoadFromStream(TReader& reader) {}
    virtual void xSaveToStream(TWriter& writer) {}
    // The header and description of `format`, for subclasses. Returns the stored version.
    int ReadPkgHeader(TReader& reader, const TKwPkgFormat& format);
    void WritePkgHeader(TWriter& writer, const TKwPkgFormat& format);
    // The name errors of this package are reported under: its owner's name, else its own.
    String SourceName() const;

    virtual void NotifyInit(TKwLinkEvt& sender);
    virtual void NotifyEvt(int evt, void* data) {}
    virtual void NotifyUpdate(TKwLinkEvt& sender) {}

private:
    std::unique_ptr<TKwLinkEvt> link_;
    String pkgName_;
    TKwRegisterInitMode initMode_;
    String fileName_;
    String description_;
    String defaultExt_;
    bool modified_ = false;
    double fileDateTime_ = 0;
    String diskFileName_;
    bool onlyFile_;

protected:
    // Subclasses that keep a name store it here from SetPkgName.
    void StorePkgName(const String& name) { pkgName_ = name; }
};

// The directory package files are found in: the executable's directory, or `path` taken
// relative to it; always with a trailing separator.
String KwAppPath(StringView path);
// The executable's directory, or the designed project's while a designer hosts the library.
String KwGetExePath();
// Installed by a designer to supply the project directory.
void KwSetDesignProjectDirHook(std::function<String()> hook);
// ".ext" for "ext"; empty stays empty.
String KwAddPointExt(StringView ext);

}  // namespace kw
