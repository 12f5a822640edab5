#include "packages/vars_package.h"

#include <filesystem>

#include "packages/package_scopes.h"
#include "packages/packages_fixture.h"
#include "platform/core/filer.h"
#include "platform/core/files.h"
#include "platform/text/string_list.h"
#include "platform/text/unicode.h"
#include "platform/ui/form.h"
#include "support/pkg_stream.h"
#include "support/scratch_dir.h"

namespace kw {
namespace {

class VarsPackageTest : public PackagesTest {
protected:
    void TearDown() override {
        ResetCollationLocale();
        PackagesTest::TearDown();
    }
};

std::vector<String> Idents(const TKwPkgVarsItem* first) {
    std::vector<String> idents;
    for (const TKwPkgVarsItem* item = first; item != nullptr; item = item->Next())
        idents.push_back(item->Ident());
    return idents;
}

// A variables stream written value by value, in whatever order the test gives.
class VarsStream : public test::BasicPkgStream<VarsStream> {
public:
    explicit VarsStream(int version = 4, StringView description = {}) {
        Header(u"KwPkgVars", version).Text(description);
    }
    VarsStream& Item(StringView ident, TKwPkgVarsItemType type, bool withChildren = false) {
        return Integer(withChildren ? 2 : 1).Text(ident).Integer(type);
    }
    VarsStream& End() { return Integer(0); }
};

TEST_F(VarsPackageTest, PathsCreateDirectoriesAndMatchEitherSeparatorAndCase) {
    TKwPkgVars vars;
    vars.WriteInteger(u"Window/Main/Left", 5);
    EXPECT_EQ(vars.Count(), 3);
    TKwPkgVarsItem* item = vars.Find(u"window\\MAIN/left");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Path(), u"Window/Main/Left");
    EXPECT_EQ(item->Parent()->ItemType(), vitDirectory);
    EXPECT_EQ(vars.Find(u"Window/Main/Top"), nullptr);
    EXPECT_EQ(vars.Find(u"Window/Left"), nullptr);
    EXPECT_EQ(vars.ReadString(u"Window/Main/Left", u""), u"5");
    EXPECT_TRUE(vars.ReadBool(u"Window/Main/Left", false));
    EXPECT_EQ(vars.ReadFloat(u"Window/Main/Left", 0), 5.0);
    EXPECT_EQ(vars.ReadInteger(u"Window/Main/Gone", -1), -1);

    vars.WriteInteger(u"WINDOW/main/LEFT", 6);
    EXPECT_EQ(vars.Count(), 3);
    EXPECT_EQ(item->VInteger(), 6);
    EXPECT_EQ(item->Ident(), u"Left");

    vars.WriteString(u"Window", u"flat");
    EXPECT_EQ(vars.Count(), 1);
    EXPECT_EQ(vars.FirstItem()->FirstChild(), nullptr);
    EXPECT_EQ(vars.ReadString(u"window", u""), u"flat");

    vars.WriteBool(u"Window/Visible", true);  // the value becomes a directory again
    EXPECT_EQ(vars.Find(u"Window")->VString(), u"");
    vars.Delete(u"Window");
    vars.Delete(u"Nothing/There");
    EXPECT_EQ(vars.Count(), 0);
    EXPECT_EQ(vars.FirstItem(), nullptr);
}

TEST_F(VarsPackageTest, BlankPathsAndPartsAreRefusedWithoutCreatingAnything) {
    TKwPkgVars vars;
    EXPECT_EQ(MessageIdOf([&] { vars.Find(u"  "); }), 29);
    EXPECT_EQ(MessageIdOf([&] { vars.Add(u"", vitInteger); }), 29);
    EXPECT_EQ(MessageIdOf([&] { vars.Add(u"a/ /b", vitInteger); }), 30);
    EXPECT_EQ(MessageIdOf([&] { vars.Add(u"/a", vitInteger); }), 30);
    EXPECT_EQ(vars.Count(), 0);
}

TEST_F(VarsPackageTest, SiblingsFollowTheLocaleCollationWithoutRegardToCase) {
    TKwPkgVars vars;
    for (const Char* ident : {u"b", u"C", u"a", u"\u00C4pfel", u"Zeta", u"apple"})
        vars.Add(ident, vitInteger);
    EXPECT_EQ(Idents(vars.FirstItem()),
              (std::vector<String>{u"a", u"\u00C4pfel", u"apple", u"b", u"C", u"Zeta"}));

    TKwPkgVarsItem& b = *vars.Find(u"b");
    b.SetIdent(u"B");  // letter case only: stays where it is
    EXPECT_EQ(Idents(vars.FirstItem())[3], u"B");
    b.SetIdent(u"zz");
    EXPECT_EQ(Idents(vars.FirstItem()).back(), u"zz");
    EXPECT_EQ(MessageIdOf([&] { b.SetIdent(u"APPLE"); }), 28);
    EXPECT_EQ(MessageIdOf([&] { b.SetIdent(u"x/y"); }), 27);
    EXPECT_EQ(MessageIdOf([&] { b.CheckIdent(u"x\\y"); }), 27);
    EXPECT_EQ(vars.Find(u"ZZ"), &b);
}

TEST_F(VarsPackageTest, ValuesConvertBetweenTypesOnReading) {
    TKwPkgVars vars;
    TKwPkgVarsItem& item = vars.Add(u"v", vitBoolean);
    item.SetVBoolean(true);
    EXPECT_EQ(item.VInteger(), 1);
    EXPECT_EQ(item.VFloat(), 1.0);
    EXPECT_EQ(item.VString(), u"True");
    item.SetVInteger(-3);
    EXPECT_FALSE(item.VBoolean());
    EXPECT_EQ(item.VString(), u"-3");
    item.SetVFloat(-2.75);
    EXPECT_EQ(item.ItemType(), vitFloat);
    EXPECT_EQ(item.VInteger(), -2);
    EXPECT_FALSE(item.VBoolean());
    EXPECT_EQ(item.VString(), u"-2.75");
    item.SetVFloat(1e300);
    EXPECT_EQ(item.VInteger(), 2147483647);
    for (const Char* text : {u"True", u"tRUE"}) {
        item.SetVString(text);
        EXPECT_TRUE(item.VBoolean()) << StringToUtf8(text);
    }
    item.SetVString(u"yes");
    EXPECT_FALSE(item.VBoolean());
    EXPECT_THROW(item.VInteger(), EConvertError);
    EXPECT_THROW(item.VFloat(), EConvertError);
    item.SetVString(u" 42 ");
    EXPECT_EQ(item.VInteger(), 42);
    item.SetVString(u"0.125");
    EXPECT_EQ(item.VFloat(), 0.125);
    item.SetItemType(vitDirectory);
    EXPECT_EQ(item.VString(), u"");
    EXPECT_FALSE(item.VBoolean());
    EXPECT_EQ(item.VInteger(), 0);
}

TEST_F(VarsPackageTest, UnitRoutinesFindPackagesByName) {
    TKwPkgVars one, two;
    one.SetPkgName(u"Settings");
    two.SetPkgName(u"settings");
    EXPECT_TRUE(one.Active());
    EXPECT_FALSE(two.Active());
    KwWritePkgInteger(u"SETTINGS", u"a/b", 7);
    EXPECT_EQ(one.ReadInteger(u"a/b", 0), 7);
    EXPECT_EQ(KwReadPkgString(u"Settings", u"A/B", u""), u"7");
    EXPECT_EQ(KwReadPkgInteger(u"Missing", u"a/b", -1), -1);
    KwWritePkgBoolean(u"Missing", u"a", true);
    KwWritePkgBoolean(u"System", u"a", true);
    EXPECT_EQ(KwFindPkgVars(u"System"), nullptr);
    EXPECT_EQ(KwFindPkgVars(u" "), nullptr);
    two.SetActive(true);
    EXPECT_EQ(KwFindPkgVars(u"Settings"), &two);
    KwDeletePkgVar(u"Settings", u"a");
    EXPECT_EQ(one.Count(), 2);

    EXPECT_EQ(KwFindPkgVars(u"User"), nullptr);
    StartApplication();
    TKwPkgVars& user = app_->PkgVars();
    EXPECT_EQ(user.Link().CodInit(), kwInitOther);
    EXPECT_EQ(one.Link().CodInit(), kwInitVariables);
    KwWritePkgFloat(u"user", u"Scale", 1.5);
    EXPECT_EQ(user.ReadFloat(u"scale", 0), 1.5);

    EXPECT_EQ(MessageIdOf([&] { one.SetPkgName(u"User"); }), 67);
    TForm form;
    auto& onForm = Create<TKwPkgVars>(form);
    EXPECT_EQ(MessageIdOf([&] { onForm.SetPkgName(u"System"); }), 67);
    onForm.SetPkgName(u"Settings");
    TStringList list;
    KwPkgVarsActives(list);
    // The application object's own "User" package is listed with the others.
    ASSERT_EQ(list.Count(), 2);
    EXPECT_GE(list.IndexOf(u"Settings"), 0);
    EXPECT_GE(list.IndexOf(u"User"), 0);
    KwPkgVarsAll(list);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Objects(0), &onForm);
}

TEST_F(VarsPackageTest, StreamKeepsEveryKindAndTheEditorValues) {
    TKwPkgVars vars;
    vars.SetDescription(u"settings");
    vars.WriteBool(u"b", true);
    vars.WriteInteger(u"d/i", -70000);
    vars.WriteFloat(u"d/f", 0.1);
    vars.WriteString(u"d/s", u"\u00E9t\u00E9");
    vars.WriteString(u"d/empty", u"");
    vars.Add(u"e", vitDirectory);
    vars.DesignWindow().left = 10;
    vars.DesignWindow().state = 2;
    const auto bytes = SavedBytes(vars);
    constexpr int kNone = TKwDesignWindow::kNotPlaced;
    VarsStream expected(4, u"settings");
    expected.Item(u"b", vitBoolean).Boolean(true).Item(u"d", vitDirectory, true);
    expected.Item(u"empty", vitString).Text(u"").Item(u"f", vitFloat).Float(0.1);
    expected.Item(u"i", vitInteger).Integer(-70000).Item(u"s", vitString).Text(u"\u00E9t\u00E9");
    expected.End().Item(u"e", vitDirectory).End().Integers({10, kNone, kNone, kNone, 2});
    EXPECT_EQ(bytes, expected.Bytes());

    TKwPkgVars back;
    LoadBytes(back, bytes);
    EXPECT_EQ(back.Description(), u"settings");
    EXPECT_EQ(back.Count(), vars.Count());
    EXPECT_EQ(back.ReadInteger(u"d/i", 0), -70000);
    EXPECT_EQ(back.ReadFloat(u"d/f", 0), 0.1);
    EXPECT_EQ(back.ReadString(u"d/s", u""), u"\u00E9t\u00E9");
    EXPECT_EQ(back.Find(u"e")->ItemType(), vitDirectory);
    EXPECT_EQ(back.DesignWindow().left, 10);
    EXPECT_EQ(back.DesignWindow().top, TKwDesignWindow::kNotPlaced);
    EXPECT_EQ(back.DesignWindow().state, 2);
    EXPECT_EQ(SavedBytes(back), bytes);
}

TEST_F(VarsPackageTest, EveryVersionLoadsAndAnUnknownKindIsRefused) {
    TKwPkgVars vars;
    vars.WriteInteger(u"a/b", 1);
    vars.DesignWindow() = {1, 2, 3, 4, 5};
    for (int version = 1; version <= 4; ++version) {
        vars.SetSaveVersion(version);
        TKwPkgVars back;
        LoadBytes(back, SavedBytes(vars));
        EXPECT_EQ(back.LoadedVersion(), version);
        EXPECT_EQ(back.ReadInteger(u"A/B", 0), 1);
        EXPECT_EQ(back.DesignWindow().height, version >= 3 ? 4 : TKwDesignWindow::kNotPlaced);
        EXPECT_EQ(back.DesignWindow().state, version >= 4 ? 5 : 0);
    }
    TKwPkgVars refused;
    auto badType = VarsStream().Item(u"x", TKwPkgVarsItemType(5)).End().Bytes();
    EXPECT_THROW(LoadBytes(refused, badType), EReadError);
}

TEST_F(VarsPackageTest, FilesInAnotherCollationOrderLoseNoVariable) {
    // Swedish sorts "\u00E4" after "z"; this order is wrong for the current collation.
    VarsStream file(2);
    file.Item(u"zebra", vitInteger).Integer(1).Item(u"\u00E4ra", vitDirectory, true);
    file.Item(u"y", vitInteger).Integer(2).Item(u"b", vitInteger).Integer(3).End();
    file.Item(u"Apple", vitInteger).Integer(4).End();
    const auto bytes = file.Bytes();
    TKwPkgVars vars;
    LoadBytes(vars, bytes);
    vars.SetSaveVersion(2);
    EXPECT_EQ(SavedBytes(vars), bytes);
    EXPECT_EQ(vars.ReadInteger(u"ZEBRA", 0), 1);
    EXPECT_EQ(vars.ReadInteger(u"\u00C4RA/Y", 0), 2);
    EXPECT_EQ(vars.ReadInteger(u"\u00E4ra/b", 0), 3);
    EXPECT_EQ(vars.ReadInteger(u"apple", 0), 4);
    vars.WriteInteger(u"APPLE", 5);
    vars.WriteInteger(u"\u00E4ra/c", 6);
    EXPECT_EQ(vars.Count(), 6);
    EXPECT_EQ(vars.ReadInteger(u"apple", 0), 5);
    EXPECT_EQ(vars.ReadInteger(u"\u00E4ra/c", 0), 6);
    EXPECT_EQ(vars.ReadInteger(u"\u00E4ra/y", 0), 2);

    // The same holds for a tree sorted before the collation locale changed.
    TKwPkgVars local;
    for (const Char* ident : {u"z", u"\u00E4", u"a"})
        local.WriteInteger(ident, 1);
    SetCollationLocale("sv_SE");
    for (const Char* ident : {u"z", u"\u00C4", u"A"})
        EXPECT_NE(local.Find(ident), nullptr) << StringToUtf8(ident);
    local.WriteInteger(u"\u00F6", 2);
    EXPECT_EQ(local.Count(), 4);
    EXPECT_EQ(Idents(local.FirstItem()).back(), u"\u00F6");
}

TEST_F(VarsPackageTest, DeepTreesLoadAndFreeWithoutRecursion) {
    constexpr int kDepth = 100000;
    VarsStream stream;
    for (int i = 0; i < kDepth; ++i)
        stream.Item(u"d", vitDirectory, i + 1 < kDepth);
    for (int i = 0; i < kDepth; ++i)
        stream.End();
    const auto bytes = stream.Integers({0, 0, 0, 0, 0}).Bytes();
    {
        TKwPkgVars vars;
        LoadBytes(vars, bytes);
        EXPECT_EQ(vars.Count(), kDepth);
        EXPECT_NE(vars.Find(u"d/D/d"), nullptr);
        EXPECT_EQ(SavedBytes(vars), bytes);
    }
}

TEST_F(VarsPackageTest, StartUpLoadsTheFileFromThePathForVariables) {
    const test::ScratchDir dir;
    StartApplication();
    app_->SetPathPkgVars(dir.Folder());
    TKwPkgVars source;
    source.WriteString(u"who", u"me");
    source.SaveToFile(dir.Folder() + u"user.pva");

    TKwPkgVars vars;
    EXPECT_EQ(vars.GetFileName(u"user"), dir.Folder() + u"user.pva");
    {
        TKwLoadingScope reading(vars);
        vars.SetInitMode(rimFILE);
        vars.SetFileName(u"user");
    }
    app_->SetRegisterVars(false);
    vars.Link().DoInit();
    EXPECT_EQ(vars.Count(), 0);
    app_->SetRegisterVars(true);
    vars.Link().DoInit();
    EXPECT_EQ(vars.ReadString(u"who", u""), u"me");
    EXPECT_FALSE(vars.GetModified());
    {
        TKwLoadingScope reading(vars);
        vars.SetFileName(u"absent");
    }
    EXPECT_NO_THROW(vars.Link().DoInit());
}

}  // namespace
}  // namespace kw
