#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "framework/pkg_info.h"
#include "platform/core/persistent.h"
#include "util/format_settings.h"

namespace kw {

class TKwCApplication;
class TKwPkgSetup;

// A key with its modifiers: the virtual-key code in the low byte, plus 0x2000 for Shift, 0x4000
// for Ctrl and 0x8000 for Alt; 0 for none.
using TShortCut = std::uint16_t;

enum TKwDeleteType : std::uint8_t { dltNone, dltBoth, dltControls, dltGrids };
enum TKwDataBaseEngine : std::uint8_t { dbeCustom = 0, dbeBDE = 1, dbeADO = 2 };

// The shortcuts of a setup, in the order its files store them.
enum TKwSetupShortCut : std::uint8_t {
    sscBtnCalculator,
    sscBtnCalendar,
    sscBtnCustom1,
    sscBtnCustom2,
    sscBtnMaint,
    sscBtnRelation,
    sscInsertRecord,
    sscAppendRecord,
    sscEditRecord,
    sscPostRecord,
    sscDeleteRecord,
    sscRefresh,
    sscFirstRecord,
    sscLastRecord,
    sscPriorRecord,
    sscNextRecord,
};
inline constexpr int kKwSetupShortCuts = sscNextRecord + 1;

// The first layout versions that store AppendRecord, DeleteType, the database conventions and
// SQLSyntax.
inline constexpr int kKwSetupAppendRecordSince = 4;
inline constexpr int kKwSetupDeleteTypeSince = 5;
inline constexpr int kKwSetupDataBaseSince = 2;
inline constexpr int kKwSetupSqlSyntaxSince = 3;

// The keyboard settings of the library's edit buttons and record actions.
class TKwPkgSetupKeys : public TPersistent {
    KW_CLASS(TKwPkgSetupKeys)
public:
    explicit TKwPkgSetupKeys(TKwPkgSetup& package);

    bool InsertMode() const { return insertMode_; }
    void SetInsertMode(bool value);
    TKwDeleteType DeleteType() const { return deleteType_; }
    void SetDeleteType(TKwDeleteType value);
    bool ActionEnter() const { return actionEnter_; }
    void SetActionEnter(bool value);
    TShortCut ShortCut(TKwSetupShortCut key) const { return shortCuts_[key]; }
    void SetShortCut(TKwSetupShortCut key, TShortCut value);

    TShortCut BtnRelation() const { return ShortCut(sscBtnRelation); }
    void SetBtnRelation(TShortCut value) { SetShortCut(sscBtnRelation, value); }
    TShortCut BtnMaint() const { return ShortCut(sscBtnMaint); }
    void SetBtnMaint(TShortCut value) { SetShortCut(sscBtnMaint, value); }
    TShortCut BtnCalculator() const { return ShortCut(sscBtnCalculator); }
    void SetBtnCalculator(TShortCut value) { SetShortCut(sscBtnCalculator, value); }
    TShortCut BtnCalendar() const { return ShortCut(sscBtnCalendar); }
    void SetBtnCalendar(TShortCut value) { SetShortCut(sscBtnCalendar, value); }
    TShortCut BtnCustom1() const { return ShortCut(sscBtnCustom1); }
    void SetBtnCustom1(TShortCut value) { SetShortCut(sscBtnCustom1, value); }
    TShortCut BtnCustom2() const { return ShortCut(sscBtnCustom2); }
    void SetBtnCustom2(TShortCut value) { SetShortCut(sscBtnCustom2, value); }
    TShortCut InsertRecord() const { return ShortCut(sscInsertRecord); }
    void SetInsertRecord(TShortCut value) { SetShortCut(sscInsertRecord, value); }
    TShortCut AppendRecord() const { return ShortCut(sscAppendRecord); }
    void SetAppendRecord(TShortCut value) { SetShortCut(sscAppendRecord, value); }
    TShortCut PostRecord() const { return ShortCut(sscPostRecord); }
    void SetPostRecord(TShortCut value) { SetShortCut(sscPostRecord, value); }
    TShortCut EditRecord() const { return ShortCut(sscEditRecord); }
    void SetEditRecord(TShortCut value) { SetShortCut(sscEditRecord, value); }
    TShortCut DeleteRecord() const { return ShortCut(sscDeleteRecord); }
    void SetDeleteRecord(TShortCut value) { SetShortCut(sscDeleteRecord, value); }
    TShortCut Refresh() const { return ShortCut(sscRefresh); }
    void SetRefresh(TShortCut value) { SetShortCut(sscRefresh, value); }
    TShortCut FirstRecord() const { return ShortCut(sscFirstRecord); }
    void SetFirstRecord(TShortCut value) { SetShortCut(sscFirstRecord, value); }
    TShortCut LastRecord() const { return ShortCut(sscLastRecord); }
    void SetLastRecord(TShortCut value) { SetShortCut(sscLastRecord, value); }
    TShortCut NextRecord() const { return ShortCut(sscNextRecord); }
    void SetNextRecord(TShortCut value) { SetShortCut(sscNextRecord, value); }
    TShortCut PriorRecord() const { return ShortCut(sscPriorRecord); }
    void SetPriorRecord(TShortCut value) { SetShortCut(sscPriorRecord, value); }

    std::function<void(TKwPkgSetupKeys& sender)> OnChange;
    // Outside loading: tells every form (event 2) and marks the package modified.
    void Change();

private:
    friend class TKwPkgSetup;

    TKwPkgSetup& package_;
    bool insertMode_ = true;
    TKwDeleteType deleteType_ = dltBoth;
    bool actionEnter_ = false;
    std::array<TShortCut, kKwSetupShortCuts> shortCuts_;
};

// The database conventions as stored; which of them are in force depends on the engine.
struct TKwPkgSetupConventions {
    TKwDateFormat dateFormat = TKwDateFormat::dfomdy;
    Char dateSeparator = u'/';
    Char timeSeparator = u':';
    Char numericDecimalSeparator = u'.';
    bool quotedNumber = true;
    bool sqlSyntax = false;
};

// How values are written into SQL text. With dbeBDE the date order and separators are the
// platform's and numbers are quoted; with dbeADO they are fixed ("/", ":", ".", unquoted); only
// dbeCustom uses the stored conventions. Setting a convention outside loading switches to
// dbeCustom, so that what was set is what is in force.
class TKwPkgSetupDataBase : public TPersistent {
    KW_CLASS(TKwPkgSetupDataBase)
public:
    explicit TKwPkgSetupDataBase(TKwPkgSetup& package);

    TKwDataBaseEngine DataBaseEngine() const { return engine_; }
    void SetDataBaseEngine(TKwDataBaseEngine engine);
    TKwDateFormat DateFormat() const;
    void SetDateFormat(TKwDateFormat value);
    Char DateSeparator() const;
    void SetDateSeparator(Char value);
    Char TimeSeparator() const;
    void SetTimeSeparator(Char value);
    Char NumericDecimalSeparator() const;
    void SetNumericDecimalSeparator(Char value);
    bool QuotedNumber() const;
    void SetQuotedNumber(bool value);
    bool SQLSyntax() const { return stored_.sqlSyntax; }
    void SetSQLSyntax(bool value);

    const TKwPkgSetupConventions& Stored() const { return stored_; }
    // The rules in force, as the database-form conversions read them.
    TKwDbSettings Settings() const;

    std::function<void(TKwPkgSetupDataBase& sender)> OnChange;
    // Outside loading: tells every form (event 37) and marks the package modified.
    void Change();

private:
    friend class TKwPkgSetup;

    template <class T>
    void SetConvention(T TKwPkgSetupConventions::*field, T value);

    TKwPkgSetup& package_;
    TKwDataBaseEngine engine_ = dbeBDE;
    TKwPkgSetupConventions stored_;
};

// The files an application's setup names.
enum TKwSetupFile : std::uint8_t { sfiLanguage, sfiDisplay, sfiVars };

// An application's working setup: key assignments, database conventions and the names of the
// language, display and variables files it uses. Owned by an application object, the file
// names are those of the application's packages, and setting one loads that file.
class TKwPkgSetup : public TKwPkgInfo {
    KW_CLASS(TKwPkgSetup)
public:
    explicit TKwPkgSetup(TComponent* owner = nullptr);
    ~TKwPkgSetup() override;

    TKwPkgSetupKeys& Keys() const { return *keys_; }
    TKwPkgSetupDataBase& DataBase() const { return *dataBase_; }

    String FileNameOf(TKwSetupFile file) const;
    void SetFileNameOf(TKwSetupFile file, const String& name);
    String Language() const { return FileNameOf(sfiLanguage); }
    void SetLanguage(const String& name) { SetFileNameOf(sfiLanguage, name); }
    String Display() const { return FileNameOf(sfiDisplay); }
    void SetDisplay(const String& name) { SetFileNameOf(sfiDisplay, name); }
    String Vars() const { return FileNameOf(sfiVars); }
    void SetVars(const String& name) { SetFileNameOf(sfiVars, name); }

    int SaveVersion() const { return saveVersion_; }
    void SetSaveVersion(int version);
    // The layout version of the stream last loaded; 0 before any load.
    int LoadedVersion() const { return loadedVersion_; }

protected:
    void xLoadFromStream(TReader& reader) override;
    void xSaveToStream(TWriter& writer) override;

private:
    TKwCApplication* OwnerApplication() const;
    // The application's package whose file name stands for `file`; none when not owned by one.
    TKwPkgInfo* FileTarget(TKwSetupFile file) const;
    void ReadPayload(TReader& reader, int version);

    std::unique_ptr<TKwPkgSetupKeys> keys_;
    std::unique_ptr<TKwPkgSetupDataBase> dataBase_;
    std::array<String, 3> fileNames_;
    int saveVersion_;
    int loadedVersion_ = 0;
};

// The setup package of an application object, and that of the active one (or none).
TKwPkgSetup* KwSetupOf(TKwCApplication& app);
TKwPkgSetup* KwAppSetup();
// The active setup's insert mode; without one a process-wide flag takes its place.
bool KwGetInsertMode();
void KwSetInsertMode(bool value);
// False without an active setup.
bool KwActionEnter();
// Makes the database-form conversions read the active setup's conventions.
void KwInstallSetupDbSettings();

}  // namespace kw
