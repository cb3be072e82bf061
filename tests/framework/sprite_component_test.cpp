// The form's sprite engine component follows the display it is linked to.

#include <gtest/gtest.h>

#include "support/SpriteTesting.h"

namespace vorlanex {
namespace {

using testing::MakeProbe;

TEST(DXSpriteEngine, TakesTheBackSurfaceWhileTheDisplayRuns)
{
    std::vector<std::string> log;
    TDXSpriteEngine component;
    MakeProbe(component.Engine, "p", log, 0, 0, 10, 10);
    auto display = std::make_unique<TDXDraw>();
    component.SetDXDraw(display.get());

    component.Draw();   // not started: nothing is drawn
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(component.Engine->Surface, nullptr);

    display->StartDisplay();
    EXPECT_EQ(component.Engine->Surface, &display->BackSurface);
    EXPECT_EQ(component.Engine->ViewRect, (TRect{0, 0, 1024, 768}));
    EXPECT_EQ(component.Engine->Width, 1024);
    EXPECT_EQ(component.Engine->Height, 768);
    component.Draw();
    EXPECT_EQ(log, (std::vector<std::string>{"render:p"}));

    display->Finalize();
    EXPECT_EQ(component.Engine->Surface, nullptr);
    display->StartDisplay();
    EXPECT_EQ(component.Engine->Surface, &display->BackSurface);

    TDXDraw other;
    other.StartDisplay();
    component.SetDXDraw(&other);   // already running: its surface is taken at once
    EXPECT_EQ(component.Engine->Surface, &other.BackSurface);
    display->Finalize();           // the old display is no longer heard
    EXPECT_EQ(component.Engine->Surface, &other.BackSurface);

    component.SetDXDraw(display.get());
    display.reset();   // destroying the display detaches it
    EXPECT_EQ(component.DXDraw(), nullptr);
    EXPECT_EQ(component.Engine->Surface, nullptr);
    component.Draw();
    EXPECT_EQ(log.size(), 1u);
}

}  // namespace
}  // namespace vorlanex
