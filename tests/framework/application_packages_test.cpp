#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "display/default_sets.h"
#include "display/display_package.h"
#include "display/image_package.h"
#include "display/package_image.h"
#include "display/set_references.h"
#include "display/state.h"
#include "framework/app_hooks.h"
#include "framework/application.h"
#include "framework/errors.h"
#include "framework/events.h"
#include "framework/kw_hint_window.h"
#include "framework/kw_screen.h"
#include "framework/pkg_formats.h"
#include "framework/state.h"
#include "package_bytes.h"
#include "packages/language_package.h"
#include "packages/memory_refs.h"
#include "packages/privileges_package.h"
#include "packages/setup_package.h"
#include "packages/state.h"
#include "packages/strings_package.h"
#include "packages/vars_package.h"
#include "platform/core/datetime.h"
#include "platform/core/files.h"
#include "platform/core/form_stream.h"
#include "platform/core/stream.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/graphic.h"
#include "platform/text/string_list.h"
#include "platform/text/unicode.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/screen.h"
#include "support/pkg_stream.h"
#include "support/scratch_dir.h"

namespace kw {
namespace {

namespace fs = std::filesystem;

class ApplicationPackages : public testing::Test {
protected:
    void SetUp() override {
        ResetAll();
        fs::create_directories(dir_.Path() / "install");
        KwSetInstallation({dir_.Of("install"), 0});
        for (const TClass* c : {&TForm::StaticClass(), &TKwCApplication::StaticClass(),
                                &TKwPkgStrings::StaticClass(), &TKwPkgVars::StaticClass()})
            RegisterClass(*c);
    }
    void TearDown() override { ResetAll(); }
    static void ResetAll() {
        KwResetFrameworkState();
        KwResetPackagesState();
        KwResetDisplayState();
        Application().Reset();
        Screen().Reset();
        KwSetMessageLookup(nullptr);
    }

    String Root() const { return Utf8ToString(dir_.Path().string()); }
    String PathOf(const std::string& name) const { return dir_.Of(name); }
    String InstallPath(const std::string& name) const { return PathOf("install/" + name); }

    // A language file whose System label 3 reads `ok` (label 0, message 0 and text 0 name it).
    void WriteLanguage(const String& path, const String& name, const String& ok) {
        TKwPkgLanguage language;
        language.SystemStrings().Labels().Add(0, name, String());
        language.SystemStrings().Messages().Add(0, name);
        language.SystemStrings().Texts().Add(0, name);
        language.SystemStrings().Labels().Add(3, ok, String());
        language.SystemStrings().Texts().Add(1, ok + u"!");
        language.SaveToFile(path);
    }

    // A display file whose System images have the ids and widths given.
    void WriteDisplay(const String& path, const std::vector<std::pair<int, int>>& images) {
        TKwPkgDisplay display;
        for (auto [id, width] : images)
            AddImage(display.SystemImages(), id, width);
        display.SetsColor().Add(u"Main").SetColor(0x123456);
        display.SaveToFile(path);
    }

    static void AddImage(TKwPkgImages& package, int id, int width) {
        TBitmap bitmap;
        bitmap.SetSize(width, 4);
        TMemoryStream bytes;
        bitmap.SaveToStream(bytes);
        bytes.SetPosition(0);
        package.Images().Add(id).LoadFromStream(bytes, &TBitmap::StaticClass());
    }

    static void SetAge(const String& path, TDateTime when) { ASSERT_TRUE(FileSetDate(path, when)); }

    test::ScratchDir dir_{"kwapp"};
};

// Every kind of package file has a reader for its description, checks its own signature and
// newest version before it changes anything, and a refused file leaves neither loading nor a
// screen update open.
TEST_F(ApplicationPackages, EachKindReadsItsDescriptionAndRefusesNewerVersionsAndOtherKinds) {
    TKwPkgStrings strings;
    TKwPkgVars vars;
    TKwPkgLanguage language;
    TKwPkgSetup setup;
    TKwPkgDisplay display;
    TKwPkgImages images;
    strings.Labels().Add(1, u"kept", String());
    vars.WriteInteger(u"kept", 1);
    language.UserStrings().Texts().Add(1, u"kept");
    setup.SetVars(u"kept");
    display.SetsColor().Add(u"Kept");
    images.Images().Add(1);
    const struct {
        TKwPkgInfo* package;
        const Char* word;
        String (*readDescription)(const String&);
        int newest, foreign, newer;
    } kinds[] = {{&strings, u"KwPkgStrings", &KwReadPkgStringsDescription, 5, 46, 47},
                 {&vars, u"KwPkgVars", &KwReadPkgVarsDescription, 4, 31, 32},
                 {&language, u"KwPkgLanguage", &KwReadPkgLanguageDescription, 3, 33, 41},
                 {&setup, u"KwPkgSetup", &KwReadPkgSetupDescription, 5, 20, 21},
                 {&display, u"KwPkgDisplay", &KwReadPkgDisplayDescription, 9, 18, 19},
                 {&images, u"KwPkgImages", &KwReadPkgImagesDescription, 7, 39, 40}};
    for (const auto& k : kinds) {
        SCOPED_TRACE(StringToUtf8(k.word));
        k.package->SetDescription(u"About " + String(k.word));
        const String path = PathOf(StringToUtf8(k.word));
        k.package->SaveToFile(path);
        EXPECT_EQ(k.readDescription(path), u"About " + String(k.word));

        const auto before = SavedBytes(*k.package);
        const auto newer = test::PkgStream().Header(k.word, k.newest + 1).Bytes();
        EXPECT_EQ(MessageIdOf([&] { LoadBytes(*k.package, newer); }), k.newer);
        const auto other = test::PkgStream().Header(u"KwPkgOther", 1).Bytes();
        EXPECT_EQ(MessageIdOf([&] { LoadBytes(*k.package, other); }), k.foreign);
        EXPECT_EQ(SavedBytes(*k.package), before);
        EXPECT_FALSE(k.package->LoadingProps());
        EXPECT_TRUE(KwScreen().Update());
    }
}

TEST_F(ApplicationPackages, VariableShortcutsReachTheActiveObjectsUserVariables) {
    TKwCApplication app;
    app.WriteInteger(u"Window/Width", 640);
    EXPECT_EQ(app.PkgVars().ReadInteger(u"Window/Width", 0), 640);
    EXPECT_EQ(app.ReadInteger(u"Window/Width", 0), 640);
    app.DeleteVar(u"Window/Width");
    EXPECT_EQ(app.ReadInteger(u"Window/Width", -1), -1);
}

TEST_F(ApplicationPackages, SwitchingTheActiveObjectRetranslatesLabels) {
    TKwCApplication first, second;
    first.PkgLanguage().SystemStrings().Labels().Add(3, u"OK", String());
    second.PkgLanguage().SystemStrings().Labels().Add(3, u"Aceptar", String());
    TKwMemoryLabel label(u"System", 3, true);
    int changes = 0;
    label.OnChange = [&](TKwMemoryReference&) { ++changes; };
    EXPECT_EQ(label.Text(), u"OK");
    second.SetActive(true);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(label.Text(), u"Aceptar");
}

TEST_F(ApplicationPackages, FirstCreatedIsActiveUntilAnotherIsMadeActive) {
    TKwCApplication first;
    first.SetName(u"First");
    first.SetActive(false);  // nobody to take over
    EXPECT_TRUE(first.Active());
    TKwCApplication second;
    second.SetName(u"Second");
    EXPECT_EQ(KwCApp(), &first);
    second.SetActive(true);
    EXPECT_EQ(KwCApp(), &second);
    EXPECT_FALSE(first.Active());
    TStringList names;
    KwCApplicationsAll(names);
    EXPECT_EQ(names.Text(), u"Second\r\nFirst\r\n");
    EXPECT_EQ(names.Objects(1), &first);
}

TEST_F(ApplicationPackages, SwitchingBroadcastsTheChangeEventsToOpenForms) {
    TForm form;
    std::vector<int> events;
    form.WindowProc = [&](TMessage& m) {
        if (m.Msg == KwMasterMessage())
            events.push_back(static_cast<int>(m.WParam));
    };
    TKwCApplication first, second;
    std::vector<String> resolved;
    const int kind =
        KwRegisterReferenceKind({[&](TKwCApplication& app) { resolved.push_back(u"uncheck"); },
                                 nullptr, [&] { resolved.push_back(u"resolve"); }});
    second.SetActive(true);
    EXPECT_EQ(events, (std::vector<int>{kwEvtMasks, kwEvtKeySettings, kwEvtDatabaseSettings,
                                        kwEvtWindowSkins}));
    // The previous object's references, the new object's, then one resolution pass.
    KwUnregisterReferenceKind(kind);
    EXPECT_EQ(resolved, (std::vector<String>{u"uncheck", u"uncheck", u"resolve"}));
}

TEST_F(ApplicationPackages, DestroyingTheActiveObjectHandsOverAndTheLastClearsStartupFlags) {
    auto first = std::make_unique<TKwCApplication>();
    auto second = std::make_unique<TKwCApplication>();
    first->PkgDisplay().SetsColor().Add(u"Main").SetColor(0x0000FF);
    second->PkgDisplay().SetsColor().Add(u"Main").SetColor(0x00FF00);
    TKwSetColor color;
    color.SetName(u"Main");
    EXPECT_EQ(color.Color(), 0x0000FFu);
    int changes = 0;
    color.OnChange = [&](TKwSetReference&) { ++changes; };
    KwState().firstPassStarted = KwState().firstPassFinished = true;
    first.reset();
    EXPECT_EQ(KwCApp(), second.get());
    EXPECT_EQ(color.Color(), 0x00FF00u);
    EXPECT_GE(changes, 1);
    EXPECT_TRUE(KwState().firstPassStarted);
    second.reset();
    EXPECT_EQ(KwCApp(), nullptr);
    EXPECT_FALSE(KwState().firstPassStarted);
    EXPECT_FALSE(KwState().firstPassFinished);
}

TEST_F(ApplicationPackages, ScalingUsesTheDesignDensityWhenScaled) {
    TKwCApplication app;
    app.SetPixelsPerInch(96);
    Screen().SetPixelsPerInch(144);
    EXPECT_EQ(app.xScaled(100), 100);
    app.SetScaled(true);
    EXPECT_EQ(app.xScaled(100), 150);
    EXPECT_EQ(app.xScaledEx(100, 72), 200);
}

TEST_F(ApplicationPackages, DefaultTextHeightIsAppliedOnlyByTheActiveObject) {
    const int original = KwDefaultFont().Height();
    TMemoryStream stream;
    {
        TForm form;
        form.SetName(u"Form1");
        Create<TKwCApplication>(form).SetName(u"App");
        KwDefaultFont().SetHeight(original + 7);
        WriteComponent(stream, form);
        KwDefaultFont().SetHeight(original);
    }
    {
        TKwCApplication active;  // first in the list, so the one read is not active
        stream.SetPosition(0);
        auto copy = ReadNewComponent(stream);
        EXPECT_EQ(KwDefaultFont().Height(), original);
    }
    stream.SetPosition(0);
    auto alone = ReadNewComponent(stream);
    EXPECT_EQ(KwDefaultFont().Height(), original + 7);
    KwDefaultFont().SetHeight(original);
}

TEST_F(ApplicationPackages, HostFormKeepsPackagesInBothModesAndStartsThemInOrder) {
    const String langFile = PathOf("app.lan");
    WriteLanguage(langFile, u"Spanish", u"Aceptar");
    TMemoryStream stream;
    {
        TForm form;
        form.SetName(u"Form1");
        auto& app = Create<TKwCApplication>(form);
        app.SetName(u"App");
        app.SetPath(Root());
        app.PkgSetup().Keys().SetInsertMode(false);
        app.PkgVars().WriteString(u"Main/Title", u"Ledger");
        app.PkgDisplay().SetsColor().Add(u"Main").SetColor(0x00ABCDEF);
        app.Privileges().Add(7).SetDescription(u"Edit customers");
        app.PkgLanguage().SetInitMode(rimFILE);
        app.PkgLanguage().SetFileName(u"app.lan");
        auto& extra = Create<TKwPkgStrings>(form);
        extra.SetName(u"Extra");
        extra.SetPkgName(u"Extra");
        extra.Labels().Add(1, u"Stand-alone", String());
        WriteComponent(stream, form);
    }
    ResetAll();
    Application().SetMainForm(nullptr);
    stream.SetPosition(0);
    TFormNode tree = ReadFormTree(stream);
    ASSERT_EQ(tree.children.size(), 2u);
    std::vector<String> names;
    for (const TFormProperty& p : tree.children[0].properties)
        names.push_back(p.name);
    // The defined properties follow the published ones in their fixed order; the language
    // package is in file mode, so it has no data block, and only its mode is stored.
    const std::vector<String> expectedTail{
        u"ReadStateDisableControl", u"PixelsPerInch", u"DefaultTextHeight",
        u"PkgLanguageInitMode",     u"PkgSetupData",  u"PkgLanguageData",
        u"PkgDisplayData",          u"PkgVarsData",   u"PrivilegesData"};
    ASSERT_GE(names.size(), expectedTail.size());
    EXPECT_EQ(std::vector<String>(names.end() - expectedTail.size(), names.end()), expectedTail);

    stream.SetPosition(0);
    auto root = ReadNewComponent(stream);
    auto* app = dynamic_cast<TKwCApplication*>(root->FindComponent(u"App"));
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(KwCApp(), app);
    EXPECT_FALSE(app->PkgSetup().Keys().InsertMode());
    EXPECT_EQ(app->PkgVars().ReadString(u"Main/Title", String()), u"Ledger");
    ASSERT_NE(app->PkgDisplay().SetsColor().Find(u"main"), nullptr);
    EXPECT_EQ(app->PkgDisplay().SetsColor().Find(u"main")->Color(), 0x00ABCDEFu);
    ASSERT_NE(app->Privileges().FindId(7), nullptr);
    EXPECT_EQ(app->Privileges().FindId(7)->Description(), u"Edit customers");
    // The file-mode language was loaded from its file at start-up.
    EXPECT_EQ(app->PkgLanguage().InitMode(), rimFILE);
    EXPECT_EQ(TKwMemoryLabel(u"System", 3, true).Text(), u"Aceptar");
    auto* extra = dynamic_cast<TKwPkgStrings*>(root->FindComponent(u"Extra"));
    ASSERT_NE(extra, nullptr);
    EXPECT_EQ(extra->Labels().FindId(1)->Text(), u"Stand-alone");
    EXPECT_FALSE(app->PkgVars().GetModified());
}

TEST_F(ApplicationPackages, PrivilegesOnAFormTakeTheTemplateAndStoreNoData) {
    RegisterClass(TKwPkgPrivileges::StaticClass());
    TMemoryStream stream;
    {
        TForm form;
        form.SetName(u"Form1");
        auto& app = Create<TKwCApplication>(form);
        app.SetName(u"App");
        app.Privileges().Add(1).SetDescription(u"Customers");
        app.Privileges().Add(2).SetParent(app.Privileges().FindId(1));
        auto& rights = Create<TKwPkgPrivileges>(form);
        rights.SetName(u"UserRights");
        WriteComponent(stream, form);
    }
    ResetAll();
    stream.SetPosition(0);
    const TFormNode tree = ReadFormTree(stream);
    for (const TFormNode& child : tree.children) {
        if (child.name != u"UserRights")
            continue;
        for (const TFormProperty& p : child.properties)
            EXPECT_NE(p.name, u"Data");
    }
    stream.SetPosition(0);
    auto root = ReadNewComponent(stream);
    auto* rights = dynamic_cast<TKwPkgPrivileges*>(root->FindComponent(u"UserRights"));
    ASSERT_NE(rights, nullptr);
    ASSERT_EQ(rights->Count(), 2);
    EXPECT_EQ(rights->FindId(1)->Description(), u"Customers");
    EXPECT_EQ(rights->FindId(2)->Parent(), rights->FindId(1));
}

TEST_F(ApplicationPackages, DesignTimeInsertionChecksTheFormAndLoadsTheDefaults) {
    WriteDisplay(InstallPath("standard.dis"), {{2, 32}});
    TForm form;
    form.SetDesigning(true);
    auto& first = Create<TKwCApplication>(form);
    EXPECT_NE(first.PkgDisplay().SystemImages().Images().FindId(2), nullptr);
    EXPECT_EQ(MessageIdOf([&] { Create<TKwCApplication>(form); }), 13);
    EXPECT_EQ(form.ComponentCount(), 1);
    EXPECT_EQ(KwState().applications.size(), 1u);

    TComponent holder;
    holder.SetDesigning(true);
    const auto outside = ErrorOf([&] { Create<TKwCApplication>(holder); });
    ASSERT_TRUE(outside) << "no error outside a form";
    EXPECT_NE(std::string(outside->what()).find("must be on a Form"), std::string::npos);
    EXPECT_EQ(holder.ComponentCount(), 0);
    EXPECT_EQ(KwCApp(), &first);
}

TEST_F(ApplicationPackages, MissingPackageFileIsReportedAndStartUpGoesOn) {
    TMemoryStream stream;
    {
        TForm form;
        form.SetName(u"Form1");
        auto& app = Create<TKwCApplication>(form);
        app.SetName(u"App");
        app.SetPath(Root());
        app.SetPathPkgVars(Root());
        app.BeginLoading();  // designing: named, not loaded
        app.PkgSetup().SetInitMode(rimFILE);
        app.PkgSetup().SetFileName(u"absent.set");
        app.EndLoading();
        // A stand-alone variables package starts after the application object.
        auto& other = Create<TKwPkgVars>(form);
        other.SetName(u"Other");
        other.SetPkgName(u"Other");
        other.BeginLoading();
        other.SetInitMode(rimFILE);
        other.SetFileName(u"other.vars");
        other.EndLoading();
        WriteComponent(stream, form);
    }
    ResetAll();
    {
        TKwPkgVars source;
        source.WriteString(u"Greeting", u"from file");
        source.SaveToFile(PathOf("other.vars"));
    }
    std::vector<std::string> errors;
    Application().OnException = [&](TObject*, const std::exception& e) {
        errors.emplace_back(e.what());
    };
    stream.SetPosition(0);
    auto root = ReadNewComponent(stream);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("absent.set"), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find("not found"), std::string::npos) << errors[0];
    auto* other = dynamic_cast<TKwPkgVars*>(root->FindComponent(u"Other"));
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->ReadString(u"Greeting", String()), u"from file");
}

TEST_F(ApplicationPackages, InactiveObjectLoadsNoFilesAtRunTime) {
    const String langFile = PathOf("second.lan");
    WriteLanguage(langFile, u"German", u"OK");
    TKwCApplication first;
    TKwCApplication second;
    second.SetPath(Root());
    second.BeginLoading();
    second.PkgLanguage().SetInitMode(rimFILE);
    second.PkgLanguage().SetFileName(u"second.lan");
    second.EndLoading();
    second.Link().DoInit();
    EXPECT_EQ(second.PkgLanguage().SystemStrings().Labels().Count(), 0);
    first.Link().DoInit();  // the active one with nothing to load is fine
    second.SetActive(true);
    second.Link().DoInit();
    EXPECT_EQ(second.PkgLanguage().SystemStrings().Labels().Count(), 2);
}

TEST_F(ApplicationPackages, LoadDefaultPkgsFillsOnlyEmptyPackages) {
    WriteDisplay(InstallPath("standard.dis"), {{2, 32}});
    WriteLanguage(InstallPath("English.lan"), u"English", u"OK");
    WriteLanguage(InstallPath("German.lan"), u"Deutsch", u"OK");
    KwSetInstallation({dir_.Of("install"), 4});
    TKwCApplication app;
    app.LoadDefaultPkgs();
    EXPECT_NE(app.PkgDisplay().SystemImages().Images().FindId(2), nullptr);
    EXPECT_EQ(app.PkgDisplay().LastUpdateFile(), u"standard.dis");
    EXPECT_GT(app.PkgDisplay().UpdateDateTime(), 0);
    EXPECT_EQ(app.PkgLanguage().LastUpdateFile(), u"German.lan");
    EXPECT_EQ(app.PkgLanguage().SystemStrings().Labels().FindId(0)->Text(), u"Deutsch");

    TKwCApplication other;
    other.PkgLanguage().UserStrings().Texts().Add(1, u"mine");
    other.LoadDefaultPkgs();
    EXPECT_EQ(other.PkgLanguage().SystemStrings().Labels().Count(), 0);
}

struct QuestionLog {
    std::vector<TKwUpdateQuestion> questions;
    std::vector<String> steps;
    bool answer = true;
    void Install() {
        TKwApplicationHooks hooks;
        hooks.askUpdate = [this](const TKwUpdateQuestion& q) {
            questions.push_back(q);
            return answer;
        };
        hooks.progress.step = [this](const String& label, int, int) { steps.push_back(label); };
        KwSetApplicationHooks(hooks);
    }
};

TEST_F(ApplicationPackages, DisplayUpdateKeepsProtectedImagesAndAddsMissingOnes) {
    const String reference = InstallPath("standard.dis");
    WriteDisplay(reference, {{2, 32}, {3, 32}, {9, 16}});
    SetAge(reference, EncodeDate(2026, 6, 1));
    TKwCApplication app;
    TKwPkgImages& system = app.PkgDisplay().SystemImages();
    AddImage(system, 2, 8);
    AddImage(system, 3, 8);
    system.Images().FindId(3)->SetProtected(true);
    QuestionLog log;
    log.Install();

    app.PkgDisplay().SetUpdateDateTime(EncodeDate(2026, 7, 1));  // newer than the file
    app.UpdateSystemPkgDisplay(String(), true);
    EXPECT_TRUE(log.questions.empty());
    EXPECT_EQ(system.Images().FindId(2)->Width(), 8);

    app.PkgDisplay().SetUpdateDateTime(EncodeDate(2026, 1, 1));
    log.answer = false;  // "Later on"
    app.UpdateSystemPkgDisplay(String(), true);
    ASSERT_EQ(log.questions.size(), 1u);
    EXPECT_EQ(log.questions[0].caption, u"Packages Updating");
    EXPECT_EQ(log.questions[0].heading, u"Images Information:");
    EXPECT_EQ(log.questions[0].laterButton, u"Later on");
    EXPECT_EQ(system.Images().FindId(2)->Width(), 8);

    log.answer = true;
    app.UpdateSystemPkgDisplay(String(), true);
    EXPECT_EQ(system.Images().FindId(2)->Width(), 32);
    EXPECT_EQ(system.Images().FindId(3)->Width(), 8);  // protected
    ASSERT_NE(system.Images().FindId(9), nullptr);     // added
    EXPECT_EQ(log.steps, (std::vector<String>{u"Updating Image: 0", u"Updating Image: 1",
                                              u"Updating Image: 2"}));
    EXPECT_EQ(app.PkgDisplay().LastUpdateFile(), u"standard.dis");
    EXPECT_DOUBLE_EQ(app.PkgDisplay().UpdateDateTime(), EncodeDate(2026, 6, 1));
}

TEST_F(ApplicationPackages, LanguageUpdateFindsItsReferenceFileByContents) {
    WriteLanguage(InstallPath("English.lan"), u"English", u"OK");
    WriteLanguage(InstallPath("Spanish.lan"), u"Spanish", u"Aceptar");
    TKwCApplication app;
    EXPECT_EQ(app.ScanLanguageFileName(app.PkgLanguage()), u"English.lan");
    TKwPkgStrings& system = app.PkgLanguage().SystemStrings();
    system.Labels().Add(0, u"spanish", String());
    EXPECT_EQ(app.ScanLanguageFileName(app.PkgLanguage()), u"");  // message and text missing
    system.Messages().Add(0, u"Spanish");
    system.Texts().Add(0, u"Spanish");
    system.Labels().Add(3, u"Vale", String()).SetProtected(true);
    EXPECT_EQ(app.ScanLanguageFileName(app.PkgLanguage()), u"Spanish.lan");
    QuestionLog log;
    log.Install();
    app.UpdateSystemPkgLanguage(String(), true);
    ASSERT_EQ(log.questions.size(), 1u);
    EXPECT_EQ(log.questions[0].heading, u"Strings Information:");
    EXPECT_EQ(system.Labels().FindId(3)->Text(), u"Vale");  // protected
    ASSERT_NE(system.Texts().FindId(1), nullptr);           // added
    EXPECT_EQ(system.Texts().FindId(1)->Text(), u"Aceptar!");
    EXPECT_EQ(app.PkgLanguage().LastUpdateFile(), u"Spanish.lan");
    // Asked again with the same file: not newer than what was recorded.
    app.UpdateSystemPkgLanguage(String(), true);
    EXPECT_EQ(log.questions.size(), 1u);
}

TEST_F(ApplicationPackages, LanguageUpdateRecordsTheFileOnlyWhenItHeldItems) {
    TKwPkgLanguage().SaveToFile(InstallPath("Empty.lan"));
    TKwCApplication app;
    app.UpdateSystemPkgLanguage(u"Empty.lan", false);
    EXPECT_EQ(app.PkgLanguage().UpdateDateTime(), 0);
    EXPECT_EQ(app.PkgLanguage().LastUpdateFile(), u"");
    WriteLanguage(InstallPath("English.lan"), u"English", u"OK");
    app.UpdateSystemPkgLanguage(u"English.lan", false);
    EXPECT_GT(app.PkgLanguage().UpdateDateTime(), 0);
    EXPECT_EQ(app.PkgLanguage().LastUpdateFile(), u"English.lan");
    EXPECT_EQ(app.PkgLanguage().SystemStrings().Labels().Count(), 2);
}

TEST_F(ApplicationPackages, ExceptionHookFollowsTheActiveObject) {
    TKwCApplication first, second;
    first.Link().DoInit();
    second.Link().DoInit();
    EXPECT_TRUE(first.ExceptionsHooked());
    EXPECT_FALSE(second.ExceptionsHooked());
    std::vector<String> shown;
    TKwApplicationHooks hooks;
    hooks.showError = [&](const String& text) { shown.push_back(text); };
    KwSetApplicationHooks(hooks);
    second.OnException = [](TKwCApplication&, const std::exception&, String& text) {
        text = u"Second: " + text;
    };
    EXPECT_TRUE(first.HintsHooked());
    second.SetActive(true);
    EXPECT_FALSE(first.ExceptionsHooked());
    EXPECT_TRUE(second.ExceptionsHooked());
    THintInfo hint{u"Save"};
    EXPECT_TRUE(Application().ActivateHint(hint));
    EXPECT_EQ(Application().HintWindowClass(), &TKwHintWindow::StaticClass());
    try {
        throw Exception(u"disk full");
    } catch (...) {
        Application().HandleException(nullptr);
    }
    EXPECT_EQ(shown, (std::vector<String>{u"Second: disk full"}));
    second.SetHandleExceptions(false);
    EXPECT_FALSE(second.ExceptionsHooked());
    EXPECT_FALSE(Application().OnException);
}

TEST_F(ApplicationPackages, CalendarAndCalculatorUseTheirEventsElseTheDialogs) {
    TKwCApplication app;
    TDateTime date = EncodeDate(2026, 12, 6);
    double value = 1.5;
    EXPECT_FALSE(app.Calendar(date));  // no dialog available yet
    app.OnCalendar = [](TKwCApplication&, bool& result, TDateTime& d) {
        d += 1;
        result = true;
    };
    EXPECT_TRUE(app.Calendar(date));
    EXPECT_DOUBLE_EQ(date, EncodeDate(2026, 12, 7));
    TKwApplicationHooks hooks;
    // The dialog shows the weeks by the language's rules.
    TKwCalendarWeek shown;
    String caption;
    hooks.calendarDialog = [&](TDateTime& d, const String& c, const TKwCalendarWeek& week) {
        shown = week;
        caption = c;
        d = 0;
        return true;
    };
    app.OnCalendar = nullptr;
    app.PkgLanguage().Locale().SetStartOfWeek(sweMon);
    app.PkgLanguage().Locale().SetStartWeekYear(swyFullWeek);
    KwSetApplicationHooks(hooks);
    EXPECT_TRUE(app.CalendarEx(date, u"Due"));
    EXPECT_EQ(shown.startOfWeek, sweMon);
    EXPECT_EQ(shown.startWeekYear, swyFullWeek);
    EXPECT_EQ(caption, u"Due");
    EXPECT_DOUBLE_EQ(date, 0);
    hooks.calculatorDialog = [](int decimals, double& v) {
        v = v * 2 + decimals;
        return true;
    };
    KwSetApplicationHooks(hooks);
    EXPECT_TRUE(app.Calculator(2, value));
    EXPECT_DOUBLE_EQ(value, 5.0);
    app.OnCalculator = [](TKwCApplication&, bool& result, int, double&) { result = false; };
    EXPECT_FALSE(app.Calculator(2, value));
}

}  // namespace
}  // namespace kw
