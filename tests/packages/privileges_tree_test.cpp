
#include "display/memory_image.h"
#include "framework/events.h"
#include "framework/kw_screen.h"
#include "platform/ui/control.h"
#include "platform/ui/form.h"
#include "privileges_fixture.h"

namespace kw {
namespace {

using Op = TKwOperation;

TEST_F(PrivilegesTest, IdsAreCheckedAndTheLowestFreeOneIsOffered) {
    TKwPkgPrivileges& p = StartPrivileges();
    EXPECT_EQ(MessageIdOf([&] { p.Add(-1); }), 22);
    EXPECT_EQ(MessageIdOf([&] { p.Add(10000); }), 23);
    p.Add(0);
    p.Add(1);
    p.Add(3);
    EXPECT_EQ(MessageIdOf([&] { p.Add(3); }), 24);
    EXPECT_EQ(p.UniqueId(), 2);
    p.Delete(*p.FindId(1));
    EXPECT_EQ(p.UniqueId(), 1);
    EXPECT_EQ(p.FindId(1), nullptr);
    EXPECT_EQ(p.FindId(-5), nullptr);
    EXPECT_EQ(p.FindId(9999), nullptr);

    TKwPkgPrivilegesItem& three = *p.FindId(3);
    three.SetId(7);
    EXPECT_EQ(p.FindId(3), nullptr);
    EXPECT_EQ(p.FindId(7), &three);
    EXPECT_EQ(MessageIdOf([&] { three.SetId(0); }), 24);
    EXPECT_EQ(p.ReadAccess(7, accNone), accReadWrite);
    EXPECT_EQ(p.ReadAccess(8, accRead), accRead);
}

TEST_F(PrivilegesTest, EffectiveAccessIsTheWeakestOnTheWayToTheRoot) {
    TKwPrivilege leaf(12);
    EXPECT_EQ(leaf.Access(), accReadWrite) << "no application object: everything allowed";
    EXPECT_FALSE(leaf.Defined());

    TKwPkgPrivileges& p = StartTree();
    int changes = 0;
    leaf.OnChange = [&](TKwPrivilege&) { ++changes; };
    p.WriteAccess(11, accRead);
    EXPECT_EQ(leaf.Access(), accRead);
    p.WriteAccess(10, accNone);
    EXPECT_EQ(leaf.Access(), accNone);
    EXPECT_EQ(p.FindId(12)->Access(), accReadWrite) << "its own level is untouched";
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(leaf.Defined());

    TKwPrivilege sibling;
    sibling.Assign(&leaf);
    EXPECT_EQ(sibling.Id(), 12);
    EXPECT_EQ(sibling.Access(), accNone);
    TKwPrivilege unknown(500);
    EXPECT_EQ(unknown.Access(), accReadWrite);

    // Moving the item out of the restricted branch frees it.
    p.FindId(12)->SetParent(p.FindId(20));
    EXPECT_EQ(leaf.Access(), accReadWrite);
    EXPECT_EQ(changes, 3);
}

TEST_F(PrivilegesTest, AParentIsVisibleExactlyWhenOneOfItsChildrenIs) {
    TKwPkgPrivileges& p = StartTree();
    p.FindId(12)->SetVisible(false);
    EXPECT_FALSE(p.FindId(11)->Visible());
    EXPECT_FALSE(p.FindId(10)->Visible()) << "no other visible child up to the root";
    EXPECT_TRUE(p.FindId(20)->Visible());

    p.FindId(12)->SetVisible(true);
    EXPECT_TRUE(p.FindId(11)->Visible());
    EXPECT_TRUE(p.FindId(10)->Visible());

    // A second child keeps the parent visible.
    p.Add(13).SetParent(p.FindId(10));
    p.FindId(12)->SetVisible(false);
    EXPECT_FALSE(p.FindId(11)->Visible());
    EXPECT_TRUE(p.FindId(10)->Visible());

    // Hiding and showing a parent carries its whole subtree.
    p.FindId(10)->SetVisible(false);
    for (int id : {10, 11, 12, 13})
        EXPECT_FALSE(p.FindId(id)->Visible()) << id;
    p.FindId(10)->SetVisible(true);
    for (int id : {10, 11, 12, 13})
        EXPECT_TRUE(p.FindId(id)->Visible()) << id;

    // A child leaving takes its visibility with it.
    p.FindId(13)->SetVisible(false);
    p.FindId(12)->SetVisible(false);
    EXPECT_FALSE(p.FindId(10)->Visible());
    p.FindId(13)->SetParent(nullptr);
    EXPECT_FALSE(p.FindId(10)->Visible());
    EXPECT_EQ(p.FindId(10)->GetChildCount(), 1);
}

TEST_F(PrivilegesTest, TheTreeRefusesLoopsAndFreesSubtrees) {
    TKwPkgPrivileges& p = StartTree();
    EXPECT_THROW(p.FindId(10)->SetParent(p.FindId(12)), EKwError);
    EXPECT_THROW(p.FindId(10)->SetParent(p.FindId(10)), EKwError);
    EXPECT_EQ(p.FindId(10)->Parent(), nullptr);

    p.Delete(*p.FindId(11));
    EXPECT_EQ(p.Count(), 3);
    EXPECT_EQ(p.FindId(12), nullptr) << "children go with their parent";
    EXPECT_EQ(p.FindId(10)->GetChildCount(), 0);

    p.FindId(21)->SetVisible(false);
    p.Add(22).SetParent(p.FindId(20));
    p.Add(23);
    p.FindId(20)->SetChild(1, *p.FindId(23));
    EXPECT_EQ(p.FindId(20)->GetChild(1), p.FindId(23));
    EXPECT_EQ(p.FindId(22)->Parent(), nullptr);
    p.FindId(20)->RemoveChilds();
    EXPECT_EQ(p.FindId(20)->GetChildCount(), 0);
    EXPECT_EQ(p.FindId(21)->Parent(), nullptr);
}

TEST_F(PrivilegesTest, BulkChangesReachEveryItemAndShowingShowsHiddenDescendants) {
    TKwPkgPrivileges& p = StartTree();
    p.ClearAccess();
    for (int i = 0; i < p.Count(); ++i)
        EXPECT_EQ(p.Items(i).Access(), accNone);
    p.GrantAllAccess();
    EXPECT_EQ(p.ReadAccess(12, accNone), accReadWrite);
    p.ClearVisibles();
    for (int i = 0; i < p.Count(); ++i)
        EXPECT_FALSE(p.Items(i).Visible());
    p.GrantAllVisibles();
    for (int i = 0; i < p.Count(); ++i)
        EXPECT_TRUE(p.Items(i).Visible());

    // Partly visible: 10 stays visible through 13 while 11 and 12 are hidden. Showing the
    // already visible 10 shows them again.
    p.Add(13).SetParent(p.FindId(10));
    p.FindId(11)->SetVisible(false);
    ASSERT_TRUE(p.FindId(10)->Visible());
    ASSERT_FALSE(p.FindId(12)->Visible());
    p.FindId(10)->SetVisible(true);
    EXPECT_TRUE(p.FindId(11)->Visible());
    EXPECT_TRUE(p.FindId(12)->Visible());
}

TEST_F(PrivilegesTest, StartUpTakesDescriptionsFromTheActiveLanguage) {
    TKwPkgPrivileges& p = StartTree();
    app_->PkgLanguage().UserStrings().Labels().Add(7, u"Archivos", u"");
    p.FindId(10)->DescriptionId().PkgId(u"User", 7);
    p.FindId(11)->DescriptionId().PkgId(u"User", 8);  // no such label: keeps its own text
    p.Link().DoInit();
    EXPECT_EQ(p.FindId(10)->Description(), u"Archivos");
    EXPECT_EQ(p.FindId(11)->Description(), u"Open");

    // Another language active: the next start-up follows it.
    TKwCApplication other;
    other.PkgLanguage().UserStrings().Labels().Add(7, u"Dateien", u"");
    other.SetActive(true);
    p.Link().DoInit();
    EXPECT_EQ(p.FindId(10)->Description(), u"Dateien");
}

TEST_F(PrivilegesTest, AssignCopiesTheTreeAndTheRightsCopiesOnlyKnownIds) {
    TKwPkgPrivileges& source = StartTree();
    source.FindId(12)->SetVisible(false);
    source.WriteAccess(20, accRead);
    source.FindId(10)->DescriptionId().PkgId(u"User", 7);
    source.FindId(10)->Image().PkgId(u"System", 3);

    TForm form;
    TKwPkgPrivileges copy(&form);
    copy.Assign(&source);
    ASSERT_EQ(copy.Count(), 5);
    for (int i = 0; i < copy.Count(); ++i)
        EXPECT_EQ(copy.Items(i).Id(), source.Items(i).Id());
    EXPECT_EQ(copy.FindId(12)->Parent(), copy.FindId(11));
    EXPECT_FALSE(copy.FindId(10)->Visible());
    EXPECT_EQ(copy.ReadAccess(20, accNone), accRead);
    EXPECT_EQ(copy.FindId(11)->Description(), u"Open");
    EXPECT_EQ(copy.FindId(10)->DescriptionId().Id(), 7);
    EXPECT_EQ(copy.FindId(10)->Image().PkgName(), u"System");

    TKwPkgPrivileges rights(&form);
    rights.Add(12);
    rights.Add(11).SetAccess(accRead);
    rights.Add(99);
    rights.FindId(12)->SetParent(rights.FindId(11));
    copy.AssignAccess(rights);
    EXPECT_EQ(copy.ReadAccess(11, accNone), accRead);
    EXPECT_EQ(copy.ReadAccess(12, accNone), accReadWrite);
    EXPECT_EQ(copy.ReadAccess(20, accRead), accNone) << "ids the source lacks lose access";

    rights.FindId(12)->SetVisible(false);
    rights.FindId(99)->SetVisible(true);
    copy.AssignVisibles(rights);
    EXPECT_FALSE(copy.FindId(12)->Visible());
    EXPECT_FALSE(copy.FindId(11)->Visible());
    EXPECT_FALSE(copy.FindId(21)->Visible());
}

TEST_F(PrivilegesTest, ChangesInsideAnUpdateAreReportedOnceAtItsEnd) {
    TKwPkgPrivileges& p = StartTree();
    using Reports = std::vector<std::pair<TKwPkgPrivilegesItem*, Op>>;
    Reports reports;
    p.OnPrivilegesChanged = [&](TKwPkgPrivileges&, TKwPkgPrivilegesItem* item, Op op) {
        reports.emplace_back(item, op);
    };
    p.BeginUpdate();
    p.BeginUpdate();
    p.WriteAccess(21, accRead);
    p.EndUpdate();
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(p.PendingChanges(), 1);
    p.EndUpdate();
    EXPECT_EQ(reports, (Reports{{p.FindId(21), Op::opeModify}}));

    reports.clear();
    p.BeginUpdate();
    p.WriteAccess(21, accNone);
    p.WriteAccess(20, accNone);
    p.Add(30);
    EXPECT_EQ(p.PendingChanges(), 3);
    p.EndUpdate();
    EXPECT_EQ(reports, (Reports{{nullptr, Op::opeRebuild}}));
    EXPECT_EQ(p.PendingChanges(), 0);

    reports.clear();
    p.WriteAccess(30, accRead);
    p.Add(31);
    ASSERT_EQ(reports.size(), 2u) << "outside an update every change is reported";
    EXPECT_EQ(reports[1].second, Op::opeInsert);

    // A screen update defers the report to the package's link.
    reports.clear();
    {
        TKwScreenUpdate screen;
        p.WriteAccess(31, accNone);
        p.WriteAccess(30, accNone);
        EXPECT_TRUE(reports.empty());
    }
    EXPECT_EQ(reports, (Reports{{nullptr, Op::opeRebuild}}));

    // A deleted item is never handed out by a pending report.
    reports.clear();
    p.BeginUpdate();
    p.Delete(*p.FindId(31));
    p.EndUpdate();
    EXPECT_EQ(reports, (Reports{{nullptr, Op::opeRemove}}));
}

TEST_F(PrivilegesTest, BulkRightsChangesRunMarkedAsRightsOnly) {
    TKwPkgPrivileges& p = StartTree();
    std::vector<bool> rightsOnly;
    int reports = 0;
    p.OnPrivilegesChanged = [&](TKwPkgPrivileges& sender, TKwPkgPrivilegesItem*, Op op) {
        ++reports;
        rightsOnly.push_back(sender.RightsOnly());
        EXPECT_EQ(op, Op::opeRebuild);
    };
    p.ClearAccess();
    p.ClearVisibles();
    TKwPkgPrivileges other(nullptr);
    p.Assign(&other);
    EXPECT_EQ(reports, 3);
    EXPECT_EQ(rightsOnly, (std::vector<bool>{true, true, false}));
    EXPECT_FALSE(p.RightsOnly());
}

// Records the master messages a privilege list box receives.
class ListBoxProbe : public TControl {
public:
    ListBoxProbe() {
        WindowProc = [this](TMessage& m) {
            if (m.Msg != KwMasterMessage())
                return;
            codes.push_back(static_cast<int>(m.WParam));
            if (m.WParam == kKwLBPrivilegesChanged)
                changes.push_back(*reinterpret_cast<TKwPrivilegesChange*>(m.LParam));
            else
                packages.push_back(m.LParam);
        };
    }
    std::vector<int> codes;
    std::vector<std::intptr_t> packages;
    std::vector<TKwPrivilegesChange> changes;
};

TEST_F(PrivilegesTest, ListBoxesHearRegistrationChangesAndTheEnd) {
    ListBoxProbe box;
    {
        TKwPkgPrivileges p(nullptr);
        p.InsertLBPrivileges(box);
        p.Add(4);
        ASSERT_EQ(box.changes.size(), 1u);
        EXPECT_EQ(box.changes[0].item, p.FindId(4));
        EXPECT_EQ(box.changes[0].operation, Op::opeInsert);
        EXPECT_EQ(box.packages, (std::vector<std::intptr_t>{reinterpret_cast<std::intptr_t>(&p)}));
    }
    EXPECT_EQ(box.codes.back(), kKwLBPrivilegesPackage);
    EXPECT_EQ(box.packages.back(), 0);

    // A list box that goes away first is forgotten.
    TKwPkgPrivileges p(nullptr);
    {
        ListBoxProbe shortLived;
        p.InsertLBPrivileges(shortLived);
    }
    p.Add(1);
}

TEST_F(PrivilegesTest, FormPackagesTakeOverTheApplicationTemplate) {
    TKwPkgPrivileges& app = StartTree();
    TForm form;
    TKwPkgPrivileges& onForm = Create<TKwPkgPrivileges>(form);
    EXPECT_EQ(onForm.Link().CodInit(), kwInitPrivileges);
    EXPECT_EQ(app.Link().CodInit(), kwInitOther);
    onForm.SetParentComponent(&form);
    ASSERT_EQ(onForm.Count(), 5);
    EXPECT_EQ(onForm.FindId(12)->Parent()->Id(), 11);

    // A template change travels as event 31 and is copied whole.
    app.Add(40).SetDescription(u"Print");
    ASSERT_NE(onForm.FindId(40), nullptr);

    // A rights-only change is copied as rights.
    TKwPkgPrivilegesItem* formItem = onForm.FindId(40);
    app.ClearAccess();
    EXPECT_EQ(onForm.FindId(40), formItem) << "rights alone do not rebuild the copy";
    EXPECT_EQ(onForm.ReadAccess(40, accReadWrite), accNone);
}

TEST_F(PrivilegesTest, OnlyTheApplicationPackageKeepsItsTemplateInTheForm) {
    TKwPkgPrivileges& app = StartTree();
    app.SetTemplateDescription(u"roles");
    TMemoryStream data;
    app.WriteData(data);
    EXPECT_EQ(data.Bytes(), SavedStream([&](TStream& s) { app.SaveTemplateToStream(s); }));

    TKwPkgPrivileges& second = Create<TKwPkgPrivileges>(*app_);
    second.ReadData(data);
    EXPECT_EQ(second.Count(), 5);
    EXPECT_EQ(second.TemplateDescription(), u"roles");
    EXPECT_EQ(second.InitMode(), rimFILE);

    TForm form;
    TKwPkgPrivileges onForm(&form);
    TMemoryStream nothing;
    onForm.WriteData(nothing);
    EXPECT_EQ(nothing.Size(), 0);
    onForm.ReadData(data);
    EXPECT_EQ(onForm.Count(), 0);
}

TEST_F(PrivilegesTest, InfoTypeChoosesTheExtension) {
    TKwPkgPrivileges& p = StartPrivileges();
    EXPECT_EQ(p.DefaultExt(), u"acc");
    int reports = 0;
    p.OnPrivilegesChanged = [&](TKwPkgPrivileges&, TKwPkgPrivilegesItem*, Op op) {
        ++reports;
        EXPECT_EQ(op, Op::opeRebuild);
    };
    p.SetInfoType(pitVisibles);
    EXPECT_EQ(p.DefaultExt(), u"vis");
    EXPECT_EQ(reports, 1);
}

}  // namespace
}  // namespace kw
