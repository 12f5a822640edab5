#include <gtest/gtest.h>

#include "framework/application.h"
#include "framework/events.h"
#include "framework/kw_screen.h"
#include "framework/state.h"
#include "platform/core/exception.h"
#include "platform/text/strings.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"

namespace kw {
namespace {

class LinkTest : public testing::Test {
protected:
    void SetUp() override {
        KwResetFrameworkState();
        Application().Reset();
    }
    void TearDown() override { KwResetFrameworkState(); }
};

// A component with a link, standing in for a package or control of a given start-up group.
class Linked : public TComponent {
    KW_CLASS(Linked)
public:
    Linked(TComponent* owner, int code, std::vector<String>* log = nullptr)
        : TComponent(owner), link(this, code), log_(log) {
        link.OnInit = [this](TKwLinkEvt&) { Record(u"init "); };
        link.OnUpdate = [this](TKwLinkEvt&) { ++updates; };
    }
    void Loaded() override {
        TComponent::Loaded();
        link.InitLinks();
    }
    void Record(StringView what) {
        if (log_)
            log_->push_back(String(what) + Name());
    }
    TKwLinkEvt link;
    int updates = 0;

private:
    std::vector<String>* log_;
};
KW_IMPLEMENT_CLASS(Linked, TComponent)

TEST_F(LinkTest, ChangesInsideOneUpdateCallTheHandlerOnceAtTheOutermostEnd) {
    Linked a(nullptr, 0), b(nullptr, 0);
    KwScreen().BeginUpdate();
    KwScreen().BeginUpdate();
    a.link.Change();
    a.link.Change();
    b.link.Change();
    KwScreen().EndUpdate();
    EXPECT_EQ(a.updates, 0);
    KwScreen().EndUpdate();
    EXPECT_EQ(a.updates, 1);
    EXPECT_EQ(b.updates, 1);
    EXPECT_FALSE(a.link.Changed());
}

TEST_F(LinkTest, UnbalancedEndsInactiveLinksAndLoadingDecideWhenChangesCount) {
    Linked a(nullptr, 0), b(nullptr, 0);
    KwScreen().EndUpdate();
    EXPECT_EQ(KwScreen().UpdateCount(), 0);
    a.link.EndLoading();
    EXPECT_EQ(a.link.LoadingCount(), 0);
    a.link.Change();  // not loading, no update held: at once
    EXPECT_EQ(a.updates, 1);
    b.link.SetActive(false);
    {
        TKwScreenUpdate hold;
        b.link.Change();
        EXPECT_EQ(b.updates, 1);  // an inactive link: at once even during an update
    }
    // A loading link, or one whose owner is being read, ignores changes.
    a.link.BeginLoading();
    a.link.Change();
    a.link.EndLoading();
    a.IncludeState(csReading);
    a.link.Change();
    EXPECT_EQ(a.updates, 1);
    EXPECT_FALSE(a.link.Changed());
}

TEST_F(LinkTest, SettingCodInitMovesAnActiveLinkToTheEndOfBothLists) {
    Linked a(nullptr, 0), b(nullptr, 0);
    a.link.SetCodInit(7);
    EXPECT_EQ(KwState().links.Last(), &a.link);
    EXPECT_EQ(KwState().pending.Last(), &a.link);
    b.link.SetActive(false);
    b.link.SetCodInit(3);
    EXPECT_FALSE(KwState().links.Contains(b.link));
    b.link.SetActive(true);  // pending again, at the end
    EXPECT_EQ(KwState().pending.Last(), &b.link);
}

// Parts of `codes` named by `names`, created on `form` as a form stream being read creates them;
// the first Loaded of the form then starts the start-up pass.
std::vector<Linked*> ReadParts(TForm& form, const std::vector<int>& codes,
                               const std::vector<String>& names, std::vector<String>& log) {
    std::vector<Linked*> parts;
    for (size_t i = 0; i < codes.size(); ++i) {
        auto& part = Create<Linked>(form, codes[i], &log);
        part.SetName(names[i]);
        part.IncludeState(csLoading | csReading);
        parts.push_back(&part);
    }
    for (Linked* part : parts)
        part->ExcludeState(csReading);
    parts.front()->Loaded();
    return parts;
}

TEST_F(LinkTest, StartupPassRunsGroupsInFixedOrderAndCreatesTheApplicationObject) {
    std::vector<String> log;
    TForm form;
    // Created in an order unlike the start-up order, as a form stream might hold them.
    const std::vector<int> codes{7, 0, 1, 6, 4, 2, 8, 5, 3};
    std::vector<String> names;
    for (int code : codes)
        names.push_back(u"C" + IntToStr(code));
    const std::vector<Linked*> parts = ReadParts(form, codes, names, log);
    ASSERT_NE(KwCApp(), nullptr);
    EXPECT_EQ(KwCApp()->HostForm(), &form);
    // Group 0 runs Loaded only; the others run their start-up handler.
    EXPECT_EQ(log, (std::vector<String>{u"init C2", u"init C3", u"init C1", u"init C4", u"init C5",
                                        u"init C6", u"init C7", u"init C8"}));
    EXPECT_TRUE(KwState().pending.Empty());
    for (Linked* part : parts)
        EXPECT_FALSE(part->HasState(csLoading));
}

TEST_F(LinkTest, WithinOneInitCodeTheLastPendingLinkStartsFirst) {
    std::vector<String> log;
    TForm form;
    ReadParts(form, std::vector<int>(3, kwInitControl), {u"A", u"B", u"C"}, log);
    EXPECT_EQ(log, (std::vector<String>{u"init C", u"init B", u"init A"}));
}

TEST_F(LinkTest, BroadcastsSkipLoadingInactiveAndDyingLinks) {
    TForm form;
    std::vector<Linked*> parts;
    std::vector<String> received;
    for (const Char* name : {u"Plain", u"Loading", u"Inactive", u"Dying"}) {
        auto& part = Create<Linked>(form, kwInitOther);
        part.SetName(name);
        part.link.Init();
        part.link.OnEvt = [&received, &part](int evt, void*) {
            received.push_back(part.Name() + u" " + IntToStr(evt));
        };
        parts.push_back(&part);
    }
    parts[1]->link.BeginLoading();
    parts[2]->link.SetActive(false);
    parts[3]->IncludeState(csDestroying);
    KwLinksPerform(kwEvtMasks, nullptr);
    EXPECT_EQ(received, std::vector<String>{u"Plain 3"});
    parts[1]->link.EndLoading();
    KwFormPerform(&form, kwEvtMasks, nullptr);
    EXPECT_EQ(received, (std::vector<String>{u"Plain 3", u"Plain 3", u"Loading 3"}));
    parts[3]->ExcludeState(csDestroying);
}

TEST_F(LinkTest, StartupEventThatAsksToTerminateAbandonsThePass) {
    std::vector<String> log;
    TForm form;
    auto& app = Create<TKwCApplication>(form);
    app.OnInitLoaded = [](TKwCApplication&, bool& terminate) { terminate = true; };
    auto& control = Create<Linked>(form, kwInitControl, &log);
    control.SetName(u"Edit");
    control.Loaded();
    EXPECT_TRUE(Application().Terminated());
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(KwState().pending.Empty());
    control.Loaded();  // later passes stay off once termination was asked for
    EXPECT_TRUE(log.empty());
}

TEST_F(LinkTest, BeforeLoadedRunsOnceAfterTheFirstPass) {
    std::vector<String> log;
    TForm form;
    auto& app = Create<TKwCApplication>(form);
    int calls = 0;
    app.OnBeforeLoaded = [&](TKwCApplication&, bool&) {
        ++calls;
        log.push_back(u"before");
    };
    auto& first = Create<Linked>(form, kwInitControl, &log);
    first.SetName(u"A");
    first.Loaded();
    auto& second = Create<Linked>(form, kwInitControl, &log);
    second.SetName(u"B");
    second.Loaded();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(log, (std::vector<String>{u"init A", u"before", u"init B"}));
}

TEST_F(LinkTest, StartupErrorsAreShownAndDoNotStopThePass) {
    std::vector<String> log;
    std::vector<std::string> shown;
    Application().OnException = [&](TObject*, const std::exception& e) {
        shown.push_back(e.what());
    };
    Linked failing(nullptr, 2, &log), next(nullptr, 7, &log);
    failing.SetName(u"F");
    next.SetName(u"N");
    failing.link.OnInit = [](TKwLinkEvt&) { throw Exception(u"broken"); };
    Create<TKwCApplication>(Application());
    next.link.InitLinks();
    EXPECT_EQ(shown, std::vector<std::string>{"broken"});
    EXPECT_EQ(log, std::vector<String>{u"init N"});
}

TEST_F(LinkTest, CancelModeSurvivesHandlersThatFreeOtherLinks) {
    auto victim = std::make_unique<Linked>(nullptr, 0);
    Linked killer(nullptr, 0);
    int victimCalls = 0, killerCalls = 0;
    killer.link.OnCancelMode = [&](TControl*, int) {
        ++killerCalls;
        victim.reset();
    };
    // The victim was created first, so order would reach it first: move it behind the killer.
    victim->link.SetCodInit(5);
    victim->link.OnCancelMode = [&](TControl*, int) { ++victimCalls; };
    KwNotifyCancelMode(nullptr, WM_LBUTTONDOWN);
    EXPECT_EQ(killerCalls, 1);
    EXPECT_EQ(victimCalls, 0);
}

class Receiver : public TForm {
    KW_CLASS(Receiver)
public:
    using TForm::TForm;
    std::vector<int> events;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == KwMasterMessage())
            events.push_back(static_cast<int>(m.WParam));
    }
};
KW_IMPLEMENT_CLASS(Receiver, TForm)

TEST_F(LinkTest, FormPerformReachesTheFormAndTheLinksOnIt) {
    Receiver form, other;
    auto& onForm = Create<Linked>(form, 0);
    auto& elsewhere = Create<Linked>(other, 0);
    std::vector<int> got;
    onForm.link.OnEvt = [&](int evt, void*) { got.push_back(evt); };
    elsewhere.link.OnEvt = [&](int evt, void*) { got.push_back(-evt); };
    KwFormPerform(&form, kwEvtLayout, nullptr);
    EXPECT_EQ(form.events, std::vector<int>{kwEvtLayout});
    EXPECT_EQ(got, std::vector<int>{kwEvtLayout});
    KwGlobalPerform(kwEvtMasks, nullptr);
    EXPECT_EQ(got, (std::vector<int>{kwEvtLayout, kwEvtMasks, -kwEvtMasks}));
}

TEST_F(LinkTest, ActiveControlIsAnnouncedFromTheOutermostParentDown) {
    Receiver form;
    std::vector<const TControl*> order;
    auto& panel = Create<TWinControl>(form);
    auto& edit = Create<TControl>(form);
    panel.SetParent(&form);
    edit.SetParent(&panel);
    for (TControl* c : {static_cast<TControl*>(&form), static_cast<TControl*>(&panel), &edit}) {
        c->WindowProc = [&order, c](TMessage& m) {
            if (m.Msg == KwMasterMessage() && m.WParam == kwEvtActiveControl)
                order.push_back(c);
        };
    }
    KwActiveControl(&edit);
    EXPECT_EQ(order, (std::vector<const TControl*>{&form, &panel, &edit}));
}

}  // namespace
}  // namespace kw
