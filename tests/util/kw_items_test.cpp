#include "util/kw_items.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/component.h"
#include "platform/core/exception.h"
#include "platform/core/filer.h"
#include "platform/core/stream.h"

namespace kw {
namespace {

using enum TKwCollectionOperation;
using Reported = std::vector<std::pair<TKwCollectionOperation, int>>;

// Records every reported operation with the index of its item (-1 for none).
Reported& Listen(TKwCollection& collection, Reported& log) {
    collection.OnOperation = [&log](TKwCollection&, TKwCollectionOperation op,
                                    TKwCollectionItem* item) {
        log.emplace_back(op, item ? item->Index() : -1);
    };
    return log;
}

TEST(KwCollectionTest, ReportsAddDeleteMoveChangeAndClear) {
    TComponent owner;
    TKwItems items(&owner);
    Reported log;
    Listen(items, log);
    items.Add();
    items.Add();
    items.Insert(0);
    EXPECT_EQ(log, (Reported{{cooAdd, 0}, {cooAdd, 1}, {cooInsert, 0}}));
    EXPECT_EQ(items.Items(1).Value(), u"0");
    log.clear();
    items.Move(0, items.Count());
    EXPECT_EQ(items.Items(2).Value(), u"0");
    items.Items(0).SetEnabled(false);
    items.Items(0).SetEnabled(false);  // unchanged: nothing
    items.Items(1).SetVisible(false);
    items.Items(1).Image().SetId(4);
    items.Delete(2);
    EXPECT_EQ(log, (Reported{{cooIndexChange, 2},
                             {cooEnabledChange, 0},
                             {cooVisibleChange, 1},
                             {cooImageChange, 1},
                             {cooDelete, 2}}));
    log.clear();
    items.Clear();
    EXPECT_EQ(log, (Reported{{cooRebuild, -1}}));
    EXPECT_EQ(items.Count(), 0);
}

TEST(KwCollectionTest, UpdatesAndReadingOwnersHoldReports) {
    TComponent owner;
    TKwItems items(&owner);
    Reported log;
    Listen(items, log);
    int platformUpdates = 0;
    items.OnUpdate = [&](TCollection&, TCollectionItem*) { ++platformUpdates; };
    items.BeginUpdate();
    items.BeginUpdate();
    items.Add().SetValue(u"x");
    items.Delete(0);
    items.EndUpdate();
    EXPECT_TRUE(log.empty());
    items.EndUpdate();
    EXPECT_EQ(log, (Reported{{cooRebuild, -1}}));
    EXPECT_EQ(platformUpdates, 1);
    EXPECT_FALSE(items.Updating());

    log.clear();
    owner.IncludeState(csReading);
    TKwItem& read = items.Add();
    EXPECT_EQ(read.Value(), u"");  // no index value while being read
    owner.ExcludeState(csReading);
    EXPECT_TRUE(log.empty());
    EXPECT_THROW(items.Insert(items.Count() + 1), EListError);
    items.Insert(items.Count());
    EXPECT_EQ(items.Count(), 2);
}

TEST(KwCollectionTest, CollectionsAreListedWhileAlive) {
    const size_t before = KwCollections().size();
    {
        TKwStateItems items(nullptr);
        EXPECT_EQ(KwCollections().size(), before + 1);
        EXPECT_EQ(KwCollections().back(), &items);
    }
    EXPECT_EQ(KwCollections().size(), before);
}

TEST(KwItemTest, DescriptionFollowsTheValueOnlyWhenItMatched) {
    TKwItems items(nullptr);
    Reported log;
    TKwItem& item = items.AddEx(u"a", u"a", {}, -1, nullptr);
    Listen(items, log);
    EXPECT_EQ(item.Description(), u"");  // equal to the value: not stored
    item.SetValue(u"b");
    EXPECT_EQ(item.GetDescription(), u"b");
    EXPECT_EQ(log, (Reported{{cooValueChange, 0}, {cooModify, 0}}));
    log.clear();
    item.SetDescription(u"Bee");
    item.SetValue(u"c");
    EXPECT_EQ(item.GetDescription(), u"Bee");
    EXPECT_EQ(log, (Reported{{cooModify, 0}, {cooValueChange, 0}}));
    EXPECT_EQ(items.FindDescription(u"BEE"), &item);
    EXPECT_EQ(items.FindValue(u"C"), &item);
    EXPECT_EQ(items.FindValue(u"b"), nullptr);
    item.SetIntValue(17);
    EXPECT_EQ(item.IntValue(), 17);
    item.SetValue(u"x1");
    EXPECT_EQ(item.IntValue(), 0);
}

TEST(KwItemTest, StateItemsAndOwnedObjects) {
    TKwStateItems items(nullptr);
    Reported log;
    Listen(items, log);
    TKwStateItem& item = static_cast<TKwStateItem&>(items.Add());
    item.SetGrayed(true);
    EXPECT_TRUE(item.Grayed());
    item.SetChecked(true);
    item.SetChecked(false);
    EXPECT_EQ(item.State(), TKwCheckState::cksUnChecked);
    EXPECT_EQ(std::count(log.begin(), log.end(), std::pair{cooStateChange, 0}), 3);

    items.SetOwnsObjects(true);
    auto watched = std::make_unique<TComponent>();
    watched->SetName(u"Watched");
    item.SetObject(watched.release());
    item.SetObject(nullptr);  // frees it; ASan reports a leak otherwise
    item.SetObject(std::make_unique<TComponent>().release());
    items.Delete(0);
}

TEST(KwItemStreamTest, RoundTripsAndRefusesNewerVersions) {
    TKwItems items(nullptr);
    TKwItem& first = items.AddEx(u"v1", u"first", u"User", 3, nullptr);
    first.SetEnabled(false);
    first.DescriptionId().PkgId(u"System", -1);
    items.AddEx(u"v2", {}, {}, -1, nullptr).SetVisible(false);
    TMemoryStream stream;
    items.SaveToStream(stream);

    TComponent owner;
    TKwStateItems loaded(&owner);
    Reported log;
    Listen(loaded, log);
    stream.SetPosition(0);
    loaded.LoadFromStream(stream);
    EXPECT_EQ(log.back(), std::pair(cooRebuild, -1));
    ASSERT_EQ(loaded.Count(), 2);
    EXPECT_FALSE(loaded.Items(0).Enabled());
    EXPECT_EQ(loaded.Items(0).GetDescription(), u"first");
    EXPECT_EQ(loaded.Items(0).Image().PkgName(), u"User");
    EXPECT_EQ(loaded.Items(0).Image().Id(), 3);
    EXPECT_EQ(loaded.Items(0).DescriptionId().PkgName(), u"System");
    EXPECT_FALSE(loaded.Items(1).ValidData());
    EXPECT_EQ(loaded.Items(1).GetDescription(), u"v2");

    TMemoryStream newer;
    {
        TWriter writer(newer);
        writer.WriteInteger(2);
        writer.WriteInteger(0);
    }
    newer.SetPosition(0);
    try {
        loaded.LoadFromStream(newer);
        FAIL() << "version 2 was accepted";
    } catch (const EReadError& error) {
        EXPECT_EQ(error.Message(), u"Invalid Version");
    }
    EXPECT_EQ(loaded.Count(), 2);
}

TEST(KwItemStreamTest, DescriptionFilesMakeOneItemALine) {
    TKwItems items(nullptr);
    items.AddEx(u"a", u"Apple", {}, -1, nullptr);
    items.AddEx(u"b", {}, {}, -1, nullptr);
    const auto path = std::filesystem::temp_directory_path() /
                      ("kw_items_descriptions_" + std::to_string(::getpid()) + ".txt");
    const String file = String(path.u16string());
    items.SaveDescriptionsToFile(file);
    TKwItems loaded(nullptr);
    loaded.LoadDescriptionsFromFile(file);
    std::filesystem::remove(path);
    ASSERT_EQ(loaded.Count(), 2);
    EXPECT_EQ(loaded.Items(0).GetDescription(), u"Apple");
    EXPECT_EQ(loaded.Items(1).Value(), u"1");
    EXPECT_EQ(loaded.Items(1).GetDescription(), u"b");
}

}  // namespace
}  // namespace kw
