#include "packages/setup_package.h"

#include <gtest/gtest.h>

#include "framework/application.h"
#include "framework/errors.h"
#include "framework/events.h"
#include "framework/state.h"
#include "package_bytes.h"
#include "packages/package_scopes.h"
#include "packages/state.h"
#include "packages/vars_package.h"
#include "platform/core/filer.h"
#include "platform/core/files.h"
#include "platform/core/stream.h"
#include "platform/text/regional.h"
#include "platform/text/unicode.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "support/pkg_stream.h"
#include "support/scratch_dir.h"
#include "util/db_literals.h"

namespace kw {
namespace {

// The language side of the library cannot be included beside the value conversions yet, so this
// fixture starts application objects without a language package.
class SetupPackageTest : public testing::Test {
protected:
    void SetUp() override { ResetAll(); }
    void TearDown() override {
        app_.reset();
        ResetAll();
    }
    static void ResetAll() {
        KwResetFrameworkState();
        KwResetPackagesState();
        KwResetConversionProviders();
        Application().Reset();
        SetRegionalLocale("en_US");
    }
    void StartApplication() { app_ = std::make_unique<TKwCApplication>(); }

    std::unique_ptr<TKwCApplication> app_;
};

// A form that records the events broadcast to all forms.
struct EventLog {
    TForm form;
    std::vector<int> events;
    EventLog() {
        form.WindowProc = [this](TMessage& m) {
            if (m.Msg == KwMasterMessage())
                events.push_back(static_cast<int>(m.WParam));
        };
    }
};

TEST_F(SetupPackageTest, EngineDecidesWhichConventionsAreInForce) {
    SetRegionalLocale("de_DE");
    TKwPkgSetup setup;
    TKwPkgSetupDataBase& db = setup.DataBase();
    EXPECT_EQ(db.DataBaseEngine(), dbeBDE);
    EXPECT_EQ(db.DateSeparator(), u'.');
    EXPECT_EQ(db.NumericDecimalSeparator(), u',');
    EXPECT_EQ(db.DateFormat(), TKwDateFormat::dfodmy);
    EXPECT_TRUE(db.QuotedNumber());

    db.SetDataBaseEngine(dbeADO);
    {
        TKwLoadingScope loading(setup);
        db.SetDateSeparator(u'-');
        db.SetQuotedNumber(true);
    }
    EXPECT_EQ(db.DataBaseEngine(), dbeADO);
    EXPECT_EQ(db.DateSeparator(), u'/');
    EXPECT_EQ(db.TimeSeparator(), u':');
    EXPECT_EQ(db.NumericDecimalSeparator(), u'.');
    EXPECT_FALSE(db.QuotedNumber());
    EXPECT_EQ(db.Stored().dateSeparator, u'-');

    db.SetTimeSeparator(u'.');
    EXPECT_EQ(db.DataBaseEngine(), dbeCustom);
    EXPECT_EQ(db.DateSeparator(), u'-');
    EXPECT_EQ(db.TimeSeparator(), u'.');
    EXPECT_TRUE(db.QuotedNumber());
    db.SetSQLSyntax(true);
    EXPECT_TRUE(db.SQLSyntax());
}

TEST_F(SetupPackageTest, ChangesAreBroadcastAndMarkTheSetupModified) {
    EventLog log;
    TKwPkgSetup setup;
    int packageChanges = 0, keyChanges = 0;
    setup.OnChange = [&](TKwPkgInfo&) { ++packageChanges; };
    setup.Keys().OnChange = [&](TKwPkgSetupKeys&) { ++keyChanges; };
    setup.Keys().SetShortCut(sscRefresh, 116);  // unchanged
    EXPECT_TRUE(log.events.empty());
    setup.Keys().SetBtnCalendar(0);
    setup.DataBase().SetQuotedNumber(false);
    EXPECT_EQ(log.events, (std::vector<int>{kwEvtKeySettings, kwEvtDatabaseSettings}));
    EXPECT_TRUE(setup.GetModified());
    EXPECT_EQ(keyChanges, 1);
    EXPECT_EQ(packageChanges, 0);

    setup.SetModified(false);
    log.events.clear();
    {
        TKwLoadingScope loading(setup);
        setup.Keys().SetActionEnter(true);
        setup.DataBase().SetDataBaseEngine(dbeADO);
    }
    EXPECT_TRUE(log.events.empty());
    EXPECT_FALSE(setup.GetModified());
}

TEST_F(SetupPackageTest, EveryVersionLoadsWithOlderFieldsLeftAlone) {
    TKwPkgSetup source;
    source.SetDescription(u"office");
    source.Keys().SetInsertMode(false);
    source.Keys().SetShortCut(sscAppendRecord, 1);
    source.Keys().SetShortCut(sscNextRecord, 2);
    source.Keys().SetDeleteType(dltGrids);
    source.DataBase().SetDateFormat(TKwDateFormat::dfoymd);
    source.DataBase().SetNumericDecimalSeparator(u',');
    source.DataBase().SetSQLSyntax(true);
    source.SetLanguage(u"Spanish");
    source.SetVars(u"user");
    for (int version = 1; version <= 5; ++version) {
        source.SetSaveVersion(version);
        TKwPkgSetup back;
        LoadBytes(back, SavedBytes(source));
        EXPECT_EQ(back.LoadedVersion(), version);
        EXPECT_EQ(back.Description(), u"office");
        EXPECT_FALSE(back.Keys().InsertMode());
        EXPECT_EQ(back.Keys().NextRecord(), 2);
        EXPECT_EQ(back.Language(), u"Spanish");
        EXPECT_EQ(back.Vars(), u"user");
        EXPECT_EQ(back.Keys().AppendRecord(), version >= 4 ? 1 : 24621);
        EXPECT_EQ(back.Keys().DeleteType(), version >= 5 ? dltGrids : dltBoth);
        EXPECT_EQ(back.DataBase().DataBaseEngine(), version >= 2 ? dbeCustom : dbeBDE);
        EXPECT_EQ(back.DataBase().Stored().numericDecimalSeparator, version >= 2 ? u',' : u'.');
        EXPECT_EQ(back.DataBase().SQLSyntax(), version >= 3);
        if (version == 5)
            EXPECT_EQ(SavedBytes(back), SavedBytes(source));
    }

    // The version 1 layout, value by value.
    test::PkgStream v1;
    v1.Header(u"KwPkgSetup", 1).Text(u"old").Booleans({true, true});
    for (std::int32_t key = 1; key <= 15; ++key)
        v1.Integer(key);
    TKwPkgSetup old;
    LoadBytes(old, v1.Texts({u"lan", u"dis", u"pva"}).Bytes());
    EXPECT_TRUE(old.Keys().ActionEnter());
    EXPECT_EQ(old.Keys().BtnCalculator(), 1);
    EXPECT_EQ(old.Keys().InsertRecord(), 7);
    EXPECT_EQ(old.Keys().EditRecord(), 8);
    EXPECT_EQ(old.Keys().NextRecord(), 15);
    EXPECT_EQ(old.Display(), u"dis");
}

TEST_F(SetupPackageTest, LoadingTheApplicationSetupLoadsTheFilesItNames) {
    const test::ScratchDir dir;
    const String path = dir.Folder();
    TKwPkgVars saved;
    saved.WriteInteger(u"Top", 3);
    saved.SaveToFile(path + u"office.pva");
    TKwPkgSetup named;
    named.SetVars(u"office");
    named.SetDisplay(u"office");
    const auto bytes = SavedBytes(named);

    // A second variables package stands in for the display package the setup drives.
    StartApplication();
    app_->SetPathPkgVars(path);
    auto& vars = Create<TKwPkgVars>(*app_);
    auto& display = Create<TKwPkgVars>(*app_);
    KwSetSettingsHost({.varsOf = [&](TKwCApplication&) { return &vars; },
                       .displayOf = [&](TKwCApplication&) { return &display; }});
    vars.SetInitMode(rimFILE);
    display.SetInitMode(rimFILE);
    TKwPkgSetup& setup = app_->PkgSetup();
    EventLog log;
    LoadBytes(setup, bytes);
    EXPECT_EQ(setup.Vars(), u"office");
    EXPECT_EQ(vars.ReadInteger(u"top", 0), 3);
    EXPECT_EQ(display.FileName(), u"office");
    EXPECT_EQ(display.Count(), 1);
    EXPECT_EQ(setup.Language(), u"");
    EXPECT_EQ(log.events,
              (std::vector<int>{kwEvtKeySettings, kwEvtDatabaseSettings, kwEvtWindowSkins}));

    named.SetVars(u"missing");
    EXPECT_THROW(LoadBytes(setup, SavedBytes(named)), EKwError);
    EXPECT_EQ(setup.Vars(), u"office");
}

TEST_F(SetupPackageTest, ConversionsAndEditorsReadTheActiveSetup) {
    KwInstallSetupDbSettings();
    const TDateTime date = EncodeDate(2024, 3, 5);
    EXPECT_EQ(KwDBDateToStr(date, TKwDateType::detDate), u"03/05/2024");
    EXPECT_TRUE(KwGetInsertMode());
    KwSetInsertMode(false);
    EXPECT_FALSE(KwGetInsertMode());
    EXPECT_FALSE(KwActionEnter());

    StartApplication();
    TKwPkgSetup& setup = app_->PkgSetup();
    EXPECT_TRUE(KwGetInsertMode());
    KwSetInsertMode(false);
    EXPECT_FALSE(setup.Keys().InsertMode());
    setup.Keys().SetActionEnter(true);
    EXPECT_TRUE(KwActionEnter());

    TKwPkgSetupDataBase& db = setup.DataBase();
    db.SetDateFormat(TKwDateFormat::dfodmy);
    db.SetDateSeparator(u'-');
    db.SetNumericDecimalSeparator(u',');
    db.SetQuotedNumber(false);
    EXPECT_EQ(KwDBDateToStr(date, TKwDateType::detDate), u"05-03-2024");
    EXPECT_EQ(KwDBNumericToStr(1.5), u"1,5");
    EXPECT_EQ(KwDBString(Variant(2.5), TKwDataType::dtyDouble, TKwDateType::detDateTime), u"2,5");
    db.SetQuotedNumber(true);
    EXPECT_EQ(KwDBString(Variant(2.5), TKwDataType::dtyDouble, TKwDateType::detDateTime), u"'2,5'");
    db.SetDataBaseEngine(dbeADO);
    EXPECT_EQ(KwDBNumericToStr(1.5), u"1.5");
}

}  // namespace
}  // namespace kw
