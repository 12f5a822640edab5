// Conversions, masks and dates read the locale of the active application object's language,
// loaded from the reference language files the way a program loads them.

#include <cstdlib>

#include "framework/app_hooks.h"
#include "packages/locale_access.h"
#include "packages/packages_fixture.h"
#include "platform/core/files.h"
#include "platform/text/strings.h"
#include "platform/text/unicode.h"
#include "test_paths.h"
#include "util/app_format.h"
#include "util/convert.h"
#include "util/mask.h"
#include "util/mask_info.h"
#include "util/mask_value.h"

namespace kw {
namespace {

String ReferenceFolder() {
    // Absolute: the application object resolves relative paths against the program's folder.
    return ExpandFileName(Utf8ToString(test::ReferenceDir()));
}

// What each reference file says about numbers and dates.
struct FileLocale {
    const char* file;
    Char thousands;
    Char decimal;
    Char dateSeparator;
    TKwDateFormat order;
    const Char* june;  // short name of month 6, in lower case
};

const FileLocale kFiles[] = {
    {"English.lan", u',', u'.', u'/', dfomdy, u"jun"},
    {"Spanish.lan", u'.', u',', u'/', dfodmy, u"jun"},
    {"French.lan", u'\u00A0', u',', u'/', dfodmy, u"juin"},
    {"Italian.lan", u'.', u',', u'/', dfodmy, u"giu"},
    {"German.lan", u'.', u',', u'.', dfodmy, u"jun"},
};

String DateText(const FileLocale& l, const String& day, const String& month, const String& year) {
    const String s(1, l.dateSeparator);
    return l.order == dfomdy ? month + s + day + s + year : day + s + month + s + year;
}

class LocaleSettingsTest : public PackagesTest {
protected:
    void SetUp() override {
        PackagesTest::SetUp();
        ASSERT_TRUE(FileExists(ReferenceFolder() + u"German.lan"))
            << "build the kwctrls_languages target first";
        KwSetInstallation({ReferenceFolder(), 0});
        // A platform locale unlike every file, so that a value read from the wrong place shows.
        SetRegionalLocale("ja_JP");
    }

    // Starts an application object that loads `file` at start-up, as a program does; pinned,
    // it keeps the file's own regional values instead of the user's.
    static std::unique_ptr<TKwCApplication> Start(const char* file, bool pinned = true) {
        auto app = std::make_unique<TKwCApplication>();
        app->BeginLoading();
        app->SetPath(ReferenceFolder());
        app->PkgLanguage().SetInitMode(rimFILE);
        app->PkgLanguage().SetFileName(Utf8ToString(file));
        app->EndLoading();
        app->Link().DoInit();
        if (pinned)
            PinFileLocale(*app);
        return app;
    }

    // The file's own regional values instead of the user's.
    static void PinFileLocale(TKwCApplication& app) {
        app.PkgLanguage().Locale().SetAutoLoad(false);
        app.PkgLanguage().Locale().RestoreDefaults();
    }
};

TEST_F(LocaleSettingsTest, EachReferenceFileConvertsNumbersDatesAndMasksBothWays) {
    const TDateTime june = EncodeDate(2024, 6, 1);
    for (const FileLocale& l : kFiles) {
        SCOPED_TRACE(l.file);
        auto app = Start(l.file);
        const String t(1, l.thousands);
        const String d(1, l.decimal);

        EXPECT_DOUBLE_EQ(KwAStrToNumeric(u"1" + t + u"234" + d + u"5", 2), 1234.5);
        EXPECT_DOUBLE_EQ(KwAStrToNumeric(u"2" + d + u"00", 4), 2.0);
        EXPECT_EQ(KwANumericToStr(1234.5, u"", 0, 2), u"1234" + d + u"5");

        EXPECT_EQ(KwADateTimeToStr(june, u"dmy", dyeYear4), DateText(l, u"01", u"06", u"2024"));
        EXPECT_EQ(KwAStrToDate(DateText(l, u"24", u"12", u"2026")), EncodeDate(2026, 12, 24));
        // The display writes the file's month name (capitalised).
        const String shown = LowerCase(KwADateTimeToStrShow(june, u"dMy", dyeYear4));
        EXPECT_NE(shown.find(l.june), String::npos) << StringToUtf8(shown);

        // A mask that defers to the application takes the file's decimals (the platform's
        // currency has none).
        TKwMask mask;
        mask.SetTake(TKwMaskTake::mtaApplication);
        EXPECT_EQ(mask.Decimals(), 2);
        const TKwMaskInfo money = KwMaskScanned(TKwDataType::dtyDouble, u".", mask.DateYear());
        const String amount = KwMaskLong(money, Variant(1234.5), 0, mask.Decimals(), dyeYear4);
        EXPECT_EQ(amount, u"1" + t + u"234" + d + u"50");
        EXPECT_EQ(KwMaskToValue(money, Variant(), amount, 0, mask.Decimals(), dyeYear4),
                  Variant(1234.5));
        const TKwMaskInfo date = KwMaskScanned(TKwDataType::dtyDateTime, u"dmy", dyeYear4);
        const String edit = KwMaskShort(date, Variant::FromDate(june), 0, 0, dyeYear4);
        EXPECT_EQ(edit, DateText(l, u"01", u"06", u"2024"));
        EXPECT_EQ(KwMaskToValue(date, Variant(), edit, 0, 0, dyeYear4).AsDate(), june);
    }
}

TEST_F(LocaleSettingsTest, AutoLoadGivesTheUsersValuesWithTheFilesTexts) {
    SetRegionalLocale("en_US");
    auto app = Start("German.lan", false);
    EXPECT_TRUE(app->PkgLanguage().Locale().AutoLoad());
    EXPECT_DOUBLE_EQ(KwAStrToNumeric(u"1,234.5", 2), 1234.5);
    EXPECT_EQ(KwADateTimeToStr(EncodeDate(2024, 6, 1), u"dmy", dyeYear4), u"06/01/2024");
    TKwMemoryLabel cancel(u"System", 4, true);
    EXPECT_EQ(cancel.Text(), u"Abbrechen");
    // Pinning the file's own locale afterwards follows at once.
    PinFileLocale(*app);
    EXPECT_DOUBLE_EQ(KwAStrToNumeric(u"1.234,5", 2), 1234.5);
    EXPECT_EQ(KwADateTimeToStr(EncodeDate(2024, 6, 1), u"dmy", dyeYear4), u"01.06.2024");
}

TEST_F(LocaleSettingsTest, ConversionsFollowTheActiveApplicationObjectAndLocaleChanges) {
    auto german = Start("German.lan");
    auto english = Start("English.lan");
    // The first created stays active.
    EXPECT_EQ(KwAStrToDate(u"24.12.2026"), EncodeDate(2026, 12, 24));
    english->SetActive(true);
    EXPECT_DOUBLE_EQ(KwAStrToNumeric(u"1,234.5", 2), 1234.5);
    EXPECT_EQ(KwADateTimeToStr(EncodeDate(2024, 6, 1), u"dmy", dyeYear4), u"06/01/2024");
    german->SetActive(true);
    EXPECT_EQ(KwADateTimeToStr(EncodeDate(2024, 6, 1), u"dmy", dyeYear4), u"01.06.2024");
    // A change of the active locale reaches the next conversion.
    german->PkgLanguage().Locale().SetDateSeparator(u'-');
    EXPECT_EQ(KwADateTimeToStr(EncodeDate(2024, 6, 1), u"dmy", dyeYear4), u"01-06-2024");
    // Destroying the active object hands over to the other one.
    german.reset();
    EXPECT_EQ(KwADateTimeToStr(EncodeDate(2024, 6, 1), u"dmy", dyeYear4), u"06/01/2024");
    // Without any application object the platform's settings apply.
    english.reset();
    EXPECT_DOUBLE_EQ(KwAStrToNumeric(u"1,234.5", 2), 1234.5);
    SetRegionalLocale("de_DE");
    EXPECT_DOUBLE_EQ(KwAStrToNumeric(u"1.234,5", 2), 1234.5);
}

TEST_F(LocaleSettingsTest, TheCalendarRulesAndMaskDefaultsComeFromTheLocale) {
    auto app = Start("German.lan");
    TKwPkgLanguageLocale& locale = app->PkgLanguage().Locale();
    EXPECT_EQ(KwApplicationSettings().startOfWeek, sweMon);
    locale.SetStartOfWeek(sweSat);
    locale.SetStartWeekYear(swyFullWeek);
    locale.SetMaskDecimals(3);
    locale.SetMaskDateYear(dyeYear2);
    const TKwFormatSettings& now = KwApplicationSettings();
    EXPECT_EQ(now.startOfWeek, sweSat);
    EXPECT_EQ(now.startWeekYear, swyFullWeek);
    EXPECT_EQ(now.maskDecimals, 3);
    EXPECT_EQ(now.maskDateYear, dyeYear2);
}

}  // namespace
}  // namespace kw
