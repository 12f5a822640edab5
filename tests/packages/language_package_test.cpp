#include "packages/language_package.h"

#include <algorithm>

#include "framework/events.h"
#include "packages/locale_access.h"
#include "packages/package_scopes.h"
#include "packages/packages_fixture.h"
#include "packages/strings_update.h"
#include "platform/core/filer.h"
#include "platform/core/files.h"
#include "platform/core/properties.h"
#include "platform/text/string_list.h"
#include "platform/text/unicode.h"
#include "platform/ui/form.h"
#include "support/pkg_stream.h"
#include "support/scratch_dir.h"
#include "util/app_format.h"

namespace kw {
namespace {

using test::PkgStream;

class LanguagePackageTest : public PackagesTest {};

// An empty strings payload as a language file holds it.
void EmptyStrings(PkgStream& file) {
    constexpr int kNone = TKwDesignWindow::kNotPlaced;
    file.Header(u"KwPkgStrings", 5).Text(u"").Integers({0, 0, 0, kNone, kNone, kNone, kNone, 0});
}

// A language file of `version` written value by value, as the format lays it out.
std::vector<std::uint8_t> HandWrittenLanguage(int version) {
    PkgStream file;
    file.Header(u"KwPkgLanguage", version).Text(u"hand made").Integers({2029, dfoymd});
    file.Character(u'-').Integer(2).Texts({u"Sun", u"Mon"}).Integer(2).Texts({u"S", u"M"});
    file.Integers({dyeYear2, 7, 3, 1}).Text(u"Jan").Integer(1).Text(u"J");
    file.Character(u',').Character(u'.').Integers({sweMon, swyFullWeek});
    file.Texts({u"am", u"pm"}).Character(u'.');
    if (version >= 3)
        file.Text(u"EUR").Integer(cfo1cc);
    file.Boolean(false);
    EmptyStrings(file);
    EmptyStrings(file);
    if (version >= 2)
        file.Float(45000.5).Text(u"Spanish.lan");
    return file.Bytes();
}

TEST_F(LanguagePackageTest, EveryPayloadVersionLoadsItsFields) {
    for (int version = 1; version <= 3; ++version) {
        TKwPkgLanguage language;
        language.Locale().SetNumericCurrencyString(u"kept");
        language.SetLastUpdateFile(u"before");
        LoadBytes(language, HandWrittenLanguage(version));
        const TKwPkgLanguageLocale& locale = language.Locale();
        EXPECT_EQ(language.Description(), u"hand made");
        EXPECT_EQ(locale.DateCentury(), 2029);
        EXPECT_EQ(locale.DateFormat(), dfoymd);
        EXPECT_EQ(locale.DateSeparator(), u'-');
        EXPECT_EQ(locale.DayShortNames().Strings(1), u"M");
        EXPECT_EQ(locale.MaskDateYear(), dyeYear2);
        EXPECT_EQ(locale.MaskDateYearFix(), 7);
        EXPECT_EQ(locale.MaskDecimals(), 3);
        EXPECT_EQ(locale.MonthLongNames().Count(), 1);
        EXPECT_EQ(locale.NumericDecimalSeparator(), u',');
        EXPECT_EQ(locale.NumericThousandSeparator(), u'.');
        EXPECT_EQ(locale.StartOfWeek(), sweMon);
        EXPECT_EQ(locale.StartWeekYear(), swyFullWeek);
        EXPECT_EQ(locale.TimePMString(), u"pm");
        EXPECT_EQ(locale.TimeSeparator(), u'.');
        EXPECT_FALSE(locale.AutoLoad());
        EXPECT_EQ(locale.NumericCurrencyString(), version >= 3 ? u"EUR" : u"kept");
        EXPECT_EQ(language.UpdateDateTime(), version >= 2 ? 45000.5 : 0.0);
        EXPECT_EQ(language.LastUpdateFile(), version >= 2 ? u"Spanish.lan" : u"");
        // What this library writes at that version reads back the same.
        language.SetSaveVersion(version);
        EXPECT_EQ(SavedBytes(language), HandWrittenLanguage(version)) << "version " << version;
    }
}

// A damaged strings payload inside names the strings' own message.
TEST_F(LanguagePackageTest, ADamagedStringsPayloadRaisesTheStringsMessage) {
    TKwPkgLanguage language;
    std::vector<std::uint8_t> bytes = HandWrittenLanguage(3);
    const std::string word = "KwPkgStrings";
    const auto strings = std::search(bytes.begin(), bytes.end(), word.begin(), word.end());
    ASSERT_NE(strings, bytes.end());
    strings[-5] = 'X';  // a digit of the signature
    EXPECT_EQ(MessageIdOf([&] { LoadBytes(language, bytes); }), 46);
    EXPECT_FALSE(language.LoadingProps());
}

TEST_F(LanguagePackageTest, ModifiedCoversBothStringsPackages) {
    TKwPkgLanguage language;
    language.SetModified(false);
    language.UserStrings().Texts().Add(1, u"t");
    EXPECT_TRUE(language.GetModified());
    language.SetModified(false);
    EXPECT_FALSE(language.UserStrings().GetModified());
}

TEST_F(LanguagePackageTest, LocaleChangesBroadcastAndMarkModified) {
    TForm form;
    int broadcasts = 0;
    TKwPkgLanguage language;
    form.WindowProc = [&](TMessage& message) {
        if (message.Msg == KwMasterMessage() && message.WParam == kwEvtMasks)
            ++broadcasts;
    };
    language.SetModified(false);
    const Char separator = language.Locale().DateSeparator();
    language.Locale().SetDateSeparator(separator);
    EXPECT_EQ(broadcasts, 0);
    EXPECT_FALSE(language.GetModified());
    language.Locale().SetDateSeparator(separator == u'-' ? u'/' : u'-');
    EXPECT_EQ(broadcasts, 1);
    EXPECT_TRUE(language.GetModified());
    language.Locale().SetStartOfWeek(sweWed);  // a plain field
    EXPECT_EQ(broadcasts, 1);

    // The name lists are published, and editing one in place is a change like any other.
    language.SetModified(false);
    for (const Char* name : {u"MonthShortNames", u"MonthLongNames", u"DayShortNames"}) {
        const TPropInfoPtr info = FindProperty(TKwPkgLanguageLocale::StaticClass(), name);
        ASSERT_TRUE(info) << StringToUtf8(name);
        EXPECT_EQ(info->kind, TPropKind::pkObject);
    }
    const TPropInfoPtr days = FindProperty(TKwPkgLanguageLocale::StaticClass(), u"DayLongNames");
    ASSERT_TRUE(days);
    auto* list = dynamic_cast<TStringList*>(days->subObject(language.Locale()));
    ASSERT_EQ(list, &language.Locale().DayLongNames());
    ASSERT_EQ(list->Count(), 7);
    list->SetString(0, u"Sun-day");
    EXPECT_EQ(broadcasts, 2);
    EXPECT_TRUE(language.GetModified());
}

TEST_F(LanguagePackageTest, AutoLoadCopiesTheRegionalSettingsOfTheLocale) {
    SetRegionalLocale("de_DE");
    TKwPkgLanguage language;
    TKwPkgLanguageLocale& locale = language.Locale();
    EXPECT_EQ(locale.NumericDecimalSeparator(), u',');
    EXPECT_EQ(locale.DateSeparator(), u'.');
    EXPECT_EQ(locale.MonthLongNames().Strings(2), u"März");
    EXPECT_EQ(locale.DayLongNames().Strings(0), u"Sonntag");
    EXPECT_EQ(locale.NumericCurrencyFormat(), cfo1cc);
    EXPECT_EQ(locale.DateCentury(), 2049);  // never from the platform
    locale.SetAutoLoad(false);
    locale.SetNumericDecimalSeparator(u'!');
    SetRegionalLocale("en_US");
    locale.SetAutoLoad(true);
    EXPECT_EQ(locale.NumericDecimalSeparator(), u'.');
    EXPECT_EQ(locale.NumericCurrencyString(), u"$");
    EXPECT_EQ(locale.DateFormat(), dfomdy);
}

TEST_F(LanguagePackageTest, ShortDateFormatsGiveOrderAndYearWidth) {
    EXPECT_EQ(KwDateFormatOf(u"yyyy-MM-dd"), dfoymd);
    EXPECT_EQ(KwDateYearOf(u"yyyy-MM-dd"), dyeYear4);
    EXPECT_EQ(KwDateFormatOf(u"dd/MM/yy"), dfodmy);
    EXPECT_EQ(KwDateYearOf(u"dd/MM/yy"), dyeYear2);
    EXPECT_EQ(KwDateFormatOf(u"M/d/yyyy"), dfomdy);
    EXPECT_EQ(KwDateYearOf(u"M/d/yyyy"), dyeYear4);
    SetRegionalLocale("ja_JP");
    EXPECT_EQ(KwSystemDateFormat(), dfoymd);
    EXPECT_EQ(KwSystemDateYear(), dyeYear4);
}

TEST_F(LanguagePackageTest, PlatformCurrencyFormatThreeShowsTheCurrencyAfterABlank) {
    EXPECT_EQ(KwCurrencyFormatOf(9), cfo1cc);
    SetRegionalLocale("de_DE");  // the platform reports format 3
    TKwPkgLanguage& language = StartApplication();
    EXPECT_EQ(language.Locale().NumericCurrencyFormat(), cfo1cc);
    language.Locale().SetNumericCurrencyString(u"EUR");
    EXPECT_EQ(KwAInt64ToStrShowEx(5, u"", 0, KwLocaleNumericCurrencyString(),
                                  KwLocaleNumericCurrencyFormat()),
              u"5 EUR");
    SetRegionalLocale("en_US");  // format 0: joined in front
    language.Locale().LoadLocaleWindows(true);
    EXPECT_EQ(KwAInt64ToStrShowEx(5, u"", 0, KwLocaleNumericCurrencyString(),
                                  KwLocaleNumericCurrencyFormat()),
              u"$5");
}

TEST_F(LanguagePackageTest, AccessorsFallBackToThePlatformWithoutApplication) {
    SetRegionalLocale("it_IT");
    EXPECT_EQ(KwLocaleDateCentury(), 2049);
    EXPECT_EQ(KwLocaleYearFix(), 0);
    const TStringList& months = KwLocaleMonthLongNames();
    ASSERT_EQ(months.Count(), 12);
    EXPECT_EQ(months.Strings(0), u"gennaio");
    EXPECT_EQ(KwLocaleDayShortNames().Count(), 7);
    EXPECT_EQ(KwLocaleNumericDecimalSeparator(), u',');
    EXPECT_EQ(KwLocaleDateFormat(), dfodmy);  // "dd/MM/yy" begins with a lower-case d

    TKwPkgLanguage& language = StartApplication();
    language.Locale().SetDateCentury(2030);
    language.Locale().SetNumericDecimalSeparator(u'#');
    EXPECT_EQ(KwLocaleDateCentury(), 2030);
    EXPECT_EQ(KwLocaleNumericDecimalSeparator(), u'#');
    EXPECT_EQ(&KwLocaleMonthLongNames(), &language.Locale().MonthLongNames());
}

class LanguageFilesTest : public LanguagePackageTest {
protected:
    void SetUp() override {
        LanguagePackageTest::SetUp();
        KwSetLanguageHost({nullptr, [this] { return Folder(); }});
    }
    String Folder() const { return dir_.Folder(); }
    // A reference file whose System label, message and text 0 all read `mark`.
    void WriteReference(const String& name, const String& mark, const String& separator) {
        TKwPkgLanguage language;
        TKwLoadingScope building(language);
        language.SystemStrings().Labels().Add(0, mark, u"");
        language.SystemStrings().Messages().Add(0, mark);
        language.SystemStrings().Texts().Add(0, mark);
        language.SystemStrings().Labels().Add(1, mark + u" one", u"");
        language.Locale().SetDateSeparator(separator.front());
        language.SaveToFile(Folder() + name);
    }
    test::ScratchDir dir_{"kw_lang"};
};

TEST_F(LanguageFilesTest, RestoreDefaultsReloadsTheLocaleOfTheRecordedFile) {
    WriteReference(u"German.lan", u"Deutsch", u".");
    TKwPkgLanguage language;
    language.SetLastUpdateFile(u"/nowhere/German.lan");  // missing there: taken from the folder
    language.Locale().SetDateSeparator(u'~');
    language.Locale().SetAutoLoad(false);
    language.Locale().RestoreDefaults();
    EXPECT_EQ(language.Locale().DateSeparator(), u'.');
    EXPECT_FALSE(language.Locale().AutoLoad());
    language.SetLastUpdateFile(u"Missing.lan");
    language.Locale().SetDateSeparator(u'~');
    language.Locale().RestoreDefaults();
    EXPECT_EQ(language.Locale().DateSeparator(), u'~');
}

TEST_F(LanguageFilesTest, SystemUpdateKeepsProtectedItemsAndAddsMissingOnes) {
    WriteReference(u"English.lan", u"English", u"/");
    TKwPkgLanguage& language = StartApplication();
    TKwPkgStrings& system = language.SystemStrings();
    system.Labels().Add(0, u"mine", u"").SetProtected(true);
    system.Labels().Add(7, u"only here", u"");
    system.Messages().Add(0, u"old message");
    TKwMemoryMessage ref;
    ref.PkgId(u"System", 0);
    TChangeCounter changes;
    changes.Watch(ref);
    std::vector<String> captions;
    EXPECT_TRUE(KwUpdateSystemStrings(
        language, Folder() + u"English.lan",
        [&](const String& caption, int position, int maximum) { captions.push_back(caption); }));
    EXPECT_EQ(system.Labels().FindId(0)->Text(), u"mine");
    EXPECT_EQ(system.Labels().FindId(1)->Text(), u"English one");
    EXPECT_EQ(system.Labels().FindId(7)->Text(), u"only here");
    EXPECT_EQ(system.Messages().FindId(0)->Text(), u"English");
    EXPECT_EQ(system.Texts().FindId(0)->Text(), u"English");
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(captions, (std::vector<String>{u"Updating Label: 0", u"Updating Label: 1",
                                             u"Updating Message: 0", u"Updating Text: 0"}));
    EXPECT_EQ(language.LastUpdateFile(), u"English.lan");
    EXPECT_GT(language.UpdateDateTime(), 0);
    EXPECT_TRUE(language.GetModified());
}

}  // namespace
}  // namespace kw
