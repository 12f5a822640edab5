#include "platform/core/text_arena.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/core/stable_pool.h"

namespace kw {
namespace {

String Sample(size_t i) {
    return String(1 + i % 97, static_cast<Char>(u'a' + i % 26));
}

TEST(TextArenaTest, StoredTextsStayIntactWhileBlocksAreAddedAndAfterShrink) {
    TTextArena arena;
    std::vector<StringView> views;
    for (size_t i = 0; i < 3000; ++i)
        views.push_back(arena.Store(Sample(i)));
    const String huge(100000, u'z');  // larger than a block
    const StringView hugeView = arena.Store(huge);
    Char* room = arena.Allocate(10);
    room[0] = u'x';
    arena.Shrink(room, 10, 1);
    arena.Shrink(views[5].data(), views[5].size(), 0);  // not the latest: ignored
    const StringView after = arena.Store(u"after");
    for (size_t i = 0; i < views.size(); ++i)
        ASSERT_EQ(views[i], Sample(i)) << i;
    EXPECT_EQ(hugeView, huge);
    EXPECT_EQ(StringView(room, 1), u"x");
    EXPECT_EQ(after, u"after");
    EXPECT_EQ(after.data(), room + 1);  // the tail given back was reused
    arena.Reset();
    EXPECT_EQ(arena.Used(), 0u);
    EXPECT_EQ(arena.Store(u"again"), u"again");
}

struct Counted {
    static inline int live = 0;
    int value;
    explicit Counted(int v) : value(v) { ++live; }
    ~Counted() { --live; }
};

TEST(StablePoolTest, ObjectsNeverMoveAndFreedSlotsAreReused) {
    TStablePool<Counted, 16> pool;
    std::vector<Counted*> objects;
    for (int i = 0; i < 100; ++i)
        objects.push_back(&pool.Emplace(i));
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(objects[static_cast<size_t>(i)]->value, i);
    Counted* freed = objects[40];
    pool.Destroy(*freed);
    EXPECT_EQ(Counted::live, 99);
    EXPECT_EQ(&pool.Emplace(7), freed);
    for (Counted* object : objects)
        pool.Destroy(*object);
    pool.Reset();
    EXPECT_EQ(Counted::live, 0);
    EXPECT_EQ(&pool.Emplace(1), objects[0]);  // chunks kept for the next fill
    pool.Destroy(*objects[0]);
}

}  // namespace
}  // namespace kw
