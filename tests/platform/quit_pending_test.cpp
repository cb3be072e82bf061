// Start-up and level loading look for a quit without taking events off the queue: the message loop must
// still find every event afterwards, the quit included.

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

#include "platform/null/NullPlatform.h"
#include "platform/sdl2/SdlPlatform.h"

namespace vorlanex {
namespace {

TEST(QuitPending, SigtermIsSeenWithoutBeingTaken)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    auto events = MakeSdlEvents(nullptr);
    EXPECT_FALSE(events->QuitPending());
    std::raise(SIGTERM);
    EXPECT_TRUE(events->QuitPending());
    EXPECT_TRUE(events->QuitPending()) << "looking does not take the request away";
    InputEvent event;
    bool quit = false;
    while (events->Poll(event))
        quit = quit || event.kind == EventKind::Quit;
    EXPECT_TRUE(quit);
    EXPECT_FALSE(events->QuitPending());
}

TEST(QuitPending, ScriptedQuitAndAltF4AreSeenOtherKeysAreNot)
{
    ScriptedEvents events;
    InputEvent f4;
    f4.kind = EventKind::KeyDown;
    f4.key = 0x73;
    events.Push(f4);
    EXPECT_FALSE(events.QuitPending()) << "F4 without Alt";
    f4.alt = true;
    events.Push(f4);
    EXPECT_TRUE(events.QuitPending());
    EXPECT_EQ(events.Pending(), 2u);
}

}  // namespace
}  // namespace vorlanex
