#include <gtest/gtest.h>

#include "platform/core/component.h"
#include "platform/core/exception.h"

namespace kw {
namespace {

class Probe : public TComponent {
    KW_CLASS(Probe)
public:
    using TComponent::TComponent;
    ~Probe() override {
        if (log)
            log->push_back(Name());
    }
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (c != nullptr && op == TOperation::opRemove && log)
            log->push_back(Name() + u" saw " + c->Name());
    }
    std::vector<String>* log = nullptr;
};
KW_IMPLEMENT_CLASS(Probe, TComponent)

TEST(Component, OwnerFreesOwnedComponentsLastCreatedFirst) {
    std::vector<String> log;
    {
        auto root = std::make_unique<TComponent>();
        for (const Char* name : {u"A", u"B", u"C"}) {
            auto& p = Create<Probe>(*root);
            p.SetName(name);
            p.log = &log;
        }
        EXPECT_EQ(root->ComponentCount(), 3);
        EXPECT_EQ(root->FindComponent(u"b"), root->Components(1));
    }
    EXPECT_EQ(log, (std::vector<String>{u"C", u"B", u"A"}));
}

TEST(Component, NamesMustBeIdentifiersAndUniqueInTheOwner) {
    TComponent root;
    auto& a = Create<TComponent>(root);
    a.SetName(u"Button1");
    auto& b = Create<TComponent>(root);
    EXPECT_THROW(b.SetName(u"button1"), EComponentError);
    EXPECT_THROW(b.SetName(u"1st"), EComponentError);
    a.SetName(u"BUTTON1");  // a case change of its own name is not a clash
    EXPECT_EQ(a.Name(), u"BUTTON1");
}

TEST(Component, FreeNotificationTellsTheOtherSideOnce) {
    std::vector<String> log;
    TComponent root;
    auto& watcher = Create<Probe>(root);
    watcher.SetName(u"W");
    watcher.log = &log;
    auto target = std::make_unique<Probe>(nullptr);
    target->SetName(u"T");
    target->FreeNotification(watcher);
    target.reset();
    EXPECT_EQ(log, (std::vector<String>{u"W saw T"}));
}

TEST(Persistent, DefaultAssignRaisesConversionErrorNamingBothClasses) {
    TComponent a;
    Probe b(nullptr);
    try {
        a.Assign(&b);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"Cannot assign a Probe to a TComponent");
    }
}

TEST(ClassRegistry, CreatesComponentsByNameOwnedByTheGivenOwner) {
    RegisterClass(Probe::StaticClass());
    TComponent root;
    TComponent& made = FindClass(u"PROBE").CreateComponent(root);
    EXPECT_TRUE(made.Is<Probe>());
    EXPECT_TRUE(made.InheritsFrom(TPersistent::StaticClass()));
    EXPECT_EQ(made.Owner(), &root);
    EXPECT_THROW(FindClass(u"TNothing"), EClassNotFound);
    UnRegisterClass(Probe::StaticClass());
}

}  // namespace
}  // namespace kw
