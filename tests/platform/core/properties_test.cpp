#include "platform/core/properties.h"

#include <gtest/gtest.h>

namespace kw {
namespace {

class TBase : public TComponent {
    KW_CLASS(TBase)
public:
    using TComponent::TComponent;
    int a = 0;
    int b = 0;
};
KW_IMPLEMENT_CLASS(TBase, TComponent)

class TDerived : public TBase {
    KW_CLASS(TDerived)
public:
    using TBase::TBase;
    bool c = false;
};
KW_IMPLEMENT_CLASS(TDerived, TBase)

std::vector<String> Names(const std::vector<TPropInfoPtr>& list) {
    std::vector<String> names;
    for (const auto& info : list)
        names.push_back(info->name);
    return names;
}

class PropertyRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        ResetPropertyRegistry();
        Properties<TBase>()
            .Integer(u"A", &TBase::a, &TBase::a, 0)
            .Integer(u"B", &TBase::b, &TBase::b, 1);
        Properties<TDerived>()
            .Boolean(u"C", &TDerived::c, &TDerived::c, false)
            .Integer(u"b", &TDerived::b, &TDerived::b, 2);
    }
    void TearDown() override { ResetPropertyRegistry(); }
};

TEST_F(PropertyRegistry, ListsParentsFirstAndOverridesInPlace) {
    EXPECT_EQ(Names(*GetPropList(TBase::StaticClass())),
              (std::vector<String>{u"Name", u"Tag", u"A", u"B"}));
    const TPropList derived = *GetPropList(TDerived::StaticClass());
    EXPECT_EQ(Names(derived), (std::vector<String>{u"Name", u"Tag", u"A", u"b", u"C"}));
    EXPECT_EQ(derived[3]->defaultValue, TPropValue(std::int64_t{2}));
    EXPECT_EQ(FindProperty(TBase::StaticClass(), u"b")->defaultValue, TPropValue(std::int64_t{1}));
    EXPECT_EQ(FindProperty(TDerived::StaticClass(), u"TAG")->owner, &TComponent::StaticClass());
    EXPECT_EQ(FindProperty(TBase::StaticClass(), u"C"), nullptr);
}

TEST_F(PropertyRegistry, RegisteringAgainReplacesAndResetKeepsTheBuiltIns) {
    Properties<TBase>().Integer(u"a", &TBase::a, &TBase::a, 5);
    EXPECT_EQ(GetPropList(TBase::StaticClass())->size(), 4u);
    // A class's list taken before a later registration in its parent shows that registration.
    const auto held = GetPropList(TDerived::StaticClass());
    EXPECT_EQ(held->size(), 5u);
    Properties<TBase>().Integer(u"D", &TBase::b, &TBase::b, 0);
    EXPECT_EQ(held->size(), 5u);  // a list in use is not changed under its reader
    EXPECT_EQ(Names(*GetPropList(TDerived::StaticClass())),
              (std::vector<String>{u"Name", u"Tag", u"a", u"b", u"D", u"C"}));
    ResetPropertyRegistry();
    EXPECT_EQ(Names(*GetPropList(TDerived::StaticClass())), (std::vector<String>{u"Name", u"Tag"}));
}

TEST_F(PropertyRegistry, AccessorsConvertThroughTheNeutralValue) {
    TDerived object(nullptr);
    auto tag = FindProperty(TDerived::StaticClass(), u"Tag");
    tag->set(object, std::int64_t{1} << 40);
    EXPECT_EQ(object.Tag(), std::intptr_t{1} << 40);
    auto b = FindProperty(TDerived::StaticClass(), u"B");
    b->set(object, std::int64_t{-7});
    EXPECT_EQ(b->get(object), TPropValue(std::int64_t{-7}));
    FindProperty(TDerived::StaticClass(), u"Name")->set(object, String(u"Obj"));
    EXPECT_EQ(object.Name(), u"Obj");
}

}  // namespace
}  // namespace kw
