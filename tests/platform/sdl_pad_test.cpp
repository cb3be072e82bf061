// The real backend's pads, fed by a virtual controller inside SDL.

#include <gtest/gtest.h>

#include <vector>

#include "platform/sdl2/SdlPlatform.h"

using namespace vorlanex;

namespace {

std::vector<InputEvent> Drain(Events& events)
{
    std::vector<InputEvent> out;
    InputEvent e;
    for (int pass = 0; pass < 5; ++pass)
        while (events.Poll(e))
            out.push_back(e);
    return out;
}

bool Has(const std::vector<InputEvent>& events, EventKind kind, int pad)
{
    for (const InputEvent& e : events)
        if (e.kind == kind && e.pad == pad)
            return true;
    return false;
}

}  // namespace

TEST(SdlPads, VirtualControllerReportsButtonsStickAndUnplugging)
{
    auto events = MakeSdlEvents(nullptr);
    auto pad = std::make_unique<VirtualPad>();
    Drain(*events);   // the pad is opened when SDL tells it was plugged in

    pad->SetButton(PadButton::A, true);
    pad->SetAxis(PadAxis::LeftY, -30000);
    std::vector<InputEvent> seen = Drain(*events);
    bool fire = false, stick = false;
    for (const InputEvent& e : seen)
    {
        fire |= e.kind == EventKind::PadDown && e.padButton == PadButton::A && e.pad == 0;
        stick |= e.kind == EventKind::PadAxis && e.axis == PadAxis::LeftY && e.axisValue == -30000;
    }
    EXPECT_TRUE(fire);
    EXPECT_TRUE(stick);

    pad->SetButton(PadButton::A, false);
    EXPECT_TRUE(Has(Drain(*events), EventKind::PadUp, 0));
    pad.reset();
    EXPECT_TRUE(Has(Drain(*events), EventKind::PadRemoved, 0));
}
