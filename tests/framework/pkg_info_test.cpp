#include <dirent.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "framework/application.h"
#include "framework/errors.h"
#include "framework/pkg_formats.h"
#include "framework/pkg_info.h"
#include "framework/state.h"
#include "platform/core/filer.h"
#include "platform/core/files.h"
#include "platform/core/form_stream.h"
#include "platform/core/stream.h"
#include "platform/text/unicode.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "support/package_bytes.h"
#include "support/scratch_dir.h"

namespace kw {
namespace {

constexpr TKwPkgFormat kTestFormat{u"KwPkgTest", 2, 46, 47};

// A package whose payload is a list of texts; version 1 files lack the trailing count.
class TestPkg : public TKwPkgInfo {
    KW_CLASS(TestPkg)
public:
    explicit TestPkg(TComponent* owner = nullptr, bool onlyFile = false)
        : TKwPkgInfo(owner, onlyFile) {
        SetDefaultExt(u"tst");
    }
    std::vector<String> items;
    int failAfter = -1;  // makes saving raise after this many items (a writer failing midway)
    int writeVersion = 2;

protected:
    void xSaveToStream(TWriter& writer) override {
        TKwPkgFormat format = kTestFormat;
        format.newestVersion = writeVersion;
        WritePkgHeader(writer, format);
        writer.WriteInteger(static_cast<std::int32_t>(items.size()));
        for (size_t i = 0; i < items.size(); ++i) {
            if (static_cast<int>(i) == failAfter)
                throw EWriteError(u"disk full");
            writer.WriteString(items[i]);
        }
    }
    void xLoadFromStream(TReader& reader) override {
        ReadPkgHeader(reader, kTestFormat);
        items.clear();
        const int count = reader.ReadInteger();
        for (int i = 0; i < count; ++i)
            items.push_back(reader.ReadString());
    }
};
KW_IMPLEMENT_CLASS(TestPkg, TKwPkgInfo)

class PkgInfoTest : public testing::Test {
protected:
    void SetUp() override {
        KwResetFrameworkState();
        Application().Reset();
        KwSetMessageLookup([](StringView group, int id) -> std::optional<String> {
            if (group != u"System")
                return std::nullopt;
            return u"message " + IntToStr(id) + u" %s";
        });
    }
    void TearDown() override {
        KwSetMessageLookup(nullptr);
        KwResetFrameworkState();
    }
    String Dir() const { return dir_.Folder(); }
    std::vector<std::string> DirEntries() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir_.Path()))
            names.push_back(e.path().filename());
        return names;
    }
    static int OpenDescriptors() {
        int count = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd"))
            ++count;
        return count;
    }
    test::ScratchDir dir_{"kwpkg"};
};

TEST_F(PkgInfoTest, FileNamesResolveAgainstTheApplicationPath) {
    TestPkg pkg;
    TKwPkgInfo noExt;
    const String exe = ExeDir();
    EXPECT_EQ(pkg.GetFileName(u"skin"), exe + u"skin.tst");  // no application object
    TKwCApplication app;
    app.SetPath(u"   ");
    EXPECT_EQ(pkg.GetFileName(u"skin.dis"), exe + u"skin.dis");
    app.SetPath(u"packs");
    EXPECT_EQ(pkg.GetFileName(u"skin"), exe + u"packs/skin.tst");
    app.SetPath(Dir());
    EXPECT_EQ(pkg.GetFileName(u"a.b"), Dir() + u"a.b");
    EXPECT_EQ(noExt.GetFileName(u"plain"), Dir() + u"plain");
}

TEST_F(PkgInfoTest, FileRoundTripKeepsContentsAndDescription) {
    TKwCApplication app;
    app.SetPath(Dir());
    TestPkg pkg;
    pkg.items = {u"one", u"двa", u""};
    pkg.SetDescription(u"Test contents");
    EXPECT_TRUE(pkg.GetModified());
    pkg.SaveFileEx(u"data", rimFILE);
    EXPECT_FALSE(pkg.GetModified());
    EXPECT_EQ(pkg.FileName(), u"data");
    EXPECT_EQ(pkg.InitMode(), rimFILE);

    TestPkg back;
    back.LoadFileEx(u"data", rimFILE);
    EXPECT_EQ(back.items, pkg.items);
    EXPECT_EQ(back.Description(), u"Test contents");
    EXPECT_FALSE(back.FileModified());
    EXPECT_EQ(back.DiskFileName(), u"");
}

TEST_F(PkgInfoTest, HeaderChecksSignatureCaseInsensitivelyAndRefusesNewerVersions) {
    TestPkg pkg;
    pkg.items = {u"x"};
    TMemoryStream stream;
    pkg.SaveToStream(stream);
    stream.Memory()[12] = 'k';  // "KwPkgTest" -> "kwPkgTest"
    stream.Seek(0, TSeekOrigin::soEnd);
    TestPkg back;
    back.LoadFromStream(stream);  // from offset zero, wherever the stream stands
    EXPECT_EQ(back.items, pkg.items);

    stream.Memory()[13] = '?';
    EXPECT_EQ(MessageIdOf([&] { back.LoadFromStream(stream); }), 46);
    pkg.writeVersion = 3;
    pkg.SaveToFile(Dir() + u"new.tst");
    const auto newer = ErrorOf([&] { back.LoadFromFile(Dir() + u"new.tst"); });
    ASSERT_TRUE(newer);
    EXPECT_EQ(newer->MessageId(), 47);
    EXPECT_NE(newer->Message().find(u"new.tst"), String::npos);  // the disk file name
}

TEST_F(PkgInfoTest, FailedSaveKeepsTheOldFileAndLeavesNoTemporary) {
    const String path = Dir() + u"keep.tst";
    TestPkg pkg;
    pkg.items = {u"old"};
    pkg.SaveToFile(path);
    pkg.items = std::vector<String>(5000, u"new text that spills over the writer's buffer");
    pkg.failAfter = 4000;
    EXPECT_THROW(pkg.SaveToFile(path), EWriteError);
    EXPECT_EQ(DirEntries(), std::vector<std::string>{"keep.tst"});
    TestPkg back;
    back.LoadFromFile(path);
    EXPECT_EQ(back.items, std::vector<String>{u"old"});
}

TEST_F(PkgInfoTest, FailedLoadsRaiseAndLeaveNoOpenFile) {
    const int before = OpenDescriptors();
    TestPkg pkg;
    TMemoryStream junk;
    const std::string bytes = "\x05hello" + std::string(40, '\0');
    junk.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    junk.SaveToFile(Dir() + u"junk.tst");
    EXPECT_EQ(MessageIdOf([&] { pkg.LoadFromFile(Dir() + u"junk.tst"); }), 46);
    pkg.items = {u"a", u"b", u"c"};
    pkg.SaveToFile(Dir() + u"cut.tst");
    std::filesystem::resize_file(dir_.Path() / "cut.tst", 40);
    EXPECT_THROW(pkg.LoadFromFile(Dir() + u"cut.tst"), EReadError);
    EXPECT_EQ(MessageIdOf([&] { pkg.LoadFromFile(u"  "); }), 3);
    EXPECT_EQ(OpenDescriptors(), before);
}

TEST_F(PkgInfoTest, FailedLoadInsideSetFileNameRestoresTheOldName) {
    TKwCApplication app;
    app.SetPath(Dir());
    TestPkg good;
    good.items = {u"x"};
    good.SaveToFile(Dir() + u"good.tst");
    TestPkg pkg;
    pkg.SetInitMode(rimFILE);
    pkg.SetFileName(u"good");
    EXPECT_EQ(pkg.items, good.items);
    EXPECT_NE(MessageOf([&] {
                  pkg.SetFileName(u"missing");
              }).find(u"File '" + Dir() + u"missing.tst' not found"),
              String::npos);
    EXPECT_EQ(pkg.FileName(), u"good");
}

TEST_F(PkgInfoTest, OnlyFilePackagesStayInFileMode) {
    TestPkg pkg(nullptr, true);
    EXPECT_EQ(pkg.InitMode(), rimFILE);
    pkg.SetInitMode(rimDFM);
    EXPECT_EQ(pkg.InitMode(), rimFILE);
    pkg.LoadFileEx(u"", rimDFM);
    EXPECT_EQ(pkg.InitMode(), rimFILE);
}

TEST_F(PkgInfoTest, EqualityComparesFormBytesOnly) {
    TestPkg a, b;
    a.items = b.items = {u"same"};
    a.LoadFileEx(u"", rimDFM);
    EXPECT_TRUE(a.KwEquals(b));
    b.items.push_back(u"more");
    EXPECT_FALSE(a.KwEquals(b));
    b.items.pop_back();
    b.SetInitMode(rimFILE);
    EXPECT_FALSE(a.KwEquals(b));
    EXPECT_FALSE(b.KwEquals(b));
}

TEST_F(PkgInfoTest, DescriptionReadersCheckTheKind) {
    TestPkg pkg;
    pkg.SetDescription(u"About");
    pkg.SaveToFile(Dir() + u"d.tst");
    EXPECT_EQ(MessageIdOf([&] { KwReadPkgVarsDescription(Dir() + u"d.tst"); }), 31);
    EXPECT_EQ(MessageIdOf([&] { KwReadPkgDisplayDescription(u""); }), 3);
}

// --- In a host form ------------------------------------------------------------------------

class HostForm : public TForm {
    KW_CLASS(HostForm)
public:
    using TForm::TForm;
};
KW_IMPLEMENT_CLASS(HostForm, TForm)

// A stand-alone package of the first start-up group, recording when it starts.
class EarlyPkg : public TestPkg {
    KW_CLASS(EarlyPkg)
public:
    explicit EarlyPkg(TComponent* owner = nullptr) : TestPkg(owner) {
        Link().SetCodInit(kwInitStrings);
    }
    static std::vector<String>* log;

protected:
    void NotifyInit(TKwLinkEvt& sender) override {
        TestPkg::NotifyInit(sender);
        if (log)
            log->push_back(Name() + u":" + IntToStr(static_cast<int>(items.size())));
    }
};
std::vector<String>* EarlyPkg::log = nullptr;
KW_IMPLEMENT_CLASS(EarlyPkg, TestPkg)

class FormPkgTest : public PkgInfoTest {
protected:
    void SetUp() override {
        PkgInfoTest::SetUp();
        for (const TClass* c : {&HostForm::StaticClass(), &TestPkg::StaticClass(),
                                &EarlyPkg::StaticClass(), &TKwCApplication::StaticClass()}) {
            RegisterClass(*c);
        }
    }
};

TEST_F(FormPkgTest, DataTravelsInTheFormInFormModeAndStaysEmptyInFileMode) {
    TKwCApplication app;
    app.SetPath(Dir());
    TMemoryStream stream;
    {
        HostForm form;
        form.SetName(u"Form1");
        auto& inForm = Create<TestPkg>(form);
        inForm.SetName(u"InForm");
        inForm.items = {u"kept in the form"};
        auto& inFile = Create<EarlyPkg>(form);  // stand-alone: it starts itself
        inFile.SetName(u"InFile");
        inFile.items = {u"not stored"};
        inFile.SaveFileEx(u"f", rimFILE);
        WriteComponent(stream, form);
    }
    stream.SetPosition(0);
    const TFormNode tree = ReadFormTree(stream);
    ASSERT_EQ(tree.children.size(), 2u);
    auto dataOf = [](const TFormNode& node) -> std::vector<std::uint8_t> {
        for (const auto& p : node.properties) {
            if (p.name == u"Data")
                return std::get<std::vector<std::uint8_t>>(p.value.value);
        }
        return {0xEE};
    };
    EXPECT_GT(dataOf(tree.children[0]).size(), 34u);
    EXPECT_TRUE(dataOf(tree.children[1]).empty());

    stream.SetPosition(0);
    std::unique_ptr<TComponent> form = ReadNewComponent(stream);
    auto* inForm = dynamic_cast<TestPkg*>(form->FindComponent(u"InForm"));
    auto* inFile = dynamic_cast<TestPkg*>(form->FindComponent(u"InFile"));
    ASSERT_TRUE(inForm && inFile);
    EXPECT_EQ(inForm->items, std::vector<String>{u"kept in the form"});
    EXPECT_FALSE(inForm->GetModified());
    // The stand-alone file-mode package took its contents from its file at start-up.
    EXPECT_EQ(inFile->InitMode(), rimFILE);
    EXPECT_EQ(inFile->items, std::vector<String>{u"not stored"});
}

TEST_F(FormPkgTest, StandAlonePackagesStartBeforeTheApplicationObject) {
    std::vector<String> log;
    EarlyPkg::log = &log;
    TMemoryStream stream;
    {
        HostForm form;
        auto& app = Create<TKwCApplication>(form);
        app.SetName(u"App");
        app.SetPath(u"packs");
        app.SetMDIMargin(1);  // the default: not stored
        auto& early = Create<EarlyPkg>(form);
        early.SetName(u"Strings1");
        early.items = {u"a", u"b"};
        WriteComponent(stream, form);
    }
    log.clear();
    stream.SetPosition(0);
    std::unique_ptr<TComponent> form = ReadNewComponent(stream);
    EXPECT_EQ(log, std::vector<String>{u"Strings1:2"});
    ASSERT_NE(KwCApp(), nullptr);
    EXPECT_EQ(KwCApp()->Name(), u"App");
    EXPECT_EQ(KwCApp()->Path(), u"packs");
    EXPECT_TRUE(KwState().pending.Empty());
    EarlyPkg::log = nullptr;
}

}  // namespace
}  // namespace kw
