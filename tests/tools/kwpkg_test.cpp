#include "framework/application.h"
#include "framework/pkg_formats.h"
#include "framework/state.h"
#include "kwpkg_fixture.h"
#include "packages/language_package.h"
#include "packages/package_scopes.h"
#include "packages/state.h"
#include "packages/vars_package.h"
#include "platform/core/filer.h"
#include "platform/core/stream.h"

namespace kw {
namespace {

namespace fs = std::filesystem;
using test::RunResult;
using test::Slurp;

class KwPkgTest : public test::KwPkgToolTest {
protected:
    void SetUp() override {
        KwResetFrameworkState();
        KwResetPackagesState();
        KwPkgToolTest::SetUp();
    }
    std::string Out() const { return (dir_ / "out.pkg").string(); }
};

TEST_F(KwPkgTest, ReferenceFilesRoundTripThroughJson) {
    for (const char* name : {"English", "Spanish", "French", "Italian", "German"}) {
        const std::string file = test::ReferenceDir() + name + ".lan";
        const RunResult info = Run("info " + file);
        ASSERT_EQ(info.status, 0) << info.err;
        EXPECT_EQ(info.out.rfind("kind: language\nversion: 3\ndescription: KwControls", 0), 0u);
        const RunResult dump = Run("dump " + file);
        ASSERT_EQ(dump.status, 0) << dump.err;
        const std::string source = Write("source.json", dump.out);
        const RunResult build = Run("build " + source + " -o " + Out());
        ASSERT_EQ(build.status, 0) << build.err;
        EXPECT_EQ(build.out, "");
        EXPECT_EQ(Slurp(Out()), Slurp(file)) << name;
        fs::remove(Out());
    }
}

TEST_F(KwPkgTest, HelpPrintsTheUsageOnStandardOutputAndSucceeds) {
    for (const char* args : {"help", "--help"}) {
        const RunResult result = Run(args);
        EXPECT_EQ(result.status, 0) << args;
        EXPECT_EQ(result.out.rfind("usage: kwpkg info FILE", 0), 0u) << result.out;
        EXPECT_EQ(result.err, "") << args;
    }
}

TEST_F(KwPkgTest, FailuresPrintOneLineAndLeaveNothing) {
    const std::string english = test::ReferenceDir() + "English.lan";
    ExpectFailure("", "usage");
    ExpectFailure("dump " + (dir_ / "missing").string(), "cannot open");
    ExpectFailure("info " + Write("short", "tiny"), "too short");
    ExpectFailure("dump " + Write("cut.lan", Slurp(english).substr(0, 200)), "truncated");
    std::string newer = Slurp(english);
    newer[32] = 9;
    ExpectFailure("dump " + Write("newer.lan", newer), "newer");
    const std::pair<const char*, const char*> sources[] = {
        {R"({"kind": )", "parse error"},
        {"[1]", "\"kind\""},
        {R"({"kind": "palette"})", "unknown package kind"},
        {R"({"kind": "strings", "labels": [{"id": 1, "txt": ""}]})", "labels[0].txt: unknown key"},
        {R"({"kind": "strings", "version": 6})", "version: expected 1 to 5"},
        {R"({"kind": "language", "dateFormat": "dfoxyz"})", "dateFormat: unknown value"}};
    for (const auto& [json, reason] : sources)
        ExpectFailure("build " + Write("source.json", json) + " -o " + Out(), reason);
    ExpectFailure("build " + Write("g.json", R"({"kind": "strings"})") + " -o " +
                      (dir_ / "no" / "dir.pst").string(),
                  "No such file or directory");
}

std::vector<std::uint8_t> Bytes(TKwPkgInfo& package) {
    TMemoryStream stream;
    package.SaveToStream(stream);
    return stream.Bytes();
}

TEST_F(KwPkgTest, OlderLayoutsDumpAndBuildToTheSameBytes) {
    TKwPkgLanguage language;
    {
        TKwLoadingScope building(language);
        language.SetDescription(u"every version");
        language.SystemStrings().Labels().Add(4, u"four", u"hint").SetProtected(true);
        language.UserStrings().Messages().Add(8, u"eight %s");
        language.UserStrings().DesignWindow() = {10, 20, 300, 400, 1};
        language.Locale().SetNumericCurrencyString(u"kr");
        language.SetUpdateDateTime(45123.25);
    }
    for (int version = 1; version <= 3; ++version) {
        for (int stringsVersion = 1; stringsVersion <= 5; ++stringsVersion) {
            language.SetSaveVersion(version);
            language.UserStrings().SetSaveVersion(stringsVersion);
            const std::vector<std::uint8_t> file = Bytes(language);
            const std::string json = kwpkg::DumpText(file);
            EXPECT_EQ(kwpkg::BuildFile(json), file) << version << "/" << stringsVersion;
            EXPECT_EQ(json.find("numericCurrencyString") != std::string::npos, version >= 3);
        }
    }
    TKwPkgStrings& strings = language.UserStrings();
    strings.SetSaveVersion(5);
    const kwpkg::Json dump = kwpkg::Json::parse(kwpkg::DumpText(Bytes(strings)));
    EXPECT_EQ(dump["kind"], "strings");
    EXPECT_EQ(dump["messages"][0],
              (kwpkg::Json{{"id", 8}, {"text", "eight %s"}, {"protected", false}}));
    EXPECT_EQ(dump["designWindow"]["width"], 300);
    EXPECT_EQ(dump["designWindow"]["state"], 1);
}

TEST_F(KwPkgTest, InfoNamesEveryKindBySignature) {
    for (const kwpkg::TKindHandler& kind : kwpkg::KindHandlers()) {
        TMemoryStream stream;
        {
            TWriter writer(stream);
            KwWritePkgHeader(writer, *kind.format);
            writer.WriteString(u"about");
        }
        const std::string info = kwpkg::InfoText(stream.Bytes());
        EXPECT_EQ(info.rfind(std::string("kind: ") + kind.name + "\n", 0), 0u) << info;
        // Kinds whose files carry no description show an empty one.
        const bool described = kind.format->newestVersion >= kind.descriptionSince;
        EXPECT_EQ(info.find("description: about") != std::string::npos, described) << info;
    }
}

TEST_F(KwPkgTest, SettingsPackagesRoundTripInEveryLayout) {
    // Siblings in an order the current collation does not use keep it.
    TKwPkgVars vars;
    TKwPkgVarsItem& zebra = vars.InsertLoaded(nullptr, nullptr, u"zebra", vitDirectory);
    vars.InsertLoaded(&zebra, nullptr, u"n", vitFloat).SetVFloat(-0.5);
    TKwPkgVarsItem& anger = vars.InsertLoaded(nullptr, &zebra, u"\u00C4rger", vitBoolean);
    anger.SetVBoolean(true);
    vars.InsertLoaded(nullptr, &anger, u"apple", vitString).SetVString(u"x");
    vars.DesignWindow() = {1, 2, 3, 4, 5};
    for (int version = 1; version <= 4; ++version) {
        vars.SetSaveVersion(version);
        const std::vector<std::uint8_t> file = Bytes(vars);
        EXPECT_EQ(kwpkg::BuildFile(kwpkg::DumpText(file)), file) << version;
    }
    const kwpkg::Json dump = kwpkg::Json::parse(kwpkg::DumpText(Bytes(vars)));
    EXPECT_EQ(dump["items"][0]["ident"], "zebra");
    EXPECT_EQ(dump["items"][0]["children"][0],
              (kwpkg::Json{{"ident", "n"}, {"itemType", "vitFloat"}, {"value", -0.5}}));
    EXPECT_EQ(dump["designWindow"]["state"], 5);

    const kwpkg::Json source = kwpkg::Json::parse(R"({"kind": "setup", "description": "office",
        "keys": {"insertMode": false, "appendRecord": 1, "deleteType": "dltGrids"},
        "dataBase": {"dataBaseEngine": "dbeADO", "dateSeparator": "-", "sqlSyntax": true},
        "vars": "user"})");
    for (int version = 1; version <= 5; ++version) {
        kwpkg::Json json = source;
        json["version"] = version;
        const std::vector<std::uint8_t> file = kwpkg::BuildFile(json.dump());
        const kwpkg::Json back = kwpkg::Json::parse(kwpkg::DumpText(file));
        EXPECT_EQ(kwpkg::BuildFile(back.dump()), file) << version;
        EXPECT_EQ(back["keys"]["insertMode"], false);
        EXPECT_EQ(back["keys"].value("appendRecord", 24621), version >= 4 ? 1 : 24621);
        EXPECT_EQ(back["keys"].value("deleteType", ""), version >= 5 ? "dltGrids" : "");
        EXPECT_EQ(back.contains("dataBase"), version >= 2);
        EXPECT_EQ(back["vars"], "user");
        if (version >= 2) {
            // Conventions set while building do not switch the engine.
            EXPECT_EQ(back["dataBase"]["dataBaseEngine"], "dbeADO");
            EXPECT_EQ(back["dataBase"]["dateSeparator"], "-");
        }
    }
}

}  // namespace
}  // namespace kw
