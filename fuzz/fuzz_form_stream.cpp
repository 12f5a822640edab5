// Reads arbitrary bytes as a form stream, once through the generic tree reader and once into a
// fresh root. Whatever reads successfully must write back to a stream that reads again and
// writes the very same bytes.
//
// The seeds in fuzz/corpus/form_stream are written by this target itself:
//   KW_FORM_FUZZ_SEEDS=fuzz/corpus/form_stream ./fuzz_form_stream -runs=0

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/exception.h"
#include "platform/core/form_stream.h"
#include "platform/core/stream.h"
#include "platform/text/unicode.h"

namespace kw {
namespace {

enum class TFuzzAlign { alNone, alTop, alClient };

class TFuzzFont : public TPersistent {
    KW_CLASS(TFuzzFont)
public:
    int size = 8;
    String face = u"Sans";
};
KW_IMPLEMENT_CLASS(TFuzzFont, TPersistent)

// Every control is a container, so that every component read is written back.
class TFuzzControl : public TComponent {
    KW_CLASS(TFuzzControl)
public:
    using TComponent::TComponent;
    ~TFuzzControl() override {
        for (TFuzzControl* c : controls)
            c->parent_ = nullptr;
        SetParentComponent(nullptr);
    }

    int width = 64;
    std::int64_t big = 0;
    bool visible = true;
    String caption;
    TFuzzAlign align = TFuzzAlign::alNone;
    std::int64_t anchors = 0;  // a set: bit i for ordinal i
    double ratio = 1.0;
    TFuzzFont font;
    TFuzzControl* buddy = nullptr;
    std::function<void(TObject*)> OnClick;
    std::function<void(TObject*, int)> OnResize;
    std::vector<TFuzzControl*> controls;

    TFuzzFont& Font() { return font; }
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override { return parent_; }
    void SetParentComponent(TComponent* parent) override {
        if (parent_ != nullptr)
            std::erase(parent_->controls, this);
        parent_ = dynamic_cast<TFuzzControl*>(parent);
        if (parent_ != nullptr)
            parent_->controls.push_back(this);
    }
    void GetChildren(const std::function<void(TComponent&)>& proc, TComponent* root) override {
        for (TFuzzControl* c : controls)
            proc(*c);
    }

private:
    TFuzzControl* parent_ = nullptr;
};
KW_IMPLEMENT_CLASS(TFuzzControl, TComponent)

class TFuzzForm : public TFuzzControl {
    KW_CLASS(TFuzzForm)
public:
    TFuzzForm() : TFuzzControl(nullptr) {}
    bool HasParent() const override { return false; }
    void GetChildren(const std::function<void(TComponent&)>& proc, TComponent* root) override {
        TComponent::GetChildren(proc, root);
        TFuzzControl::GetChildren(proc, root);
    }
};
KW_IMPLEMENT_CLASS(TFuzzForm, TFuzzControl)

class TFuzzStore : public TComponent {
    KW_CLASS(TFuzzStore)
public:
    using TComponent::TComponent;
    bool fileMode = false;
    String fileName;
    std::vector<std::uint8_t> data;

    void DefineProperties(TFiler& filer) override {
        filer.DefineProperty(
            u"InitMode", [this](TReader& r) { fileMode = r.ReadIdent() == u"rimFILE"; },
            [this](TWriter& w) { w.WriteIdent(fileMode ? u"rimFILE" : u"rimDFM"); }, fileMode);
        filer.DefineProperty(
            u"FileName", [this](TReader& r) { fileName = r.ReadString(); },
            [this](TWriter& w) { w.WriteString(fileName); }, !fileName.empty());
        filer.DefineBinaryProperty(
            u"Data",
            [this](TStream& s) {
                data.resize(static_cast<size_t>(s.Size()));
                s.ReadBuffer(data.data(), s.Size());
            },
            [this](TStream& s) {
                s.WriteBuffer(data.data(), static_cast<std::int64_t>(data.size()));
            },
            true);
    }
};
KW_IMPLEMENT_CLASS(TFuzzStore, TComponent)

void RegisterFuzzClasses() {
    // The root class is left out: a nested form would be streamed twice.
    RegisterClass(TFuzzControl::StaticClass());
    RegisterClass(TFuzzStore::StaticClass());
    Properties<TFuzzFont>()
        .Integer(u"Size", &TFuzzFont::size, &TFuzzFont::size, 8)
        .Text(u"Face", &TFuzzFont::face, &TFuzzFont::face, u"Sans");
    Properties<TFuzzControl>()
        .Integer(u"Width", &TFuzzControl::width, &TFuzzControl::width, 64)
        .Int64(u"Big", &TFuzzControl::big, &TFuzzControl::big, 0)
        .Boolean(u"Visible", &TFuzzControl::visible, &TFuzzControl::visible, true)
        .Text(u"Caption", &TFuzzControl::caption, &TFuzzControl::caption)
        .Enum(u"Align", &TFuzzControl::align, &TFuzzControl::align,
              {u"alNone", u"alTop", u"alClient"}, TFuzzAlign::alNone)
        .EnumSet(u"Anchors", &TFuzzControl::anchors, &TFuzzControl::anchors,
                 {u"akLeft", u"akTop", u"akRight", u"akBottom"}, std::int64_t{0})
        .Float(u"Ratio", &TFuzzControl::ratio, &TFuzzControl::ratio, 1.0)
        .StoredWhen([](const TFuzzControl& c) { return c.align != TFuzzAlign::alClient; })
        .Object(u"Font", &TFuzzControl::Font)
        .Component(u"Buddy", &TFuzzControl::buddy, &TFuzzControl::buddy)
        .Event(u"OnClick", &TFuzzControl::OnClick)
        .Event(u"OnResize", &TFuzzControl::OnResize);
    RegisterEventHandler(u"FormClick", std::function<void(TObject*)>([](TObject*) {}));
    RegisterEventHandler(u"FormResize", std::function<void(TObject*, int)>([](TObject*, int) {}));
}

void BuildSample(TFuzzForm& form) {
    form.SetName(u"Form1");
    form.caption = u"Sample \u00e9\u4e2d";
    auto& store = Create<TFuzzStore>(form);
    store.SetName(u"Store1");
    store.data = {1, 2, 3, 0, 255};
    auto& panel = Create<TFuzzControl>(form);
    panel.SetName(u"Panel1");
    panel.SetParentComponent(&form);
    panel.align = TFuzzAlign::alClient;
    SetEventHandler(panel, u"OnResize", u"FormResize");
    auto& button = Create<TFuzzControl>(form);
    button.SetName(u"Button1");
    button.SetParentComponent(&panel);
    button.width = 100000;
    button.big = -(std::int64_t{1} << 50);
    button.visible = false;
    button.anchors = 0b1010;
    button.ratio = 0.125;
    button.font.size = 12;
    button.font.face = u"Mono";
    button.buddy = &panel;
    SetEventHandler(button, u"OnClick", u"FormClick");
}

void BuildFileStore(TFuzzForm& form) {
    form.SetName(u"Form2");
    auto& store = Create<TFuzzStore>(form);
    store.SetName(u"Settings");
    store.fileMode = true;
    store.fileName = u"standard.dis";
    store.SetTag(7);
}

// A root with one value of each kind, for the generic reader.
void WriteValueKinds(TStream& stream) {
    TWriter w(stream);
    w.Write("KWFM", 4);
    w.WriteInteger(kFormStreamVersion);
    w.WriteString(u"TFuzzForm");
    w.WriteString(u"Form3");
    const auto named = [&w](const Char* name, const std::function<void()>& value) {
        w.WriteString(name);
        value();
    };
    named(u"List", [&] {
        w.WriteListBegin();
        w.WriteInteger(std::int32_t{1});
        w.WriteListBegin();
        w.WriteString(u"nested");
        w.WriteListEnd();
        w.WriteListEnd();
    });
    named(u"Extended", [&] { w.WriteFloat(1.5); });
    named(u"Single", [&] { w.WriteSingle(2.5f); });
    named(u"Currency", [&] { w.WriteCurrency(12345); });
    named(u"Date", [&] { w.WriteDate(45000.5); });
    named(u"Nil", [&] { w.WriteValue(TValueType::vaNil); });
    named(u"Set", [&] {
        w.WriteValue(TValueType::vaSet);
        const std::uint8_t elements[] = {6, 'f', 's', 'B', 'o', 'l', 'd', 0};
        w.Write(elements, sizeof(elements));
    });
    w.WriteListEnd();
    w.WriteListEnd();
    w.FlushBuffer();
}

void SaveSeed(const std::string& dir, const char* name, const std::function<void(TStream&)>& fill) {
    TMemoryStream stream;
    fill(stream);
    stream.SaveToFile(Utf8ToString(dir + "/" + name));
}

void WriteSeeds(const std::string& dir) {
    auto form = [](void (*build)(TFuzzForm&)) {
        return [build](TStream& s) {
            TFuzzForm root;
            build(root);
            WriteComponent(s, root);
        };
    };
    SaveSeed(dir, "sample.kwfm", form(BuildSample));
    SaveSeed(dir, "file_store.kwfm", form(BuildFileStore));
    SaveSeed(dir, "value_kinds.kwfm", WriteValueKinds);
}

void CheckRoundTrip(TFuzzForm& form) {
    TMemoryStream first;
    WriteComponent(first, form);
    first.SetPosition(0);
    TFuzzForm copy;
    ReadComponent(first, copy);
    TMemoryStream second;
    WriteComponent(second, copy);
    if (first.Bytes() != second.Bytes())
        __builtin_trap();
}

}  // namespace
}  // namespace kw

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    kw::RegisterFuzzClasses();
    if (const char* dir = std::getenv("KW_FORM_FUZZ_SEEDS"))
        kw::WriteSeeds(dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kw::TMemoryStream input;
    input.WriteBuffer(data, static_cast<std::int64_t>(size));
    input.SetPosition(0);
    try {
        kw::ReadFormTree(input);
    } catch (const kw::Exception&) {
    }
    input.SetPosition(0);
    kw::TFuzzForm form;
    try {
        kw::ReadComponent(input, form);
    } catch (const kw::Exception&) {
        return 0;
    }
    kw::CheckRoundTrip(form);
    return 0;
}
