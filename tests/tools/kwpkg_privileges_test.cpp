#include <memory>

#include "framework/application.h"
#include "framework/errors.h"
#include "framework/state.h"
#include "kwpkg_fixture.h"
#include "packages/privileges_package.h"
#include "packages/state.h"
#include "platform/core/filer.h"
#include "platform/core/stream.h"
#include "platform/text/unicode.h"

namespace kw {
namespace {

class KwPkgPrivilegesTest : public testing::Test {
protected:
    void SetUp() override {
        KwResetFrameworkState();
        KwResetPackagesState();
        app_ = std::make_unique<TKwCApplication>();
        TKwPkgPrivileges* owned = KwAppPrivileges(*app_);
        package_ = owned != nullptr ? owned : &Create<TKwPkgPrivileges>(*app_);
        package_->Add(1).SetDescription(u"Files");
        package_->Add(2).SetParent(package_->FindId(1));
        package_->Add(3).SetDescription(u"\u00C9dition \U0001F600");
        package_->FindId(2)->SetVisible(false);
        package_->WriteAccess(3, accRead);
        package_->FindId(3)->DescriptionId().PkgId(u"User", 12);
        package_->SetKey(u"clerk");
        package_->SetDescription(u"rights");
        package_->SetTemplateDescription(u"shop");
        app_->SetPrivilegesKey(u"s\u00E9cret");
    }
    void TearDown() override {
        app_.reset();
        KwResetFrameworkState();
        KwResetPackagesState();
    }
    static std::vector<std::uint8_t> Saved(const std::function<void(TStream&)>& save) {
        TMemoryStream stream;
        save(stream);
        return stream.Bytes();
    }

    std::unique_ptr<TKwCApplication> app_;
    TKwPkgPrivileges* package_ = nullptr;
};

TEST_F(KwPkgPrivilegesTest, TheNewestFilesRoundTripByteForByte) {
    const auto access = Saved([&](TStream& s) { package_->SaveToStream(s); });
    const auto visibles = Saved([&](TStream& s) { package_->SaveVisiblesToStream(s); });
    const auto tpl = Saved([&](TStream& s) { package_->SaveTemplateToStream(s); });
    for (const auto* file : {&access, &visibles, &tpl}) {
        const std::string json = kwpkg::DumpText(*file);
        EXPECT_EQ(kwpkg::BuildFile(json), *file) << json;
    }
}

TEST_F(KwPkgPrivilegesTest, DumpsCarryTheKeyAndNameTheLibraryChecks) {
    const auto access = Saved([&](TStream& s) { package_->SaveToStream(s); });
    const kwpkg::Json json = kwpkg::Json::parse(kwpkg::DumpText(access));
    EXPECT_EQ(json["kind"], "access");
    EXPECT_EQ(json["applicationKey"],
              "s\xC3\xA9"
              "cret");
    EXPECT_EQ(json["fileName"], "");
    EXPECT_EQ(json["key"], "clerk");
    EXPECT_EQ(json["rights"][2], (kwpkg::Json{{"id", 3}, {"access", "accRead"}}));

    // A file built under another application key is refused like any other.
    kwpkg::Json other = json;
    other["applicationKey"] = "other";
    const auto built = kwpkg::BuildFile(other.dump());
    TMemoryStream stream;
    stream.Write(built.data(), static_cast<std::int64_t>(built.size()));
    EXPECT_THROW(package_->LoadFromStream(stream), EKwError);

    const auto tpl = Saved([&](TStream& s) { package_->SaveTemplateToStream(s); });
    const kwpkg::Json tree = kwpkg::Json::parse(kwpkg::DumpText(tpl));
    EXPECT_EQ(tree["items"][1]["parent"], 1);
    EXPECT_EQ(tree["items"][1]["visible"], false);
    EXPECT_EQ(tree["items"][2]["label"], (kwpkg::Json{{"package", "User"}, {"id", 12}}));
    EXPECT_NE(kwpkg::InfoText(tpl).find("description: shop"), std::string::npos);
}

TEST_F(KwPkgPrivilegesTest, OlderFilesDumpAndOnlyTheNewestBuilds) {
    // A visibles file of version 1 has no key.
    TMemoryStream stream;
    {
        TWriter writer(stream);
        TKwPkgHeader{TKwPkgHeader::SignatureFor(u"KwVisibles"), 1}.Write(writer);
        writer.WriteString(u"old");
        writer.WriteString(u"");
        writer.WriteString(u"");
        writer.WriteInteger(1);
        writer.WriteInteger(7);
        writer.WriteBoolean(true);
    }
    const kwpkg::Json json = kwpkg::Json::parse(kwpkg::DumpText(stream.Bytes()));
    EXPECT_FALSE(json.contains("key"));
    EXPECT_EQ(json["rights"][0], (kwpkg::Json{{"id", 7}, {"visible", true}}));
    EXPECT_EQ(test::ErrorOf([&] { kwpkg::BuildFile(json.dump()); }),
              "version: only version 6 can be written");

    EXPECT_EQ(test::ErrorOf([&] {
                  kwpkg::BuildFile(R"({"kind":"template","items":[{"id":1,"acess":"accRead"}]})");
              }),
              "items[0].acess: unknown key");
    EXPECT_EQ(test::ErrorOf([&] {
                  kwpkg::BuildFile(R"({"kind":"access","rights":[{"id":1,"access":"accAll"}]})");
              }).substr(0, 17),
              "rights[0].access:");
}

}  // namespace
}  // namespace kw
