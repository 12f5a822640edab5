// The reference language files built from resources/languages.

#include <cstdlib>
#include <set>

#include "framework/pkg_formats.h"
#include "packages/package_scopes.h"
#include "packages/packages_fixture.h"
#include "platform/core/files.h"
#include "platform/text/string_list.h"
#include "platform/text/strings.h"
#include "platform/text/unicode.h"
#include "test_paths.h"

namespace kw {
namespace {

const char* const kLanguages[] = {"English", "Spanish", "French", "Italian", "German"};

std::set<int> Range(int first, int last) {
    std::set<int> ids;
    for (int id = first; id <= last; ++id)
        ids.insert(id);
    return ids;
}

std::set<int> Union(std::initializer_list<std::set<int>> parts) {
    std::set<int> all;
    for (const auto& part : parts)
        all.insert(part.begin(), part.end());
    return all;
}

// Every number the library shows by number.
const std::set<int> kLabels =
    Union({{0}, Range(2, 19), {62, 63}, Range(73, 77), Range(82, 95), {195}});
const std::set<int> kMessages = Union({{0, 1},
                                       Range(3, 6),
                                       {13},
                                       Range(15, 24),
                                       Range(27, 33),
                                       Range(38, 41),
                                       {46, 47},
                                       {62, 63, 67, 73, 79, 82, 86, 90, 93}});

String Folder() {
    return Utf8ToString(test::ReferenceDir());
}

std::set<int> IdsOf(const TKwPkgStringsCollection& items) {
    std::set<int> ids;
    for (int i = 0; i < items.Count(); ++i)
        ids.insert(items.ItemAt(i).Id());
    return ids;
}

// The format specifiers of a message, in order.
String Placeholders(const String& text) {
    String found;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == u'%')
            found += text.substr(i, 2);
    }
    return found;
}

class LanguageFilesTest : public PackagesTest {
protected:
    void SetUp() override {
        PackagesTest::SetUp();
        for (const char* name : kLanguages) {
            const String path = Folder() + Utf8ToString(name) + u".lan";
            ASSERT_TRUE(FileExists(path)) << "build the kwctrls_languages target first";
            languages_.push_back(std::make_unique<TKwPkgLanguage>());
            TKwLoadingScope quiet(*languages_.back());
            languages_.back()->LoadFromFile(path);
        }
    }
    TKwPkgStrings& System(size_t language) { return languages_[language]->SystemStrings(); }
    std::vector<std::unique_ptr<TKwPkgLanguage>> languages_;
};

TEST_F(LanguageFilesTest, EachFileHoldsExactlyTheNumbersTheLibraryUses) {
    for (size_t i = 0; i < languages_.size(); ++i) {
        SCOPED_TRACE(kLanguages[i]);
        EXPECT_EQ(IdsOf(System(i).Labels()), kLabels);
        EXPECT_EQ(IdsOf(System(i).Messages()), kMessages);
        EXPECT_EQ(IdsOf(System(i).Texts()), std::set<int>{0});
        EXPECT_EQ(System(i).Messages().FindId(99), nullptr);  // shown as "Message Unknown"
        for (int id : kLabels)
            EXPECT_FALSE(System(i).Labels().FindId(id)->Text().empty()) << "label " << id;
        EXPECT_EQ(languages_[i]->UserStrings().Labels().Count(), 0);
    }
}

TEST_F(LanguageFilesTest, TranslationsKeepThePlaceholdersAndDiffer) {
    const TKwPkgStringsMessages& english = System(0).Messages();
    EXPECT_EQ(Placeholders(english.FindId(22)->Text()), u"%d");
    EXPECT_EQ(Placeholders(english.FindId(46)->Text()), u"%s");
    EXPECT_EQ(Placeholders(english.FindId(3)->Text()), u"");
    for (size_t i = 1; i < languages_.size(); ++i) {
        SCOPED_TRACE(kLanguages[i]);
        int translated = 0;
        for (int id : kMessages) {
            const String& own = System(i).Messages().FindId(id)->Text();
            EXPECT_EQ(Placeholders(own), Placeholders(english.FindId(id)->Text())) << id;
            EXPECT_NO_THROW(Placeholders(own) == u"%d" ? Format(own, {42}) : Format(own, {u"x"}))
                << id;
            translated += own != english.FindId(id)->Text() ? 1 : 0;
        }
        EXPECT_EQ(translated, static_cast<int>(kMessages.size()));
    }
}

TEST_F(LanguageFilesTest, EachFileIsRecognisedByItsMarks) {
    KwSetLanguageHost({nullptr, [] { return Folder(); }});
    for (size_t i = 0; i < languages_.size(); ++i) {
        EXPECT_EQ(KwScanLanguageFileName(*languages_[i], Folder()),
                  Utf8ToString(kLanguages[i]) + u".lan");
        EXPECT_EQ(KwReadPkgLanguageDescription(Folder() + Utf8ToString(kLanguages[i]) + u".lan"),
                  languages_[i]->Description());
    }
}

TEST_F(LanguageFilesTest, LocalesMatchTheirLanguage) {
    const TKwPkgLanguageLocale& english = languages_[0]->Locale();
    const TKwPkgLanguageLocale& german = languages_[4]->Locale();
    EXPECT_EQ(english.DateFormat(), dfomdy);
    EXPECT_EQ(english.NumericDecimalSeparator(), u'.');
    EXPECT_EQ(german.DateFormat(), dfodmy);
    EXPECT_EQ(german.DateSeparator(), u'.');
    EXPECT_EQ(german.NumericDecimalSeparator(), u',');
    EXPECT_EQ(german.NumericCurrencyString(), u"€");
    EXPECT_EQ(languages_[1]->Locale().MonthLongNames().Strings(0), u"enero");
    for (const auto& language : languages_) {
        EXPECT_EQ(language->Locale().MonthShortNames().Count(), 12);
        EXPECT_EQ(language->Locale().DayLongNames().Count(), 7);
    }
}

}  // namespace
}  // namespace kw
