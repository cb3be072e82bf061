// Playing an effect that has a free copy must not allocate or copy samples: every allocation of this
// test program is counted.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "SoundTesting.h"

namespace {
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace vorlanex {
namespace {

TEST(FreeCopy, PlayingAFreeCopyCostsNoAllocation)
{
    testing::SoundRig rig;
    TWaveCollectionItem& kan = rig.AddWave("kan!!", 270);
    TWaveCollectionItem& plane = rig.AddWave("飞机声", 6130, 2);
    TWaveCollectionItem& music = rig.AddWave("背景音乐", 1000, 0, true);
    for (int i = 0; i < 3; ++i)
        PlayWave(kan, false);
    PlayWave(plane, false);
    PlayWave(plane, false);
    rig.clock.SleepMs(300);

    const long before = allocations.load();
    for (int i = 0; i < 3; ++i)
        PlayWave(kan, false);
    PlayWave(plane, false);   // at the limit: the oldest copy is reused
    PlayWave(music, false);
    StopWave(kan);
    const long during = allocations.load() - before;
    EXPECT_EQ(during, 0);
    EXPECT_EQ(kan.CopyCount(), 3);

    const long beforeNew = allocations.load();
    PlayWave(kan, false);
    PlayWave(kan, false);
    PlayWave(kan, false);
    PlayWave(kan, false);   // all three busy: one new copy, sharing the samples
    EXPECT_GT(allocations.load(), beforeNew) << "the counter does not see allocations";
    EXPECT_EQ(kan.Copy(3).Data().get(), kan.MasterBuffer()->Data().get());
}

}  // namespace
}  // namespace vorlanex
