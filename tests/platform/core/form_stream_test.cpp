#include "platform/core/form_stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "platform/core/exception.h"
#include "platform/core/stream.h"
#include "platform/text/unicode.h"

namespace kw {
namespace {

std::vector<String> gLog;
int gLive = 0;

enum class TTestAlign { alNone, alTop, alClient };

class TTestFont : public TPersistent {
    KW_CLASS(TTestFont)
public:
    int size = 8;
    String face = u"Sans";
};
KW_IMPLEMENT_CLASS(TTestFont, TPersistent)

TComponent& RootOf(TComponent& component) {
    return component.Owner() != nullptr ? *component.Owner() : component;
}

void LogLoaded(TComponent& component) {
    TComponent& root = RootOf(component);
    const auto& owned = root.ComponentList();
    const bool treeRead = !root.HasState(csReading) &&
                          std::none_of(owned.begin(), owned.end(),
                                       [](TComponent* c) { return c->HasState(csReading); });
    gLog.push_back(u"loaded " + component.Name() + (treeRead ? u"" : u" early"));
}

class TTestPanel;

class TTestControl : public TComponent {
    KW_CLASS(TTestControl)
public:
    explicit TTestControl(TComponent* owner) : TComponent(owner) { ++gLive; }
    ~TTestControl() override;

    int Width() const { return width_; }
    void SetWidth(int width) { width_ = width; }
    TTestControl* Buddy() const { return buddy_; }
    void SetBuddy(TTestControl* buddy) { buddy_ = buddy; }
    TTestFont& Font() { return *font_; }

    std::int64_t big = 0;
    bool visible = true;
    String caption;
    TTestAlign align = TTestAlign::alNone;
    double ratio = 1.0;
    std::function<void(TObject*)> OnClick;
    std::function<void(TObject*, int)> OnResize;

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;
    void Loaded() override {
        TComponent::Loaded();
        LogLoaded(*this);
    }

private:
    friend class TTestPanel;
    int width_ = 64;
    TTestControl* buddy_ = nullptr;
    TTestPanel* parent_ = nullptr;
    std::unique_ptr<TTestFont> font_ = std::make_unique<TTestFont>();
};
KW_IMPLEMENT_CLASS(TTestControl, TComponent)

// A container: its controls are owned by the form but streamed as its children.
class TTestPanel : public TTestControl {
    KW_CLASS(TTestPanel)
public:
    using TTestControl::TTestControl;
    ~TTestPanel() override {
        for (TTestControl* c : controls)
            c->parent_ = nullptr;
    }
    void GetChildren(const std::function<void(TComponent&)>& proc, TComponent* root) override {
        for (TTestControl* c : controls)
            proc(*c);
    }
    std::vector<TTestControl*> controls;
};
KW_IMPLEMENT_CLASS(TTestPanel, TTestControl)

TTestControl::~TTestControl() {
    SetParentComponent(nullptr);
    --gLive;
}

TComponent* TTestControl::GetParentComponent() const {
    return parent_;
}

void TTestControl::SetParentComponent(TComponent* parent) {
    if (parent_ != nullptr)
        std::erase(parent_->controls, this);
    parent_ = dynamic_cast<TTestPanel*>(parent);
    if (parent_ != nullptr)
        parent_->controls.push_back(this);
    if (parent != nullptr)
        gLog.push_back(u"parent " + Name() + (HasState(csReading) ? u" reading" : u""));
}

class TTestForm : public TTestPanel {
    KW_CLASS(TTestForm)
public:
    TTestForm() : TTestPanel(nullptr) {}
    bool HasParent() const override { return false; }
    void GetChildren(const std::function<void(TComponent&)>& proc, TComponent* root) override {
        TComponent::GetChildren(proc, root);
        TTestPanel::GetChildren(proc, root);
    }
};
KW_IMPLEMENT_CLASS(TTestForm, TTestPanel)

// Stores itself through defined properties, as the library's packages do.
class TTestStore : public TComponent {
    KW_CLASS(TTestStore)
public:
    using TComponent::TComponent;
    bool fileMode = false;
    String fileName;
    std::vector<std::uint8_t> data;
    const TPersistent* seenAncestor = nullptr;
    bool sawWriting = false;
    std::int64_t blockPosition = -1;

    void DefineProperties(TFiler& filer) override {
        auto* ancestor = dynamic_cast<TTestStore*>(filer.Ancestor());
        seenAncestor = filer.Ancestor();
        sawWriting = HasState(csWriting);
        filer.DefineProperty(
            u"InitMode", [this](TReader& r) { fileMode = r.ReadIdent() == u"rimFILE"; },
            [this](TWriter& w) { w.WriteIdent(fileMode ? u"rimFILE" : u"rimDFM"); },
            ancestor != nullptr ? ancestor->fileMode != fileMode : fileMode);
        filer.DefineProperty(
            u"FileName", [this](TReader& r) { fileName = r.ReadString(); },
            [this](TWriter& w) { w.WriteString(fileName); },
            ancestor != nullptr ? ancestor->fileName != fileName : !fileName.empty());
        filer.DefineBinaryProperty(
            u"Data",
            [this](TStream& s) {
                blockPosition = s.Position();
                data.resize(static_cast<size_t>(s.Size()));
                s.ReadBuffer(data.data(), s.Size());
            },
            [this](TStream& s) {
                s.WriteBuffer(data.data(), static_cast<std::int64_t>(data.size()));
            },
            ancestor == nullptr || ancestor->data != data);
    }
    void Loaded() override {
        TComponent::Loaded();
        LogLoaded(*this);
    }
};
KW_IMPLEMENT_CLASS(TTestStore, TComponent)

int gClicks = 0;

class FormStream : public ::testing::Test {
protected:
    void SetUp() override {
        gLog.clear();
        gLive = 0;
        gClicks = 0;
        ResetPropertyRegistry();
        ResetEventHandlers();
        for (const TClass* c : {&TTestControl::StaticClass(), &TTestPanel::StaticClass(),
                                &TTestForm::StaticClass(), &TTestStore::StaticClass()}) {
            RegisterClass(*c);
        }
        Properties<TTestFont>()
            .Integer(u"Size", &TTestFont::size, &TTestFont::size, 8)
            .Text(u"Face", &TTestFont::face, &TTestFont::face, u"Sans");
        Properties<TTestControl>()
            .Integer(u"Width", &TTestControl::Width, &TTestControl::SetWidth, 64)
            .Int64(u"Big", &TTestControl::big, &TTestControl::big, 0)
            .Boolean(u"Visible", &TTestControl::visible, &TTestControl::visible, true)
            .Text(u"Caption", &TTestControl::caption, &TTestControl::caption)
            .Enum(u"Align", &TTestControl::align, &TTestControl::align,
                  {u"alNone", u"alTop", u"alClient"}, TTestAlign::alNone)
            .Float(u"Ratio", &TTestControl::ratio, &TTestControl::ratio, 1.0)
            .StoredWhen([](const TTestControl& c) { return c.align != TTestAlign::alClient; })
            .Object(u"Font", &TTestControl::Font)
            .Component(u"Buddy", &TTestControl::Buddy, &TTestControl::SetBuddy)
            .Event(u"OnClick", &TTestControl::OnClick)
            .Event(u"OnResize", &TTestControl::OnResize);
        RegisterEventHandler(u"Form1ButtonClick",
                             std::function<void(TObject*)>([](TObject*) { ++gClicks; }));
    }
    void TearDown() override { ResetEventHandlers(); }

    // Form1 { Store1, Panel1 { Button1 }, Button2 }
    void BuildSample(TTestForm& form) {
        form.SetName(u"Form1");
        form.caption = u"Main";
        form.SetWidth(300);
        auto& store = Create<TTestStore>(form);
        store.SetName(u"Store1");
        store.data = {0, 1, 2, 255, 0};
        auto& panel = Create<TTestPanel>(form);
        panel.SetName(u"Panel1");
        panel.SetParentComponent(&form);
        auto& button1 = Create<TTestControl>(form);
        button1.SetName(u"Button1");
        button1.SetParentComponent(&panel);
        button1.SetWidth(80);
        button1.big = std::int64_t{1} << 40;
        button1.visible = false;
        button1.caption = u"Ok \u00e9\u4e2d";
        button1.align = TTestAlign::alClient;
        button1.ratio = 2.5;  // not stored: alClient
        button1.Font().size = 12;
        SetEventHandler(button1, u"OnClick", u"Form1ButtonClick");
        auto& button2 = Create<TTestControl>(form);
        button2.SetName(u"Button2");
        button2.SetParentComponent(&form);
        button2.align = TTestAlign::alTop;
        button2.ratio = 0.25;
        button2.OnClick = [](TObject*) {};  // assigned in code: no name, not stored
        button1.SetBuddy(&button2);         // read before Button2 exists
        button2.SetBuddy(&button1);
        gLog.clear();
    }

    void WriteSample(TMemoryStream& stream) {
        TTestForm form;
        BuildSample(form);
        WriteComponent(stream, form);
        stream.SetPosition(0);
    }
};

// A stream with a TTestForm root whose body is written by `body`.
void HandMade(TMemoryStream& stream, const std::function<void(TWriter&)>& body,
              std::int32_t version = 1) {
    {
        TWriter w(stream);
        w.Write("KWFM", 4);
        w.WriteInteger(version);
        w.WriteString(u"TTestForm");
        w.WriteString(u"Form1");
        body(w);
        w.WriteListEnd();
        w.WriteListEnd();
    }
    stream.SetPosition(0);
}

const TFormNode& Child(const TFormNode& node, StringView name) {
    for (const TFormNode& child : node.children) {
        if (child.name == name)
            return child;
    }
    throw std::runtime_error("no child " + std::string(name.begin(), name.end()));
}

std::vector<String> PropertyNames(const TFormNode& node) {
    std::vector<String> names;
    for (const TFormProperty& p : node.properties)
        names.push_back(p.name);
    return names;
}

TEST_F(FormStream, RoundTripRestoresTreeValuesReferencesAndEvents) {
    TMemoryStream stream;
    WriteSample(stream);
    auto root = ReadNewComponent(stream);
    auto& form = dynamic_cast<TTestForm&>(*root);
    EXPECT_EQ(form.Name(), u"Form1");
    EXPECT_EQ(form.Width(), 300);
    EXPECT_EQ(form.caption, u"Main");

    auto* panel = dynamic_cast<TTestPanel*>(form.FindComponent(u"Panel1"));
    auto* button1 = dynamic_cast<TTestControl*>(form.FindComponent(u"Button1"));
    auto* button2 = dynamic_cast<TTestControl*>(form.FindComponent(u"Button2"));
    auto* store = dynamic_cast<TTestStore*>(form.FindComponent(u"Store1"));
    ASSERT_TRUE(panel && button1 && button2 && store);
    EXPECT_EQ(form.controls, (std::vector<TTestControl*>{panel, button2}));
    EXPECT_EQ(panel->controls, (std::vector<TTestControl*>{button1}));

    EXPECT_EQ(button1->Width(), 80);
    EXPECT_EQ(button1->big, std::int64_t{1} << 40);
    EXPECT_FALSE(button1->visible);
    EXPECT_EQ(button1->caption, u"Ok \u00e9\u4e2d");
    EXPECT_EQ(button1->align, TTestAlign::alClient);
    EXPECT_EQ(button1->ratio, 1.0);  // its stored-when rule kept it out
    EXPECT_EQ(button2->ratio, 0.25);
    EXPECT_EQ(button1->Font().size, 12);
    EXPECT_EQ(button1->Buddy(), button2);
    EXPECT_EQ(button2->Buddy(), button1);

    ASSERT_TRUE(button1->OnClick);
    button1->OnClick(button1);
    EXPECT_EQ(gClicks, 1);
    EXPECT_EQ(EventHandlerName(*button1, u"OnClick"), u"Form1ButtonClick");
    EXPECT_FALSE(button2->OnClick);

    EXPECT_EQ(store->data, (std::vector<std::uint8_t>{0, 1, 2, 255, 0}));
    EXPECT_EQ(store->blockPosition, 0);
    for (TComponent* c : form.ComponentList())
        EXPECT_EQ(c->ComponentState() & (csLoading | csReading), 0u) << StringToUtf8(c->Name());
}

TEST_F(FormStream, StoresOnlyWhatDiffersFromDefaultsAndHonoursStoredRules) {
    TMemoryStream stream;
    WriteSample(stream);
    const TFormNode tree = ReadFormTree(stream);
    EXPECT_EQ(tree.className, u"TTestForm");
    EXPECT_EQ(PropertyNames(tree), (std::vector<String>{u"Width", u"Caption"}));

    const TFormNode& button1 = Child(Child(tree, u"Panel1"), u"Button1");
    EXPECT_EQ(PropertyNames(button1),
              (std::vector<String>{u"Width", u"Big", u"Visible", u"Caption", u"Align", u"Font.Size",
                                   u"Buddy", u"OnClick"}));
    EXPECT_EQ(std::get<TFormIdent>(button1.properties[4].value.value).name, u"alClient");
    EXPECT_EQ(std::get<std::int64_t>(button1.properties[5].value.value), 12);
    EXPECT_EQ(std::get<TFormIdent>(button1.properties[7].value.value).name, u"Form1ButtonClick");

    const TFormNode& button2 = Child(tree, u"Button2");
    EXPECT_EQ(PropertyNames(button2),
              (std::vector<String>{u"Caption", u"Align", u"Ratio", u"Buddy"}));
    EXPECT_EQ(std::get<double>(button2.properties[2].value.value), 0.25);

    // Defined properties: only the block has data; it is an ordinary pair.
    const TFormNode& store = Child(tree, u"Store1");
    ASSERT_EQ(PropertyNames(store), (std::vector<String>{u"Data"}));
    EXPECT_EQ(std::get<std::vector<std::uint8_t>>(store.properties[0].value.value),
              (std::vector<std::uint8_t>{0, 1, 2, 255, 0}));
}

TEST_F(FormStream, DefinedPropertiesWithDataRoundTrip) {
    TTestForm form;
    form.SetName(u"Form1");
    auto& store = Create<TTestStore>(form);
    store.SetName(u"Store1");
    store.fileMode = true;
    store.fileName = u"standard.dis";
    TMemoryStream stream;
    WriteComponent(stream, form);
    EXPECT_TRUE(store.sawWriting);
    EXPECT_FALSE(store.HasState(csWriting));
    EXPECT_EQ(store.seenAncestor, nullptr);

    stream.SetPosition(0);
    TTestForm copy;
    ReadComponent(stream, copy);
    auto* read = dynamic_cast<TTestStore*>(copy.FindComponent(u"Store1"));
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(read->fileMode);
    EXPECT_EQ(read->fileName, u"standard.dis");
    EXPECT_TRUE(read->data.empty());
    EXPECT_EQ(read->blockPosition, 0);  // the empty block is still handed over
}

TEST_F(FormStream, AncestorDecidesWhatIsStored) {
    TTestForm ancestor;
    BuildSample(ancestor);
    TTestForm form;
    BuildSample(form);
    auto& button1 = dynamic_cast<TTestControl&>(*form.FindComponent(u"Button1"));
    button1.caption = u"Changed";
    button1.SetBuddy(nullptr);
    auto& extra = Create<TTestControl>(form);
    extra.SetName(u"Extra");
    extra.SetParentComponent(&form);
    auto& store = dynamic_cast<TTestStore&>(*form.FindComponent(u"Store1"));
    store.fileName = u"x.dis";

    TMemoryStream stream;
    WriteComponent(stream, form, &ancestor);
    EXPECT_EQ(store.seenAncestor, ancestor.FindComponent(u"Store1"));
    stream.SetPosition(0);
    const TFormNode tree = ReadFormTree(stream);
    EXPECT_TRUE(tree.properties.empty());
    const TFormNode& button = Child(Child(tree, u"Panel1"), u"Button1");
    EXPECT_EQ(PropertyNames(button), (std::vector<String>{u"Caption", u"Buddy"}));
    EXPECT_EQ(std::get<TFormIdent>(button.properties[1].value.value).name, u"nil");
    // Without a counterpart the defaults decide.
    EXPECT_EQ(PropertyNames(Child(tree, u"Extra")), (std::vector<String>{u"Caption"}));
    EXPECT_EQ(PropertyNames(Child(tree, u"Store1")), (std::vector<String>{u"FileName"}));
}

TEST_F(FormStream, LoadedRunsAfterTheWholeTreeInReadingOrder) {
    TMemoryStream stream;
    WriteSample(stream);
    TTestForm form;
    ReadComponent(stream, form);
    EXPECT_EQ(gLog,
              (std::vector<String>{u"parent Panel1 reading", u"parent Button1 reading",
                                   u"parent Button2 reading", u"loaded Form1", u"loaded Store1",
                                   u"loaded Panel1", u"loaded Button1", u"loaded Button2"}));
}

TEST_F(FormStream, ReadingIntoARootAgainReusesItsComponents) {
    TMemoryStream stream;
    WriteSample(stream);
    TTestForm form;
    ReadComponent(stream, form);
    const int count = form.ComponentCount();
    stream.SetPosition(0);
    ReadComponent(stream, form);
    EXPECT_EQ(form.ComponentCount(), count);
    EXPECT_EQ(gLive, 4);
}

TEST_F(FormStream, EventHandlersAreCheckedByNameAndSignature) {
    TTestControl button(nullptr);
    EXPECT_THROW(SetEventHandler(button, u"OnResize", u"Form1ButtonClick"), EReadError);
    EXPECT_FALSE(button.OnResize);
    EXPECT_EQ(EventHandlerName(button, u"OnResize"), u"");
    EXPECT_THROW(SetEventHandler(button, u"OnClick", u"Missing"), EReadError);
    EXPECT_THROW(SetEventHandler(button, u"Width", u"Form1ButtonClick"), EReadError);
    SetEventHandler(button, u"onclick", u"form1buttonclick");
    EXPECT_TRUE(button.OnClick);
    SetEventHandler(button, u"OnClick", u"");
    EXPECT_FALSE(button.OnClick);
    EXPECT_EQ(EventHandlerName(button, u"OnClick"), u"");

    TMemoryStream stream;
    WriteSample(stream);
    ResetEventHandlers();
    TTestForm form;
    try {
        ReadComponent(stream, form);
        FAIL() << "read an unregistered handler";
    } catch (const EReadError& e) {
        EXPECT_NE(e.Message().find(u"Form1ButtonClick"), String::npos);
    }
}

TEST_F(FormStream, HeaderIsChecked) {
    TMemoryStream newer;
    HandMade(
        newer, [](TWriter&) {}, 2);
    TTestForm form;
    try {
        ReadComponent(newer, form);
        FAIL() << "accepted a newer version";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), u"Form stream version 2 is newer than this library supports (1)");
    }
    TMemoryStream wrong;
    HandMade(wrong, [](TWriter&) {});
    wrong.Memory()[3] = 'X';
    try {
        ReadFormTree(wrong);
        FAIL() << "accepted a wrong signature";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), u"Not a form stream");
    }
    TMemoryStream other;
    WriteSample(other);
    TTestPanel panel(nullptr);
    EXPECT_THROW(ReadComponent(other, panel), EReadError);
}

TEST_F(FormStream, BadContentNamesTheCulpritAndLeavesNoComponents) {
    struct Case {
        TWriterProc body;
        const char16_t* culprit;
    };
    auto prop = [](const Char* name, TWriterProc value) {
        return [=](TWriter& w) {
            w.WriteString(name);
            value(w);
        };
    };
    auto child = [](const Char* cls, TWriterProc props) {
        return [=](TWriter& w) {
            w.WriteListEnd();  // no root properties
            w.WriteString(cls);
            w.WriteString(u"A");
            props(w);
            w.WriteListEnd();
            w.WriteListEnd();
        };
    };
    const Case cases[] = {
        {prop(u"Bogus", [](TWriter& w) { w.WriteInteger(1); }), u"Bogus"},
        {prop(u"Width", [](TWriter& w) { w.WriteString(u"wide"); }), u"Width"},
        {prop(u"Align", [](TWriter& w) { w.WriteIdent(u"alLeft"); }), u"alLeft"},
        {prop(u"Font.Bold", [](TWriter& w) { w.WriteBoolean(true); }), u"Bold"},
        {prop(u"Caption.X", [](TWriter& w) { w.WriteBoolean(true); }), u"Caption"},
        {prop(u"Buddy", [](TWriter& w) { w.WriteIdent(u"Nobody"); }), u"Nobody"},
        {child(u"TNoSuchClass", [](TWriter&) {}), u"TNoSuchClass"},
        {child(u"TTestFont", [](TWriter&) {}), u"TTestFont"},
        {child(u"TTestControl", prop(u"Buddy", [](TWriter& w) { w.WriteIdent(u"Store1"); })),
         u"Buddy"},
    };
    RegisterClass(TTestFont::StaticClass());
    for (const Case& c : cases) {
        TMemoryStream stream;
        HandMade(stream, c.body);
        // A store that is not a control, for the reference of the wrong class.
        TTestForm form;
        Create<TTestStore>(form).SetName(u"Store1");
        try {
            ReadComponent(stream, form);
            ADD_FAILURE() << "accepted " << StringToUtf8(c.culprit);
        } catch (const EFilerError& e) {
            EXPECT_NE(e.Message().find(c.culprit), String::npos) << StringToUtf8(e.Message());
        }
        EXPECT_EQ(form.ComponentCount(), 1);
        EXPECT_EQ(form.ComponentState() & (csLoading | csReading), 0u);
    }
    UnRegisterClass(TTestFont::StaticClass());
}

TEST_F(FormStream, EveryTruncationFailsCleanly) {
    TMemoryStream full;
    WriteSample(full);
    for (size_t n = 0; n < full.Bytes().size(); ++n) {
        TMemoryStream cut;
        cut.WriteBuffer(full.Memory(), static_cast<std::int64_t>(n));
        cut.SetPosition(0);
        EXPECT_THROW(ReadNewComponent(cut), EFilerError) << n;
        EXPECT_EQ(gLive, 0) << n;
        cut.SetPosition(0);
        EXPECT_THROW(ReadFormTree(cut), EReadError) << n;
        cut.SetPosition(0);
        TTestForm form;
        EXPECT_THROW(ReadComponent(cut, form), EFilerError) << n;
        EXPECT_EQ(form.ComponentCount(), 0) << n;
    }
}

TEST_F(FormStream, DeepNestingIsRefused) {
    TMemoryStream stream;
    HandMade(stream, [](TWriter& w) {
        w.WriteListEnd();
        for (int i = 0; i < 10000; ++i) {
            w.WriteString(u"TTestPanel");
            w.WriteString(u"");
            w.WriteListEnd();
        }
    });
    EXPECT_THROW(ReadFormTree(stream), EReadError);
    stream.SetPosition(0);
    TTestForm form;
    EXPECT_THROW(ReadComponent(stream, form), EReadError);
    EXPECT_EQ(gLive, 1);
}

}  // namespace
}  // namespace kw
