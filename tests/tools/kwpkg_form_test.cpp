#include "drawing/shape_styles.h"
#include "kwpkg/form_dump.h"
#include "kwpkg_fixture.h"
#include "platform/core/exception.h"
#include "platform/core/form_stream.h"
#include "platform/core/properties.h"
#include "platform/core/stream.h"

namespace kw {
namespace {

using kwpkg::Json;

enum class TDumpAlign { alNone, alTop, alClient };

class TDumpControl : public TComponent {
    KW_CLASS(TDumpControl)
public:
    using TComponent::TComponent;
    int width = 64;
    String caption;
    TDumpAlign align = TDumpAlign::alNone;
    double ratio = 1.0;
    bool visible = true;
};
KW_IMPLEMENT_CLASS(TDumpControl, TComponent)

// Writes one defined property of every value kind the filer has beyond the published ones.
class TDumpStore : public TComponent {
    KW_CLASS(TDumpStore)
public:
    using TComponent::TComponent;
    void DefineProperties(TFiler& filer) override {
        filer.DefineProperty(
            u"Style", {},
            [](TWriter& w) {
                w.WriteValue(TValueType::vaSet);
                const std::uint8_t names[] = {6,   'f', 's', 'B', 'o', 'l', 'd', 8, 'f',
                                              's', 'I', 't', 'a', 'l', 'i', 'c', 0};
                w.Write(names, sizeof(names));
            },
            true);
        filer.DefineProperty(
            u"Columns", {},
            [](TWriter& w) {
                w.WriteValue(TValueType::vaCollection);
                w.WriteInteger(std::int32_t{3});
                w.WriteListBegin();
                w.WriteString(u"Title");
                w.WriteString(u"Name");
                w.WriteListEnd();
                w.WriteListBegin();  // an item without an order index
                w.WriteString(u"Width");
                w.WriteInteger(std::int32_t{-70000});
                w.WriteListEnd();
                w.WriteListEnd();
            },
            true);
        filer.DefineProperty(
            u"Scale", {}, [](TWriter& w) { w.WriteFloat(2.5); }, true);
        filer.DefineProperty(
            u"Price", {}, [](TWriter& w) { w.WriteCurrency(12345); }, true);
        filer.DefineProperty(
            u"Items", {},
            [](TWriter& w) {
                w.WriteListBegin();
                w.WriteString(u"één");
                w.WriteIdent(u"clRed");
                w.WriteListBegin();
                w.WriteBoolean(false);
                w.WriteListEnd();
                w.WriteListEnd();
            },
            true);
        filer.DefineBinaryProperty(
            u"Data", {}, [](TStream& s) { s.WriteBuffer("\x01\x02\xFF", 3); }, true);
    }
};
KW_IMPLEMENT_CLASS(TDumpStore, TComponent)

// A control with a style object, whose properties the stream stores as paths.
class TDumpStyled : public TComponent {
    KW_CLASS(TDumpStyled)
public:
    using TComponent::TComponent;
    TKwFullShape shape;
};
KW_IMPLEMENT_CLASS(TDumpStyled, TComponent)

class TDumpForm : public TComponent {
    KW_CLASS(TDumpForm)
public:
    TDumpForm() : TComponent(nullptr) {}
};
KW_IMPLEMENT_CLASS(TDumpForm, TComponent)

class KwPkgFormTest : public test::KwPkgToolTest {
protected:
    void SetUp() override {
        KwPkgToolTest::SetUp();
        ResetPropertyRegistry();
        Properties<TDumpControl>()
            .Integer(u"Width", &TDumpControl::width, &TDumpControl::width, 64)
            .Text(u"Caption", &TDumpControl::caption, &TDumpControl::caption)
            .Enum(u"Align", &TDumpControl::align, &TDumpControl::align,
                  {u"alNone", u"alTop", u"alClient"}, TDumpAlign::alNone)
            .Float(u"Ratio", &TDumpControl::ratio, &TDumpControl::ratio, 1.0)
            .Boolean(u"Visible", &TDumpControl::visible, &TDumpControl::visible, true);
        form_.SetName(u"Form1");
        auto& button = Create<TDumpControl>(form_);
        button.SetName(u"Button1");
        button.width = 300;
        button.caption = u"OK";
        button.align = TDumpAlign::alClient;
        button.ratio = 0.25;
        button.visible = false;
        Create<TDumpStore>(form_).SetName(u"Store1");
        WriteComponent(stream_, form_);
    }
    void TearDown() override {
        ResetPropertyRegistry();
        KwPkgToolTest::TearDown();
    }

    kwpkg::TBytes Bytes() const { return stream_.Bytes(); }

    TDumpForm form_;
    TMemoryStream stream_;
};

TEST_F(KwPkgFormTest, DumpsTheTreeWithEveryValueKind) {
    const Json dump = kwpkg::DumpForm(Bytes());
    EXPECT_EQ(dump["class"], "TDumpForm");
    EXPECT_EQ(dump["name"], "Form1");
    EXPECT_EQ(dump["properties"], Json::array());
    ASSERT_EQ(dump["children"].size(), 2u);

    const Json& button = dump["children"][0];
    EXPECT_EQ(button["class"], "TDumpControl");
    EXPECT_EQ(button["name"], "Button1");
    // Stream order, defaults left out, the stored float kind named.
    EXPECT_EQ(button["properties"], Json::parse(R"([
        {"name": "Width", "value": 300}, {"name": "Caption", "value": "OK"},
        {"name": "Align", "value": {"ident": "alClient"}},
        {"name": "Ratio", "value": {"double": 0.25}}, {"name": "Visible", "value": false}])"));
    EXPECT_EQ(button["children"], Json::array());

    const Json& store = dump["children"][1];
    EXPECT_EQ(store["properties"], Json::parse(R"([
        {"name": "Style", "value": {"set": ["fsBold", "fsItalic"]}},
        {"name": "Columns", "value": {"collection": [
            {"index": 3, "properties": [{"name": "Title", "value": "Name"}]},
            {"properties": [{"name": "Width", "value": -70000}]}]}},
        {"name": "Scale", "value": {"extended": 2.5}},
        {"name": "Price", "value": {"currency": 1.2345}},
        {"name": "Items", "value": ["één", {"ident": "clRed"}, [false]]},
        {"name": "Data", "value": {"binary": "AQL/"}}])"));
}

TEST_F(KwPkgFormTest, StyleObjectsNestByTheirStoredPaths) {
    Properties<TDumpStyled>().Object(u"Shape", &TDumpStyled::shape);
    TDumpForm form;
    auto& styled = Create<TDumpStyled>(form);
    styled.SetName(u"Styled");
    styled.shape.SetShape(shaStar);
    styled.shape.Pen().SetWidth(3);
    styled.shape.Pen().SetColor().SetName(u"Ink");
    styled.SetTag(7);
    TMemoryStream stream;
    WriteComponent(stream, form);
    EXPECT_EQ(kwpkg::DumpForm(stream.Bytes())["children"][0]["properties"], Json::parse(R"([
        {"name": "Tag", "value": 7},
        {"name": "Shape", "properties": [
            {"name": "Shape", "value": {"ident": "shaStar"}},
            {"name": "Pen", "properties": [
                {"name": "SetColor", "properties": [{"name": "Name", "value": "Ink"}]},
                {"name": "Width", "value": 3}]}]}])"));
}

TEST_F(KwPkgFormTest, TextIsStableAndDamageIsAnError) {
    const std::string text = kwpkg::DumpFormText(Bytes());
    EXPECT_EQ(kwpkg::DumpFormText(Bytes()), text);
    EXPECT_EQ(Json::parse(text), kwpkg::DumpForm(Bytes()));
    // Every cut through the stream is refused rather than dumped in part.
    const kwpkg::TBytes bytes = Bytes();
    for (size_t size = 0; size < bytes.size(); ++size) {
        const kwpkg::TBytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_THROW(kwpkg::DumpForm(cut), EReadError) << size;
    }
}

TEST_F(KwPkgFormTest, CommandPrintsTheDumpOrOneErrorLine) {
    const kwpkg::TBytes bytes = Bytes();
    const test::RunResult result =
        Run("form dump " + Write("form.kwfm", std::string(bytes.begin(), bytes.end())));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, kwpkg::DumpFormText(bytes));
    ExpectFailure("form dump " + Write("bad.kwfm", "KWFM"), "bad.kwfm");
}

}  // namespace
}  // namespace kw
