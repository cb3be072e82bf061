// The sound catalogue's play rules on a null device whose time the test moves by hand.

#include <gtest/gtest.h>

#include "SoundTesting.h"
#include "framework/Mixer.h"

namespace vorlanex {
namespace {

using namespace testing;

constexpr std::size_t FramesIn(int ms) { return std::size_t(ms) * 44100 / 1000; }

TEST(WaveCatalogue, OverlappingHitsMakeCopiesOnceAndReuseThem)
{
    SoundRig rig;
    TWaveCollectionItem& kan = rig.AddWave("kan!!", 270);
    for (int i = 0; i < 5; ++i)
        PlayWave(kan, false);
    EXPECT_EQ(kan.CopyCount(), 5);
    EXPECT_EQ(rig.PlayingCopies(kan), 5);
    for (int i = 0; i < kan.CopyCount(); ++i)
        EXPECT_EQ(kan.Copy(i).Data().get(), kan.MasterBuffer()->Data().get()) << "copy " << i << " has its own samples";

    rig.clock.SleepMs(300);
    EXPECT_EQ(rig.PlayingCopies(kan), 0);
    for (int i = 0; i < 5; ++i)
        PlayWave(kan, false);
    EXPECT_EQ(kan.CopyCount(), 5);

    // With two copies busy, four plays take the three free copies and make one more.
    rig.clock.SleepMs(300);
    PlayWave(kan, false);
    PlayWave(kan, false);
    rig.clock.SleepMs(100);
    PlayWave(kan, false);
    PlayWave(kan, false);
    PlayWave(kan, false);
    PlayWave(kan, false);
    EXPECT_EQ(kan.CopyCount(), 6);
    EXPECT_EQ(rig.PlayingCopies(kan), 6);
}

TEST(WaveCatalogue, AtTheLimitTheOldestCopyIsRestartedAndMovedLast)
{
    SoundRig rig;
    TWaveCollectionItem& plane = rig.AddWave("飞机声", 6130, 2);
    PlayWave(plane, false);
    const SoundBuffer* first = &plane.Copy(0);
    rig.clock.SleepMs(100);
    PlayWave(plane, false);
    const SoundBuffer* second = &plane.Copy(1);
    rig.clock.SleepMs(100);
    PlayWave(plane, false);

    ASSERT_EQ(plane.CopyCount(), 2);
    EXPECT_EQ(&plane.Copy(0), second);
    EXPECT_EQ(&plane.Copy(1), first);
    EXPECT_EQ(first->PositionFrames(), 0u);
    EXPECT_EQ(second->PositionFrames(), FramesIn(100));
    EXPECT_EQ(rig.PlayingCopies(plane), 2);

    PlayWave(plane, false);   // now the second copy is the longest unchosen
    EXPECT_EQ(&plane.Copy(1), second);
    EXPECT_EQ(second->PositionFrames(), 0u);
}

TEST(WaveCatalogue, LoopedMusicRestartsFromTheBeginning)
{
    SoundRig rig;
    TWaveCollectionItem& music = rig.AddWave("背景音乐", 1000, 0, true);
    PlayWave(music, false);
    rig.clock.SleepMs(700);
    EXPECT_EQ(music.MasterBuffer()->PositionFrames(), FramesIn(700));
    PlayWave(music, false);
    EXPECT_EQ(music.MasterBuffer()->PositionFrames(), 0u);
    EXPECT_EQ(music.CopyCount(), 0);

    rig.clock.SleepMs(1500);   // past the end: a loop never stops by itself
    EXPECT_TRUE(music.IsPlaying());
    EXPECT_EQ(music.MasterBuffer()->PositionFrames(), FramesIn(500));

    StopWave(music);
    rig.clock.SleepMs(200);
    EXPECT_FALSE(music.IsPlaying());
    EXPECT_EQ(music.MasterBuffer()->PositionFrames(), FramesIn(500));   // left where it stopped
    PlayWave(music, false);
    EXPECT_EQ(music.MasterBuffer()->PositionFrames(), 0u);
}

TEST(WaveCatalogue, SettersFollowTheCatalogueRules)
{
    SoundRig rig;
    TWaveCollectionItem& music = rig.AddWave("music", 1000, 0, true);
    PlayWave(music, false);
    music.SetLooped(true);
    EXPECT_FALSE(music.IsPlaying()) << "setting Looped stops the item even when the value is unchanged";

    TWaveCollectionItem& hum = rig.AddWave("Hum", 420);
    hum.SetMaxPlayingCount(-3);
    EXPECT_EQ(hum.MaxPlayingCount(), 0);
    PlayWave(hum, false);
    PlayWave(hum, false);
    hum.SetMaxPlayingCount(0);
    EXPECT_EQ(hum.CopyCount(), 2) << "an unchanged limit keeps the copies";
    hum.SetMaxPlayingCount(1);
    EXPECT_EQ(hum.CopyCount(), 0);
    PlayWave(hum, false);
    PlayWave(hum, false);
    EXPECT_EQ(hum.CopyCount(), 1);
}

TEST(WaveCatalogue, FindIgnoresLetterCaseAndNamesTheMissingWave)
{
    SoundRig rig;
    TWaveCollectionItem& kan = rig.AddWave("kan!!", 100);
    rig.AddWave("吃宝", 100);
    EXPECT_EQ(&WaveFind(rig.list, "KAN!!"), &kan);
    EXPECT_EQ(&WaveFind(rig.list, "Kan!!"), &kan);
    EXPECT_EQ(rig.list.Items.IndexOf("吃宝"), 1);
    try
    {
        WaveFind(rig.list, "Boom");
        FAIL() << "found a wave that does not exist";
    }
    catch (const std::runtime_error& e)
    {
        EXPECT_STREQ(e.what(), "Wave 'Boom' not found");
    }

    kan.SetName("clang");
    EXPECT_EQ(rig.list.Items.IndexOf("kan!!"), -1);
    EXPECT_EQ(&WaveFind(rig.list, "CLANG"), &kan);
    TWaveCollectionItem& twin = rig.AddWave("clang", 100);
    EXPECT_EQ(&WaveFind(rig.list, "clang"), &twin) << "the latest item of a name wins";
}

TEST(WaveCatalogue, WaitReturnsWhenTheCopyHasFinished)
{
    SoundRig rig;
    TWaveCollectionItem& chime = rig.AddWave("吃宝", 1370);
    const std::uint32_t before = rig.clock.now;
    PlayWave(chime, true);
    const std::uint32_t waited = rig.clock.now - before;
    EXPECT_GE(waited, 1370u);
    EXPECT_LT(waited, 1390u);
    EXPECT_EQ(waited % 10, 0u) << "waits in 10 ms steps";
    EXPECT_FALSE(chime.IsPlaying());
}

TEST(WaveCatalogue, ADeviceThatCannotOpenLeavesEverythingSilent)
{
    ManualClock clock;
    TDXSound sound([]() -> std::unique_ptr<AudioDevice> { throw std::runtime_error("no sound card"); }, &clock);
    TDXWaveList list;
    list.SetDXSound(&sound);
    TWaveCollectionItem& item = list.Items.Add();
    item.LoadWaveFromBytes(SimpleWave(1000), "w.wav");
    try
    {
        sound.StartSound();
        FAIL() << "started without a device";
    }
    catch (const SoundDeviceError& e)
    {
        EXPECT_STREQ(e.what(), "Primary Buffer cannot be made (no sound card)");
    }
    EXPECT_FALSE(sound.Initialized());
    EXPECT_FALSE(item.IsLoaded());
    PlayWave(item, true);
    StopWave(item);
    EXPECT_EQ(item.CopyCount(), 0);
    EXPECT_EQ(clock.now, 0u) << "an unloaded item must not wait";

    TDXSound none({}, &clock);
    EXPECT_THROW(none.StartSound(), SoundDeviceError);
    TDXSound empty([] { return std::unique_ptr<AudioDevice>(); }, &clock);
    EXPECT_THROW(empty.StartSound(), SoundDeviceError);
}

TEST(WaveCatalogue, ItemsLoadOnStartAndDropTheirBuffersOnStop)
{
    SoundRig rig;
    TWaveCollectionItem& silentItem = rig.list.Items.Add();   // no wave: skipped when buffers are made
    TWaveCollectionItem& kan = rig.AddWave("kan!!", 100);
    rig.sound.StartSound();
    EXPECT_TRUE(kan.IsLoaded());
    EXPECT_NE(kan.MasterBuffer(), nullptr);
    EXPECT_TRUE(silentItem.IsLoaded());
    EXPECT_EQ(silentItem.MasterBuffer(), nullptr);
    PlayWave(silentItem, false);
    PlayWave(kan, false);
    EXPECT_EQ(rig.sound.ActiveMixer()->BufferCount(), 2);

    rig.sound.StopSound();
    EXPECT_FALSE(kan.IsLoaded());
    EXPECT_EQ(kan.MasterBuffer(), nullptr);
    EXPECT_EQ(kan.CopyCount(), 0);

    rig.sound.StartSound();
    kan.LoadWaveFromBytes(SimpleWave(4410), "longer.wav");   // a loaded item rebuilds from the new wave
    EXPECT_EQ(kan.MasterBuffer()->Data()->Frames(), 17640u);
    TWaveCollectionItem& late = rig.AddWave("late", 50);
    EXPECT_TRUE(late.IsLoaded());
    EXPECT_NE(late.MasterBuffer(), nullptr);
}

TEST(WaveCatalogue, TheDeviceMayGoBeforeTheCatalogue)
{
    ManualClock clock;
    TDXWaveList list;
    TWaveCollectionItem& item = list.Items.Add();
    item.LoadWaveFromBytes(SimpleWave(1000), "w.wav");
    {
        TDXSound sound([&clock] { return MakeNullAudioDevice(clock); }, &clock);
        list.SetDXSound(&sound);
        sound.StartSound();
        PlayWave(item, false);
        EXPECT_TRUE(item.IsPlaying());
    }
    EXPECT_EQ(list.DXSound(), nullptr);
    EXPECT_FALSE(item.IsLoaded());
    PlayWave(item, false);
    EXPECT_FALSE(item.IsPlaying());
}

}  // namespace
}  // namespace vorlanex
