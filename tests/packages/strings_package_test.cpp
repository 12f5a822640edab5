#include "packages/strings_package.h"

#include <algorithm>
#include <string>

#include "packages/package_scopes.h"
#include "packages/packages_fixture.h"
#include "platform/core/filer.h"
#include "platform/text/string_list.h"
#include "platform/text/strings.h"
#include "platform/text/unicode.h"
#include "platform/ui/form.h"
#include "support/byte_builder.h"
#include "support/pkg_stream.h"
#include "support/scratch_dir.h"

namespace kw {
namespace {

using test::PkgStream;

class StringsPackageTest : public PackagesTest {};

TEST_F(StringsPackageTest, IdChecksRaiseTheirMessagesUnlessLoading) {
    TKwPkgStrings pkg;
    pkg.Labels().Add(5, u"five", u"");
    EXPECT_EQ(MessageIdOf([&] { pkg.Labels().Add(10000, u"", u""); }), 23);
    EXPECT_EQ(MessageIdOf([&] { pkg.Labels().Add(-1, u"", u""); }), 22);
    EXPECT_EQ(MessageIdOf([&] { pkg.Labels().Add(5, u"", u""); }), 24);
    EXPECT_EQ(MessageIdOf([&] { pkg.Messages().Add(9999, u"last"); }), 0);
    EXPECT_EQ(MessageIdOf([&] { pkg.Labels().Items(0).SetId(9999); }), 0);
    EXPECT_EQ(pkg.Labels().FindId(9999)->Text(), u"five");
    EXPECT_EQ(pkg.Labels().FindId(5), nullptr);
    {
        TKwLoadingScope loading(pkg);
        pkg.Labels().Add(10000, u"far", u"");
        pkg.Labels().Add(-1, u"none", u"");
        pkg.Texts().Add(3, u"a");
        pkg.Texts().Add(3, u"b");
    }
    EXPECT_EQ(pkg.Labels().Count(), 3);
    EXPECT_EQ(pkg.Labels().FindId(10000)->Text(), u"far");
    EXPECT_EQ(pkg.Texts().FindId(3)->Text(), u"a");  // the first of duplicates
}

TEST_F(StringsPackageTest, UniqueIdIsTheSmallestFreeId) {
    TKwPkgStrings pkg;
    EXPECT_EQ(pkg.Labels().UniqueId(), 0);
    EXPECT_EQ(pkg.Messages().UniqueId(), 0);
    for (int id : {0, 1, 3}) {
        pkg.Labels().Add(id, u"", u"");
        pkg.Messages().Add(id, u"");
    }
    EXPECT_EQ(pkg.Labels().UniqueId(), 2);
    EXPECT_EQ(pkg.Messages().UniqueId(), 2);
    for (int id : {2, 4}) {
        pkg.Labels().Add(id, u"", u"");
        pkg.Messages().Add(id, u"");
    }
    EXPECT_EQ(pkg.Labels().UniqueId(), 5);
    EXPECT_EQ(pkg.Messages().UniqueId(), 5);
    pkg.Labels().Delete(0);
    EXPECT_EQ(pkg.Labels().UniqueId(), 0);
    EXPECT_EQ(pkg.Labels().FindLabel(u"nothing"), nullptr);
}

TEST_F(StringsPackageTest, ErrorsReadTheirTextsFromTheSystemMessages) {
    TKwPkgLanguage& language = StartApplication();
    language.SystemStrings().Messages().Add(23, u"Id %d too big");
    TKwPkgStrings pkg;
    pkg.SetName(u"Texts");
    EXPECT_EQ(MessageOf([&] { pkg.Labels().Add(10000, u"", u""); }), u"(Texts) Id 10000 too big.");
    EXPECT_EQ(MessageOf([&] { pkg.Labels().Add(-5, u"", u""); }),
              u"(Texts) Message Unknown (System) (22).");
}

TEST_F(StringsPackageTest, ReservedNamesAreRefused) {
    TForm form;
    auto& onForm = Create<TKwPkgStrings>(form);
    EXPECT_EQ(MessageIdOf([&] { onForm.SetPkgName(u"system"); }), 67);
    EXPECT_EQ(MessageIdOf([&] { onForm.SetPkgName(u"USER"); }), 67);
    TKwPkgStrings loose;
    EXPECT_EQ(MessageIdOf([&] { loose.SetPkgName(u"User"); }), 67);
    loose.SetPkgName(u"System");  // allowed off a form, but never found by that name
    EXPECT_EQ(loose.PkgName(), u"System");
    EXPECT_EQ(KwFindPkgStrings(u"System"), nullptr);
    TKwPkgLanguage& language = StartApplication();
    EXPECT_EQ(KwFindPkgStrings(u"SYSTEM"), &language.SystemStrings());
    EXPECT_EQ(KwFindPkgStrings(u"user"), &language.UserStrings());
}

TEST_F(StringsPackageTest, FirstPackageOfANameIsActiveAndSwitchingReresolves) {
    StartApplication();
    TKwPkgStrings first;
    TKwPkgStrings second;
    first.SetPkgName(u"Main");
    second.SetPkgName(u"main");
    first.Labels().Add(1, u"from first", u"");
    second.Labels().Add(1, u"from second", u"");
    EXPECT_TRUE(first.Active());
    EXPECT_FALSE(second.Active());

    TKwMemoryLabel ref;
    TChangeCounter changes;
    changes.Watch(ref);
    ref.PkgId(u"Main", 1);
    EXPECT_EQ(ref.Text(), u"from first");
    changes.count = 0;

    second.SetActive(true);
    EXPECT_TRUE(second.Active());
    EXPECT_FALSE(first.Active());
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(ref.Text(), u"from second");

    second.SetActive(false);
    EXPECT_TRUE(first.Active());
    EXPECT_EQ(ref.Text(), u"from first");

    TStringList actives;
    KwPkgStringsActives(actives);
    EXPECT_EQ(actives.Count(), 3);  // with the language's System and User
    ASSERT_GE(actives.IndexOf(u"Main"), 0);
    EXPECT_EQ(actives.Objects(actives.IndexOf(u"Main")), &first);
}

TEST_F(StringsPackageTest, RenamingOrDestroyingTheActivePackageHandsItsReferencesOver) {
    StartApplication();
    auto a = std::make_unique<TKwPkgStrings>();
    TKwPkgStrings b;
    a->SetPkgName(u"A");
    b.SetPkgName(u"B");
    a->Labels().Add(0, u"a", u"");
    b.Labels().Add(0, u"b", u"");
    TKwMemoryLabel ref;
    ref.PkgId(u"B", 0);
    EXPECT_EQ(ref.Text(), u"b");
    a->SetPkgName(u"B");  // joins at the end: the older "B" stays active
    EXPECT_EQ(ref.Text(), u"b");
    b.SetPkgName(u"C");
    EXPECT_EQ(ref.Text(), u"a");
    b.SetPkgName(u"B");
    TChangeCounter changes;
    changes.Watch(ref);
    a.reset();
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(ref.Text(), u"b");
}

std::vector<std::uint8_t> VersionTwoFile() {
    PkgStream file;
    file.Header(u"KwPkgStrings", 2).Text(u"old").Integers({1, 1, 0, 5});
    return file.Texts({u"Label", u"Hint"}).Integer(9).Text(u"Message").Bytes();
}

TEST_F(StringsPackageTest, AVersionTwoFileLoadsUnprotectedAndKeepsTheWindowFields) {
    TKwPkgStrings pkg;
    pkg.DesignWindow().left = 40;
    pkg.Labels().Add(5, u"mine", u"").SetProtected(true);
    LoadBytes(pkg, VersionTwoFile());
    EXPECT_EQ(pkg.Description(), u"old");
    ASSERT_EQ(pkg.Labels().Count(), 1);
    EXPECT_EQ(pkg.Labels().FindId(5)->Hint(), u"Hint");
    EXPECT_FALSE(pkg.Labels().FindId(5)->Protected());
    EXPECT_EQ(pkg.Messages().FindId(9)->Text(), u"Message");
    EXPECT_EQ(pkg.DesignWindow().left, 40);
    EXPECT_EQ(pkg.LoadedVersion(), 2);
}

TEST_F(StringsPackageTest, EveryVersionRoundTripsWhatItStores) {
    TKwPkgStrings source;
    source.SetDescription(u"all");
    source.Labels().Add(7, u"l", u"h").SetProtected(true);
    source.Texts().Add(2, u"t\r\nline");
    source.DesignWindow() = {1, 2, 3, 4, 2};
    for (int version = 1; version <= 5; ++version) {
        source.SetSaveVersion(version);
        TKwPkgStrings back;
        LoadBytes(back, SavedBytes(source));
        EXPECT_EQ(back.Labels().FindId(7)->Hint(), u"h");
        EXPECT_EQ(back.Texts().FindId(2)->Text(), u"t\r\nline");
        EXPECT_EQ(back.Labels().FindId(7)->Protected(), version >= 5) << version;
        EXPECT_EQ(back.DesignWindow().height, version >= 3 ? 4 : TKwDesignWindow::kNotPlaced);
        EXPECT_EQ(back.DesignWindow().state, version >= 4 ? 2 : 0);
    }
    EXPECT_THROW(source.SetSaveVersion(6), EInvalidArgument);
}

// The 34-byte header as raw bytes: a 31-byte short string holding the signature, filler that
// carries no meaning, and the version.
std::vector<std::uint8_t> RawHeader(int version, std::uint8_t filler) {
    test::ByteBuilder header;
    header.U8(23).U8(1).Text("123456789").U8(1).Text("KwPkgStrings");
    header.Bytes(std::vector<std::uint8_t>(32 - header.Size(), filler));
    header.U16(static_cast<std::uint16_t>(version));
    return header.Data();
}

TEST_F(StringsPackageTest, HeaderAndProtectedFlagsAreTheBytesOfTheLayout) {
    TKwPkgStrings source;
    source.Labels().Add(3, u"l", u"h").SetProtected(true);
    const std::vector<std::uint8_t> saved = SavedBytes(source);
    ASSERT_GT(saved.size(), 34u);
    const std::vector<std::uint8_t> expected = RawHeader(5, 0);
    EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + 24, saved.begin()));
    EXPECT_EQ(saved[32], 5);
    EXPECT_EQ(saved[33], 0);

    // A version 5 file built by hand, with junk between signature and version: each item's
    // protection is the boolean after its texts.
    PkgStream file;
    file.Raw(RawHeader(5, 0xEE)).Text(u"by hand").Integers({2, 1, 1});
    file.Integer(1).Texts({u"label", u"hint"}).Boolean(true);
    file.Integer(2).Texts({u"label", u"hint"}).Boolean(false);
    file.Integer(9).Text(u"message").Boolean(false).Integer(4).Text(u"text").Boolean(true);
    file.Integers({10, 20, 300, 200, 1});
    TKwPkgStrings back;
    LoadBytes(back, file.Bytes());
    EXPECT_EQ(back.Description(), u"by hand");
    EXPECT_TRUE(back.Labels().FindId(1)->Protected());
    EXPECT_FALSE(back.Labels().FindId(2)->Protected());
    EXPECT_FALSE(back.Messages().FindId(9)->Protected());
    EXPECT_TRUE(back.Texts().FindId(4)->Protected());
    EXPECT_EQ(back.DesignWindow().width, 300);
}

TEST_F(StringsPackageTest, ATruncatedFileEndsLoadingAndTheScreenUpdate) {
    TKwPkgStrings pkg;
    std::vector<std::uint8_t> bytes = VersionTwoFile();
    bytes.resize(bytes.size() - 3);
    EXPECT_THROW(LoadBytes(pkg, bytes), EReadError);
    EXPECT_FALSE(pkg.LoadingProps());
    EXPECT_TRUE(KwScreen().Update());
    EXPECT_EQ(pkg.Labels().Count(), 1);  // partly filled
}

TEST_F(StringsPackageTest, ReadHelpersAndTheListOfFormPackages) {
    StartApplication();
    TForm form;
    auto& onForm = Create<TKwPkgStrings>(form);
    onForm.SetPkgName(u" Shared ");
    onForm.Labels().Add(3, u"caption", u"tip");
    onForm.Messages().Add(3, u"message");
    TKwPkgStrings loose;
    loose.SetPkgName(u"Shared");
    EXPECT_EQ(KwReadPkgLabelText(u" Shared ", 3), u"caption");
    EXPECT_EQ(KwReadPkgLabelHint(u" Shared ", 3), u"tip");
    EXPECT_EQ(KwReadPkgMessage(u" Shared ", 3), u"message");
    EXPECT_EQ(KwReadPkgText(u" Shared ", 3), u"");
    EXPECT_EQ(KwReadPkgLabelText(u"Missing", 3), u"");
    TStringList all;
    KwPkgStringsAll(all);
    ASSERT_EQ(all.Count(), 1);
    EXPECT_EQ(all.Strings(0), u"Shared");
}

// Loaded texts live in the package's arena: they must read back exactly however the stream
// delivers them, and stay right through reloads, deletions and copies to other packages.
TEST_F(StringsPackageTest, LoadedTextsSurviveBufferEdgesReloadsAndCopies) {
    const auto text = [](int id) {
        String s = u"entry " + IntToStr(id) + String(static_cast<size_t>(id % 50), u'x');
        return id % 3 == 1 ? s + u" \u00E9\u4E2D" : id % 3 == 2 ? s + String(1, Char{0xD800}) : s;
    };
    TKwPkgStrings source;
    for (int id = 0; id < 600; ++id) {
        source.Labels().Add(id, text(id), u"hint " + text(id));
        source.Messages().Add(id, text(id + 1));
    }
    const test::ScratchDir dir;
    const String path = dir.Of("arena.pst");
    source.SaveToFile(path);

    TKwPkgStrings loaded;
    for (int pass = 0; pass < 2; ++pass) {  // the second load reuses storage of the first
        TFileStream file(path, TFileMode::fmOpenRead);
        loaded.LoadFromStream(file);  // buffered: texts straddle the reader's buffer
        for (int id = 0; id < 600; ++id) {
            ASSERT_EQ(loaded.Labels().FindId(id)->TextView(), text(id)) << id;
            ASSERT_EQ(loaded.Labels().FindId(id)->Hint(), u"hint " + text(id)) << id;
            ASSERT_EQ(loaded.Messages().FindId(id)->Text(), text(id + 1)) << id;
        }
    }

    loaded.Labels().Delete(0);
    loaded.Labels().Add(0, u"again", u"");
    loaded.Labels().FindId(1)->SetText(u"changed");
    TKwPkgStrings copy;
    copy.Labels().Add(4, u"", u"").Assign(*loaded.Labels().FindId(4));
    loaded.Clear();
    LoadBytes(loaded, SavedBytes(source));  // another fill of the same arena
    EXPECT_EQ(copy.Labels().FindId(4)->Text(), text(4));
    EXPECT_EQ(copy.Labels().FindId(4)->Hint(), u"hint " + text(4));
    EXPECT_EQ(loaded.Labels().FindId(1)->Text(), text(1));
}

}  // namespace
}  // namespace kw
