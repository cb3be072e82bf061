#include <gtest/gtest.h>

#include "framework/DXInput.h"
#include "platform/null/NullPlatform.h"

using namespace vorlanex;

namespace {

constexpr int VK_SPACE = 0x20, VK_UP = 0x26, VK_NUMPAD8 = 0x68, VK_SHIFT = 0x10, VK_LSHIFT = 0xA0;

struct InputRig
{
    ScriptedEvents events;
    TDXInput input{&events};
    void Hold(int vk)
    {
        events.PressKey(vk);
        input.UpdateInput();
    }
    void Release(int vk)
    {
        events.ReleaseKey(vk);
        input.UpdateInput();
    }
};

}  // namespace

TEST(InputStates, AssignmentBlockHoldsTheGameKeysLittleEndian)
{
    const auto block = DefaultKeyAssignBlock();
    ASSERT_EQ(block.size(), 432u);
    const TKeyAssignList list = KeyAssignsFromBlock(block);
    EXPECT_EQ(list[StateUp], (std::array<std::int32_t, 3>{0x26, 0, 0x68}));
    EXPECT_EQ(list[StateButton1], (std::array<std::int32_t, 3>{0, 0x20, 0}));
    EXPECT_EQ(list[StateButton10][0], 0x50);
    EXPECT_EQ(list[StateButton11], (std::array<std::int32_t, 3>{0, 0, 0}));
    EXPECT_EQ(block[(StateRight * 3 + 2) * 4], 0x66);
    EXPECT_THROW(KeyAssignsFromBlock(std::span(block).first(431)), std::invalid_argument);
}

TEST(InputStates, TwoKeysOfOneStateCountOnceAndLeaveTogether)
{
    InputRig rig;
    rig.Hold(VK_UP);
    rig.Hold(VK_NUMPAD8);
    EXPECT_TRUE(rig.input.State(StateUp));
    rig.Release(VK_UP);
    EXPECT_TRUE(rig.input.State(StateUp));
    rig.Release(VK_NUMPAD8);
    EXPECT_FALSE(rig.input.State(StateUp));
}

TEST(InputStates, RemovedStateStaysOutUntilReleasedAndPressedAgain)
{
    InputRig rig;
    rig.Hold(VK_SPACE);
    rig.Hold(VK_UP);
    rig.input.RemoveStates(TDXInputStates::Range(StateButton1, StateButton32));
    EXPECT_FALSE(rig.input.State(StateButton1));
    EXPECT_TRUE(rig.input.State(StateUp));
    rig.input.UpdateInput();   // still held: stays out
    EXPECT_FALSE(rig.input.State(StateButton1));
    rig.Release(VK_SPACE);
    rig.Hold(VK_SPACE);
    EXPECT_TRUE(rig.input.State(StateButton1));
}

TEST(InputStates, ModifierKeysAndPlayerTwoKeysMapToTheirStates)
{
    InputRig rig;
    rig.Hold(VK_LSHIFT);   // the keyboard state sets the generic Shift code as well
    EXPECT_TRUE(rig.input.State(StateButton6));
    rig.Release(VK_LSHIFT);
    EXPECT_FALSE(rig.input.State(StateButton6));
    rig.Hold('W');
    rig.Hold('P');
    EXPECT_TRUE(rig.input.State(StateButton2));
    EXPECT_TRUE(rig.input.State(StateButton10));
    EXPECT_EQ(VK_SHIFT, rig.input.Keyboard.Assigns[StateButton6][0]);
}

TEST(InputStates, KeyCodesOutsideOneTo255NeverMatch)
{
    InputRig rig;
    rig.input.Keyboard.Assigns[StateButton20] = {0, 256, -1};
    rig.input.Keyboard.Assigns[StateButton21] = {0x100 | VK_SPACE, 0, 0};
    rig.Hold(VK_SPACE);
    EXPECT_FALSE(rig.input.State(StateButton20));
    EXPECT_FALSE(rig.input.State(StateButton21));
    EXPECT_TRUE(rig.input.State(StateButton1));
}

TEST(InputStates, BackgroundWindowEmptiesTheStatesOnTheNextUpdate)
{
    InputRig rig;
    rig.Hold(VK_UP);
    rig.events.SetFocus(false);
    rig.input.UpdateInput();
    EXPECT_TRUE(rig.input.InputStates.Empty());
    rig.input.ActiveOnly = false;
    rig.input.UpdateInput();
    EXPECT_TRUE(rig.input.State(StateUp));
}

TEST(InputStates, StateNumbersAboveTheSetAreAbsent)
{
    TDXInputStates set;
    for (int s = 0; s < 36; ++s)
        set.Include(s);
    set.Include(37);   // beyond the 36 states: ignored
    EXPECT_TRUE(set.Contains(35));
    EXPECT_FALSE(set.Contains(36));
    EXPECT_FALSE(set.Contains(39));
    EXPECT_FALSE(set.Contains(40));
    EXPECT_FALSE(set.Contains(255));
    EXPECT_EQ(set.bytes[4], 0x0F);
}

TEST(InputStates, NoKeyboardMeansNoStates)
{
    TDXInput input(nullptr);
    input.UpdateInput();
    EXPECT_TRUE(input.InputStates.Empty());
}

// A tap shorter than a frame: down and up again before the update reads the keyboard.
TEST(InputStates, TapBetweenTwoUpdatesCountsAsHeldExactlyOnce)
{
    InputRig rig;
    rig.events.PressKey(VK_SPACE);
    rig.input.KeyPressed(VK_SPACE);
    rig.events.ReleaseKey(VK_SPACE);
    rig.input.UpdateInput();
    EXPECT_TRUE(rig.input.State(StateButton1));
    rig.input.UpdateInput();
    EXPECT_FALSE(rig.input.State(StateButton1));
    rig.input.UpdateInput();
    EXPECT_FALSE(rig.input.State(StateButton1));
}

TEST(InputStates, TapsKeepHeldKeysAndDroppedButtonsAsTheyWere)
{
    InputRig rig;
    rig.Hold(VK_UP);
    rig.input.KeyPressed(VK_UP);   // a repeat of a held key changes nothing
    rig.input.UpdateInput();
    rig.input.UpdateInput();
    EXPECT_TRUE(rig.input.State(StateUp));

    rig.Hold(VK_SPACE);
    rig.input.RemoveStates(TDXInputStates::Range(StateButton1, StateButton32));
    rig.input.KeyPressed(VK_SPACE);   // still held since the scene change: stays dropped
    rig.input.UpdateInput();
    EXPECT_FALSE(rig.input.State(StateButton1));
}

TEST(InputStates, TapWhileInTheBackgroundIsForgotten)
{
    InputRig rig;
    rig.events.SetFocus(false);
    rig.input.KeyPressed(VK_SPACE);
    rig.input.UpdateInput();
    rig.events.SetFocus(true);
    rig.input.UpdateInput();
    EXPECT_FALSE(rig.input.State(StateButton1));
}
