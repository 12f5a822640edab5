#include <filesystem>

#include "display/memory_image.h"
#include "framework/pkg_formats.h"
#include "packages/privileges_formats.h"
#include "platform/core/files.h"
#include "platform/text/unicode.h"
#include "privileges_fixture.h"
#include "support/scratch_dir.h"

namespace kw {
namespace {

class PrivilegesFilesTest : public PrivilegesTest {
protected:
    String PathOf(const char* name) const { return dir_.Of(name); }
    static void Rename(const String& from, const String& to) {
        std::filesystem::rename(StringToUtf8(from), StringToUtf8(to));
    }
    test::ScratchDir dir_{"kw_privileges"};
};

TEST_F(PrivilegesFilesTest, AccessFilesRoundTripUnderTheirNameAndKey) {
    TKwPkgPrivileges& p = StartTree();
    app_->SetPrivilegesKey(u"secret");
    p.SetKey(u"clerk");
    p.SetDescription(u"clerk rights");
    p.WriteAccess(11, accRead);
    p.WriteAccess(20, accNone);
    const String path = PathOf("clerk.acc");
    p.SaveToFile(path);

    p.GrantAllAccess();
    p.SetKey(u"");
    p.LoadFromFile(path);
    EXPECT_EQ(p.ReadAccess(11, accReadWrite), accRead);
    EXPECT_EQ(p.ReadAccess(20, accReadWrite), accNone);
    EXPECT_EQ(p.Key(), u"clerk");
    EXPECT_EQ(p.Description(), u"clerk rights");
    EXPECT_EQ(KwReadPkgAccessDescription(path), u"clerk rights");

    // Blanks around either key do not matter; another key does.
    app_->SetPrivilegesKey(u"  secret ");
    p.LoadFromFile(path);
    app_->SetPrivilegesKey(u"other");
    EXPECT_EQ(MessageIdOf([&] { p.LoadFromFile(path); }), 90);
    app_->SetPrivilegesKey(u"");
    EXPECT_EQ(MessageIdOf([&] { p.LoadFromFile(path); }), 90);

    // Letter case of the file name is forgiven, another name is not.
    app_->SetPrivilegesKey(u"secret");
    const String upper = PathOf("CLERK.acc");
    Rename(path, upper);
    p.LoadFromFile(upper);
    const String copied = PathOf("boss.acc");
    Rename(upper, copied);
    const auto refused = ErrorOf([&] { p.LoadFromFile(copied); });
    ASSERT_TRUE(refused) << "a copied access file must be refused";
    EXPECT_EQ(refused->MessageId(), 90);
    EXPECT_EQ(refused->Source(), u"App");
}

TEST_F(PrivilegesFilesTest, AFileWithoutKeyLoadsUnderAnyKeyAndUnknownIdsAreSkipped) {
    TKwPkgPrivileges& p = StartTree();
    const auto bytes = PkgStream()
                           .Header(u"KwAccess", 3)
                           .Text(u"")
                           .Raw(AccessScrambled(u"  "))
                           .Raw(AccessScrambled(u""))
                           .Raw(AccessScrambled(u"k"))
                           .Integers({3, 11, accNone, 555, accNone, 20, accRead})
                           .Bytes();
    app_->SetPrivilegesKey(u"anything");
    LoadStream(bytes, [&](TStream& s) { p.LoadFromStream(s); });
    EXPECT_EQ(p.ReadAccess(11, accReadWrite), accNone);
    EXPECT_EQ(p.ReadAccess(20, accReadWrite), accRead);
    EXPECT_EQ(p.FindId(555), nullptr);
    EXPECT_EQ(p.Count(), 5);
}

TEST_F(PrivilegesFilesTest, EveryAccessVersionReads) {
    TKwPkgPrivileges& p = StartTree();
    app_->SetPrivilegesKey(u"K\u00E9y");
    // Versions 1 and 2: 8-bit strings, Windows-1252 after unscrambling; version 1 has no key.
    for (int version : {1, 2}) {
        PkgStream file;
        file.Header(u"KwAccess", version)
            .Text(u"old")
            .Raw(AnsiScrambled({'K', 0xE9, 'y'}))
            .Raw(AnsiScrambled({}));
        if (version >= 2)
            file.Raw(AnsiScrambled({'o', 'l', 'd', 0x80}));
        file.Integers({1, 21, accRead});
        p.GrantAllAccess();
        p.SetKey(u"before");
        LoadStream(file.Bytes(), [&](TStream& s) { p.LoadFromStream(s); });
        EXPECT_EQ(p.ReadAccess(21, accNone), accRead) << version;
        EXPECT_EQ(p.Key(), version >= 2 ? String(u"old\u20AC") : String(u"before")) << version;
    }

    // A 32-bit length (kind 12) is read as well; any other kind is refused.
    test::ByteBuilder longString;
    longString.U8(12).U32(1).U8('k' ^ 0x3C);
    PkgStream withLong;
    withLong.Header(u"KwAccess", 2).Text(u"").Raw(AnsiScrambled({})).Raw(AnsiScrambled({}));
    withLong.Raw(longString.Data()).Integer(0);
    LoadStream(withLong.Bytes(), [&](TStream& s) { p.LoadFromStream(s); });
    EXPECT_EQ(p.Key(), u"k");
    const auto wide = PkgStream().Header(u"KwAccess", 2).Text(u"").Text(u"wide").Bytes();
    try {
        LoadStream(wide, [&](TStream& s) { p.LoadFromStream(s); });
        FAIL() << "a UTF-16 string in an old access file must be refused";
    } catch (const EReadError& error) {
        EXPECT_EQ(String(error.Message()), u"ReadAnsiEncode:PropValueError");
    }
}

TEST_F(PrivilegesFilesTest, NewerVersionsAndOtherKindsAreRefused) {
    TKwPkgPrivileges& p = StartPrivileges();
    using Load = void (TKwPkgPrivileges::*)(TStream&);
    const struct {
        const Char* word;
        int version;
        Load load;
        int message;
    } cases[] = {{u"KwAccess", 4, &TKwPkgPrivileges::LoadFromStream, 63},
                 {u"KwVisibles", 1, &TKwPkgPrivileges::LoadFromStream, 62},
                 {u"KwVisibles", 7, &TKwPkgPrivileges::LoadVisiblesFromStream, 63},
                 {u"KwPrivileges", 6, &TKwPkgPrivileges::LoadTemplateFromStream, 63}};
    for (const auto& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.word) + " " + std::to_string(c.version));
        const auto bytes = PkgStream().Header(c.word, c.version).Bytes();
        EXPECT_EQ(MessageIdOf([&] { LoadStream(bytes, [&](TStream& s) { (p.*c.load)(s); }); }),
                  c.message);
    }
}

TEST_F(PrivilegesFilesTest, ScrambledStringsRoundTripInAllThreeForms) {
    const String text = u"Cl\u00E9 \u4E2D\U0001F600 ~";
    for (bool visibles : {false, true}) {
        TMemoryStream stream;
        {
            TWriter writer(stream);
            if (visibles) {
                KwWriteScrambledVisibles(writer, text);
            } else {
                KwWriteScrambledAccess(writer, text);
            }
        }
        const auto bytes = stream.Bytes();
        // The plain text must not show through.
        EXPECT_EQ(std::search(bytes.begin(), bytes.end(), std::begin("Cl"), std::end("Cl") - 1),
                  bytes.end());
        stream.SetPosition(0);
        TReader reader(stream);
        EXPECT_EQ(visibles ? KwReadScrambledVisibles(reader) : KwReadScrambledAccess(reader, 3),
                  text);
    }
    EXPECT_EQ(AccessScrambled(u"A"), (std::vector<std::uint8_t>{1, 0, 'A' ^ 0x3C, 0x3C}));

    // The 8-bit form of old access files decodes with the default code page.
    const auto ansi = AnsiScrambled({'a', 0x80, 0xFF});
    TMemoryStream stream;
    stream.Write(ansi.data(), static_cast<std::int64_t>(ansi.size()));
    stream.SetPosition(0);
    TReader reader(stream);
    EXPECT_EQ(KwReadScrambledAccess(reader, 2), u"a\u20AC\u00FF");
}

TEST_F(PrivilegesFilesTest, VisiblesFilesKeepTheExactNameAndEveryVersionReads) {
    TKwPkgPrivileges& p = StartTree();
    p.FindId(12)->SetVisible(false);
    p.FindId(21)->SetVisible(false);
    const String path = PathOf("clerk.vis");
    p.SaveVisiblesToFile(path);
    EXPECT_EQ(p.DiskFileName(), u"");
    p.GrantAllVisibles();
    p.LoadVisiblesFromFile(path);
    EXPECT_FALSE(p.FindId(10)->Visible());
    EXPECT_FALSE(p.FindId(20)->Visible());

    const String upper = PathOf("CLERK.vis");
    Rename(path, upper);
    EXPECT_EQ(MessageIdOf([&] { p.LoadVisiblesFromFile(upper); }), 90);
    EXPECT_EQ(MessageIdOf([&] { p.LoadVisiblesFromFile(u" "); }), 3);
    EXPECT_EQ(MessageIdOf([&] { p.SaveTemplateToFile(u""); }), 3);

    for (int version = 1; version <= 6; ++version) {
        PkgStream file;
        file.Header(u"KwVisibles", version)
            .Text(u"v")
            .Text(VisiblesScrambled(u""))
            .Text(VisiblesScrambled(u""));
        if (version >= 2)
            file.Text(VisiblesScrambled(u"role"));
        file.Integers({2, 12}).Boolean(true).Integer(777).Boolean(false);
        p.ClearVisibles();
        p.SetKey(u"none");
        LoadStream(file.Bytes(), [&](TStream& s) { p.LoadVisiblesFromStream(s); });
        EXPECT_TRUE(p.FindId(12)->Visible()) << version;
        EXPECT_TRUE(p.FindId(10)->Visible()) << "ancestors follow, version " << version;
        EXPECT_FALSE(p.FindId(20)->Visible()) << version;
        EXPECT_EQ(p.Key(), version >= 2 ? String(u"role") : String(u"none"));
    }
}

TEST_F(PrivilegesFilesTest, TemplatesOfEveryVersionRead) {
    TKwPkgPrivileges& p = StartPrivileges();
    for (int version = 1; version <= 5; ++version) {
        PkgStream file;
        file.Header(u"KwPrivileges", version);
        if (version >= 2)
            file.Text(u"roles");
        file.Integer(2);
        for (int id : {3, 4}) {
            file.Integer(id);
            if (version >= 4)
                file.Integer(id == 4 ? 3 : -1);
            file.Text(id == 3 ? u"Parent" : u"Child")
                .Text(u"User")
                .Integer(id * 10)
                .Integer(accRead);
            if (version >= 3)
                file.Boolean(true);
            if (version >= 5)
                file.Text(u"System").Integer(id + 100);
        }
        LoadStream(file.Bytes(), [&](TStream& s) { p.LoadTemplateFromStream(s); });
        ASSERT_EQ(p.Count(), 2) << version;
        EXPECT_EQ(p.TemplateDescription(), version >= 2 ? u"roles" : u"") << version;
        EXPECT_EQ(p.FindId(4)->Description(), u"Child");
        EXPECT_EQ(p.FindId(4)->DescriptionId().PkgName(), u"User");
        EXPECT_EQ(p.FindId(4)->DescriptionId().Id(), 40);
        EXPECT_EQ(p.FindId(4)->Access(), accRead);
        EXPECT_EQ(p.FindId(4)->Parent(), version >= 4 ? p.FindId(3) : nullptr) << version;
        EXPECT_EQ(p.FindId(4)->Image().Id(), version >= 5 ? 104 : -1) << version;
    }
    const auto early = PkgStream().Header(u"KwPrivileges", 5).Text(u"").Integers({5, -1}).Bytes();
    LoadStream(early, [&](TStream& s) { p.LoadTemplateFromStream(s); });
    EXPECT_EQ(p.Count(), 0) << "a negative id ends the list";
}

TEST_F(PrivilegesFilesTest, TemplatesRoundTripAndAChildBeforeItsParentStaysOnTop) {
    TKwPkgPrivileges& p = StartTree();
    p.SetTemplateDescription(u"shop");
    p.FindId(12)->SetVisible(false);
    p.FindId(21)->SetAccess(accRead);
    p.FindId(20)->Image().PkgId(u"User", 5);
    const String path = PathOf("shop.tpl");
    p.SaveTemplateToFile(path);
    EXPECT_EQ(KwReadPkgTemplateDescription(path), u"shop");
    const auto saved = SavedStream([&](TStream& s) { p.SaveTemplateToStream(s); });

    TKwPkgPrivileges copy(nullptr);
    copy.LoadTemplateFromFile(path);
    EXPECT_EQ(SavedStream([&](TStream& s) { copy.SaveTemplateToStream(s); }), saved);
    EXPECT_FALSE(copy.FindId(10)->Visible());

    // 12 now precedes its new parent 30 in the item list.
    p.Add(30);
    p.FindId(12)->SetParent(p.FindId(30));
    LoadStream(SavedStream([&](TStream& s) { p.SaveTemplateToStream(s); }),
               [&](TStream& s) { copy.LoadTemplateFromStream(s); });
    EXPECT_EQ(copy.FindId(12)->Parent(), nullptr);
    EXPECT_EQ(copy.FindId(30)->GetChildCount(), 0);
}

TEST_F(PrivilegesFilesTest, TheApplicationPackageLoadsItsAccessFileAtStartUp) {
    TKwPkgPrivileges& p = StartTree();
    app_->SetPathPrivileges(PathOf(""));
    p.WriteAccess(12, accNone);
    p.SaveToFile(PathOf("start.acc"));
    p.GrantAllAccess();
    p.SetFileName(u"start");
    EXPECT_EQ(p.ReadAccess(12, accReadWrite), accNone);
    EXPECT_EQ(p.GetFileName(u"start"), PathOf("start.acc"));
}

}  // namespace
}  // namespace kw
