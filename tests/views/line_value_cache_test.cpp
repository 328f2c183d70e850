#include "views/line_value_cache.h"

#include <gtest/gtest.h>

namespace {

constexpr auto NotComputed = LineValueCache::NotComputed;

TEST(LineValueCacheTest, NothingIsCachedBeforeTheArrayExists)
{
    LineValueCache cache;
    EXPECT_FALSE(cache.Exists());
    cache.Set(0, 5);
    EXPECT_EQ(cache.Get(0), NotComputed);
    cache.Refit(10, 0);
    EXPECT_FALSE(cache.Exists());
    cache.EnsureExists(3);
    EXPECT_EQ(cache.Size(), 3);
    EXPECT_EQ(cache.Get(2), NotComputed);
}

TEST(LineValueCacheTest, RefitKeepsTheEntriesAboveTheChange)
{
    LineValueCache cache;
    cache.EnsureExists(5);
    for (int line = 0; line < 5; ++line)
        cache.Set(line, static_cast<std::uint32_t>(line * 10));
    cache.Refit(8, 2);
    EXPECT_EQ(cache.Size(), 8);
    EXPECT_EQ(cache.Get(0), 0u);
    EXPECT_EQ(cache.Get(1), 10u);
    for (int line = 2; line < 8; ++line)
        EXPECT_EQ(cache.Get(line), NotComputed) << line;

    cache.Set(5, 7);
    cache.Refit(3, 1);
    EXPECT_EQ(cache.Size(), 3);
    EXPECT_EQ(cache.Get(0), 0u);
    EXPECT_EQ(cache.Get(1), NotComputed);
    EXPECT_EQ(cache.Get(5), NotComputed);
}

TEST(LineValueCacheTest, InvalidationOutsideTheArrayIsHarmless)
{
    LineValueCache cache;
    cache.EnsureExists(4);
    cache.Set(0, 1);
    cache.Set(3, 4);
    cache.InvalidateFrom(10);
    cache.Invalidate(-1);
    cache.Invalidate(7);
    EXPECT_EQ(cache.Get(3), 4u);
    cache.InvalidateFrom(-5);
    EXPECT_EQ(cache.Get(0), NotComputed);
    EXPECT_EQ(cache.Get(-1), NotComputed);
    EXPECT_EQ(cache.Get(4), NotComputed);
}

TEST(LineValueCacheTest, ValuesSetBelowAnInvalidationDoNotReviveTheGap)
{
    LineValueCache cache;
    cache.EnsureExists(10);
    for (int line = 0; line < 10; ++line)
        cache.Set(line, static_cast<std::uint32_t>(line));
    cache.InvalidateFrom(6);
    cache.InvalidateFrom(3);
    cache.InvalidateFrom(8);
    cache.Set(7, 70);
    EXPECT_EQ(cache.Get(2), 2u);
    for (int line = 3; line < 7; ++line)
        EXPECT_EQ(cache.Get(line), NotComputed) << line;
    EXPECT_EQ(cache.Get(7), 70u);
    EXPECT_EQ(cache.Get(8), NotComputed);
    cache.Invalidate(7);
    EXPECT_EQ(cache.Get(7), NotComputed);
    cache.Set(3, 30);
    EXPECT_EQ(cache.Get(3), 30u);
    EXPECT_EQ(cache.Get(4), NotComputed);
}

} // namespace
