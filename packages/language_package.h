#pragma once

#include <memory>

#include "framework/pkg_info.h"
#include "packages/language_locale.h"
#include "packages/strings_package.h"

namespace kw {

class TKwCApplication;

// What one language file holds: the locale and the "System" (library) and "User" (application)
// strings packages.
class TKwPkgLanguage : public TKwPkgInfo {
    KW_CLASS(TKwPkgLanguage)
public:
    explicit TKwPkgLanguage(TComponent* owner = nullptr);
    ~TKwPkgLanguage() override;

    TKwPkgLanguageLocale& Locale() const { return *locale_; }
    TKwPkgStrings& SystemStrings() const { return *systemStrings_; }
    TKwPkgStrings& UserStrings() const { return *userStrings_; }
    // Date and name of the language file last merged into the System strings; 0 and empty
    // when none.
    double UpdateDateTime() const { return updateDateTime_; }
    void SetUpdateDateTime(double value) { updateDateTime_ = value; }
    const String& LastUpdateFile() const { return lastUpdateFile_; }
    void SetLastUpdateFile(const String& name) { lastUpdateFile_ = name; }

    // The package counts as modified when either strings package is.
    bool GetModified() const override;
    void SetModified(bool modified) override;
    // Empties both strings packages; the locale is kept.
    void Clear() override;

    int SaveVersion() const { return saveVersion_; }
    void SetSaveVersion(int version);
    // The layout version of the stream last loaded; 0 before any load.
    int LoadedVersion() const { return loadedVersion_; }

protected:
    void NotifyInit(TKwLinkEvt& sender) override {}
    void xLoadFromStream(TReader& reader) override;
    void xSaveToStream(TWriter& writer) override;

private:
    void ReadContents(TReader& reader, int version);

    // Declared in this order so that they are freed User, System, then the locale, before the
    // component base frees its other owned components.
    std::unique_ptr<TKwPkgLanguageLocale> locale_;
    std::unique_ptr<TKwPkgStrings> systemStrings_;
    std::unique_ptr<TKwPkgStrings> userStrings_;
    double updateDateTime_ = 0;
    String lastUpdateFile_;
    int saveVersion_;
    int loadedVersion_ = 0;
};

// The language package of an application object, and that of the active one (or none).
TKwPkgLanguage* KwLanguageOf(TKwCApplication& app);
TKwPkgLanguage* KwAppLanguage();
// The folder the reference language files are installed in; empty when unknown.
String KwSystemPackagesFolder();
// The reference file ("English.lan", ...) in `folder` whose System label 0, message 0 and text
// 0 equal those of `language` (without regard to case); "English.lan" when `language` has none
// of the three; empty when no file matches.
String KwScanLanguageFileName(const TKwPkgLanguage& language, const String& folder);

}  // namespace kw
