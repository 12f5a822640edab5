#include "display/display_fixture.h"
#include "display/display_package.h"
#include "display/image_imkw.h"
#include "display/image_package.h"
#include "display/memory_image.h"
#include "display/state.h"
#include "framework/state.h"
#include "kwpkg_fixture.h"
#include "packages/memory_refs.h"
#include "packages/package_scopes.h"
#include "packages/state.h"
#include "platform/core/stream.h"
#include "platform/text/string_list.h"
#include "platform/ui/screen.h"

namespace kw {
namespace {

class KwPkgDisplayTest : public testing::Test {
protected:
    void SetUp() override {
        KwResetFrameworkState();
        KwResetPackagesState();
        KwResetDisplayState();
        Screen().SetPixelsPerInch(96);
    }
    void TearDown() override { SetUp(); }

    static kwpkg::TBytes Bytes(TKwPkgDisplay& display) {
        TMemoryStream stream;
        display.SaveToStream(stream);
        return stream.Bytes();
    }
};

TEST_F(KwPkgDisplayTest, VersionNineFileRoundTripsThroughJsonByteForByte) {
    kwpkg::TBytes file;
    {
        // Saved on a denser screen than the tool's own.
        Screen().SetPixelsPerInch(120);
        TKwPkgDisplay display;
        display.SetDescription(u"Skin");
        display.UserColors().Add(u"ColorA=FFFFFF");
        TKwPkgDisplaySetColor& main = display.SetsColor().Add(u"Main");
        main.SetColor(RGB(0x12, 0x34, 0x56));
        main.DescriptionId().PkgId(u"User", 4);
        display.SetsColor().Add(u"Face").SetColor(clBtnFace);
        display.SetsColor().Add(u"Nothing");
        display.SetsColor().Add(u"Palette").SetColor(0x02102030);
        TKwPkgDisplaySetFont& title = display.SetsFont().Add(u"Title");
        title.Font().SetHeight(-19);
        title.Font().SetStyleFlag(fsStrikeOut, true);
        TKwPkgDisplaySetBackGround& panel = display.SetsBackGround().Add(u"Panel");
        panel.SetStyle(bgsVertOut);
        panel.Image().PkgId(u"System", 12);
        display.SetUpdateDateTime(45123.123456789);
        display.SetCWTitleHeight(31);
        display.SetHiWinRgn(true);
        display.SystemImages().SetDescription(u"library images");
        file = Bytes(display);
        Screen().SetPixelsPerInch(96);
    }
    const std::string json = kwpkg::DumpText(file);
    for (const char* part :
         {"\"color\": \"#123456\"", "\"system:15\"", "\"none\"", "\"0x02102030\"", "\"bgsVertOut\"",
          "\"pixelsPerInch\": 120", "\"kind\": \"images\""})
        EXPECT_NE(json.find(part), std::string::npos) << part;
    EXPECT_EQ(kwpkg::BuildFile(json), file);
    EXPECT_EQ(Screen().PixelsPerInch(), 96);
}

TEST_F(KwPkgDisplayTest, DuplicateSetNamesOfAFileSurviveTheRoundTrip) {
    TKwPkgDisplay display;
    {
        TKwLoadingScope loading(display);
        display.SetsColor().Add(u"Red");
        display.SetsColor().Add(u"RED").SetColor(clRed);
    }
    const kwpkg::TBytes file = Bytes(display);
    EXPECT_EQ(kwpkg::BuildFile(kwpkg::DumpText(file)), file);
}

TEST_F(KwPkgDisplayTest, BadSourcesGiveOneLineErrors) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"kind":"display","colorSets":[{"name":"A","color":"#12345"}]})",
         "colorSets[0].color: expected \"#RRGGBB\", \"system:N\", \"none\" or \"0xXXXXXXXX\""},
        {R"({"kind":"display","backgroundSets":[{"name":"A","style":"bgsWavy"}]})",
         "backgroundSets[0].style"},
        {R"({"kind":"display","version":8})", "version"},
        {R"({"kind":"display","windowFrame":{"margin":1}})", "windowFrame"},
        {R"({"kind":"display","systemImages":{"kind":"strings"}})", "systemImages"}};
    for (const auto& [json, reason] : cases) {
        const std::string error = test::ErrorOf([&, source = json] { kwpkg::BuildFile(source); });
        EXPECT_NE(error.find(reason), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

TEST_F(KwPkgDisplayTest, OlderFilesDumpWithTheirVersion) {
    TKwPkgDisplay display;
    display.SetsFont().Add(u"Body");
    kwpkg::TBytes file = Bytes(display);
    file[32] = 12;  // a version the tool does not know
    EXPECT_NE(test::ErrorOf([&] { kwpkg::DumpText(file); }).find("newer"), std::string::npos);
}

TEST_F(KwPkgDisplayTest, DumpOfAnImageFileReportsTheVersionTheFileHas) {
    TKwImageIMKW newest;
    LoadNative(newest.Image(), EncodedBytes<TBitmap>(2, 1), TBitmap::StaticClass());
    TMemoryStream saved;
    newest.SaveToStream(saved);
    const std::vector<std::pair<int, std::vector<Byte>>> files{
        {4, OldImageFile(4)}, {5, OldImageFile(5)}, {7, saved.Bytes()}};
    for (const auto& [version, file] : files) {
        const std::string json = kwpkg::DumpText(kwpkg::TBytes(file.begin(), file.end()));
        EXPECT_NE(json.find("\"version\": " + std::to_string(version) + ","), std::string::npos)
            << json;
    }
}

}  // namespace
}  // namespace kw
