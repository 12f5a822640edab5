#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "drawing/styles/cfg_window_styles.h"
#include "packages/packages_fixture.h"
#include "platform/core/form_stream.h"

namespace kw {
namespace {

class TStyleHost : public TComponent {
    KW_CLASS(TStyleHost)
public:
    explicit TStyleHost(TComponent* owner = nullptr) : TComponent(owner) {}
    std::unique_ptr<TKwStyleObject> style;
};
KW_IMPLEMENT_CLASS(TStyleHost, TComponent)

std::unique_ptr<TKwStyleObject> Make(const TClass& cls) {
    return std::unique_ptr<TKwStyleObject>(
        &dynamic_cast<TKwStyleObject&>(*cls.CreateInstance().release()));
}

// A value other than `value` for the property.
TPropValue Other(const TPropInfo& info, const TPropValue& value) {
    if (const auto* flag = std::get_if<bool>(&value))
        return !*flag;
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
        if (info.kind == TPropKind::pkEnum)
            return static_cast<std::int64_t>((*number + 1) % info.enumNames.size());
        return *number + 3;
    }
    return String(u"Changed");
}

// One thing a property tree can change: a plain value, a set's name or a reference's choice.
struct TLeaf {
    String path;
    std::function<bool()> isDefault;
    std::function<void()> setSame;
    std::function<void()> setOther;
    bool alwaysStored = false;  // a plain value without a default
};

void CollectLeaves(TPersistent& object, const String& prefix, std::vector<TLeaf>& leaves) {
    for (const TPropInfoPtr& info : *GetPropList(object.ClassType())) {
        const String path = prefix + info->name;
        if (info->kind == TPropKind::pkEvent)
            continue;
        if (info->kind != TPropKind::pkObject) {
            TPropInfo* p = const_cast<TPropInfo*>(info.get());
            leaves.push_back(
                {path,
                 [&object, p] { return !p->defaultValue || p->get(object) == *p->defaultValue; },
                 [&object, p] { p->set(object, p->get(object)); },
                 [&object, p] { p->set(object, Other(*p, p->get(object))); }, !p->defaultValue});
            continue;
        }
        TPersistent* sub = info->subObject(object);
        if (auto* set = dynamic_cast<TKwSetReference*>(sub)) {
            leaves.push_back({path,
                              [set] { return set->Name().empty() || set->Name() == u"<Default>"; },
                              [set] { set->SetName(set->Name()); },
                              [set] { set->SetName(u"Other " + set->Name()); }});
        } else if (auto* image = dynamic_cast<TKwMemoryImage*>(sub)) {
            leaves.push_back({path, [image] { return image->Id() == -1; },
                              [image] { image->SetId(image->Id()); },
                              [image] { image->PkgId(u"User", image->Id() + 8); }});
        } else if (auto* ref = dynamic_cast<TKwMemoryReference*>(sub)) {
            leaves.push_back({path, [ref] { return ref->Id() == -1; },
                              [ref] { ref->SetId(ref->Id()); },
                              [ref] { ref->PkgId(u"User", ref->Id() + 8); }});
        } else {
            ASSERT_NE(sub, nullptr) << "no sub-object behind a property";
            CollectLeaves(*sub, path + u".", leaves);
        }
    }
}

std::string Utf8(const String& text) {
    return std::string(text.begin(), text.end());
}

class StyleObjectsTest : public PackagesTest {
protected:
    void SetUp() override {
        PackagesTest::SetUp();
        Properties<TStyleHost>().Object(u"Style", [](TStyleHost& h) { return h.style.get(); });
    }

    static std::vector<TLeaf> Leaves(TKwStyleObject& style) {
        std::vector<TLeaf> leaves;
        CollectLeaves(style, String(), leaves);
        return leaves;
    }
    static void ChangeAll(TKwStyleObject& style) {
        for (const TLeaf& leaf : Leaves(style))
            leaf.setOther();
    }
    static std::unique_ptr<TMemoryStream> Written(std::unique_ptr<TKwStyleObject> style) {
        TStyleHost host;
        host.SetName(u"Host");
        host.style = std::move(style);
        auto stream = std::make_unique<TMemoryStream>();
        WriteComponent(*stream, host);
        stream->SetPosition(0);
        return stream;
    }
};

TEST_F(StyleObjectsTest, EveryClassStartsAtItsDefaultsAndFiresOnceForEachRealChange) {
    ASSERT_GE(KwStyleClasses().size(), 80u);
    for (const TKwStyleClass& entry : KwStyleClasses()) {
        auto style = Make(*entry.cls);
        int changes = 0;
        style->OnChange = [&](TKwStyleObject& sender) {
            EXPECT_EQ(&sender, style.get());
            ++changes;
        };
        for (const TLeaf& leaf : Leaves(*style)) {
            SCOPED_TRACE(Utf8(entry.cls->ClassName() + u"." + leaf.path));
            EXPECT_TRUE(leaf.isDefault());
            leaf.setSame();
            EXPECT_EQ(changes, 0);
            leaf.setOther();
            EXPECT_EQ(changes, 1);
            EXPECT_NE(leaf.isDefault(), !leaf.alwaysStored);
            changes = 0;
        }
    }
}

TEST_F(StyleObjectsTest, TheStreamHoldsOnlyChangedValuesAndReadsThemBackEqual) {
    for (const TKwStyleClass& entry : KwStyleClasses()) {
        SCOPED_TRACE(Utf8(entry.cls->ClassName()));
        auto pristine = Make(*entry.cls);
        const auto leaves = Leaves(*pristine);
        const auto always = std::count_if(leaves.begin(), leaves.end(),
                                          [](const TLeaf& leaf) { return leaf.alwaysStored; });
        EXPECT_EQ(ReadFormTree(*Written(std::move(pristine))).properties.size(), size_t(always));

        auto expected = Make(*entry.cls);
        ChangeAll(*expected);
        auto changed = Make(*entry.cls);
        ChangeAll(*changed);
        auto stream = Written(std::move(changed));
        TStyleHost reader;
        reader.SetName(u"Host");
        reader.style = Make(*entry.cls);
        ReadComponent(*stream, reader);
        EXPECT_TRUE(reader.style->Equals(*expected));
        EXPECT_EQ(reader.style->Equals(*Make(*entry.cls)), Leaves(*expected).empty());
    }
}

TEST_F(StyleObjectsTest, AssignCopiesEveryPropertyAndFiresOnce) {
    for (const TKwStyleClass& entry : KwStyleClasses()) {
        SCOPED_TRACE(Utf8(entry.cls->ClassName()));
        auto source = Make(*entry.cls);
        ChangeAll(*source);
        auto target = Make(*entry.cls);
        int changes = 0;
        target->OnChange = [&](TKwStyleObject&) { ++changes; };
        target->Assign(source.get());
        EXPECT_TRUE(target->Equals(*source));
        const bool hasProperties = !Leaves(*source).empty();
        EXPECT_EQ(changes, hasProperties ? 1 : 0);
        target->Assign(source.get());
        EXPECT_EQ(changes, hasProperties ? 1 : 0);
    }
}

TEST_F(StyleObjectsTest, AssigningAnotherClassRaisesAndACommonAncestorCopiesItsPart) {
    TKwPen pen;
    TKwBrush brush;
    EXPECT_THROW(brush.Assign(&pen), EConvertError);
    EXPECT_THROW(pen.Assign(nullptr), EConvertError);

    TKwFullShape full;
    full.SetShape(shaStar);
    full.SetBorderWidth(5);
    TKwButtonShape button;
    button.Assign(&full);  // both are basic shapes: the shape itself is copied
    EXPECT_EQ(button.Shape(), shaStar);
    EXPECT_EQ(button.BorderWidth(), 1);
}

}  // namespace
}  // namespace kw
