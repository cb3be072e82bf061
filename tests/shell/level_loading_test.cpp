#include <algorithm>
#include <filesystem>

#include "actors/TerrSprite.h"
#include "maps/Layers.h"
#include "maps/MapFile.h"
#include "shell/GameFixture.h"

using namespace vorlanex;
using vorlanex::testing::GameFixture;

namespace {

class LevelLoading : public GameFixture
{
protected:
    void SetUp() override
    {
        GameFixture::SetUp();
        CopyGameData();
        std::filesystem::copy(std::filesystem::path(VORLANEX_BUILD_DIR) / "地图背景", folder / "地图背景",
                              std::filesystem::copy_options::recursive);
        Start();
    }

    // Draws the loading screen for one state of the bar and returns the frame it presented.
    void DrawAt(std::int32_t progress, std::int32_t total)
    {
        form->Game.LoadProgress = progress;
        form->Game.LoadTotal = total;
        form->DrawLoadingScreen();
    }
    std::uint16_t Pixel(int x, int y) const { return parts.video->FramePixel(x, y); }
};

constexpr int Middle = 768 / 2;

}  // namespace

TEST_F(LevelLoading, TheBarRunsFromBlueToRedInsideAWhiteFrame)
{
    DrawAt(1, 3);
    EXPECT_EQ(parts.text->Drawn().back(), "正在装入地图......1");
    EXPECT_EQ(Pixel(206, Middle - 4), Rgb565(clYellow)) << "inside the first character";
    const std::uint16_t third = Rgb565(85, 0, 170);
    EXPECT_EQ(Pixel(104, Middle - 16), third);
    EXPECT_EQ(Pixel(378, Middle + 15), third);
    EXPECT_NE(Pixel(379, Middle), third) << "(1024 - 200) x 1 / 3 + 105 is the bar's exclusive end";
    EXPECT_NE(Pixel(104, Middle + 16), third);
    EXPECT_EQ(Pixel(98, Middle), Rgb565(clWhite));
    EXPECT_EQ(Pixel(500, Middle - 20), Rgb565(clWhite));
    EXPECT_EQ(Pixel(938, Middle), Rgb565(clWhite));

    DrawAt(3, 3);
    EXPECT_EQ(Pixel(104, Middle), Rgb565(255, 0, 0));
    EXPECT_EQ(Pixel(928, Middle), Rgb565(255, 0, 0));
    EXPECT_NE(Pixel(929, Middle), Rgb565(255, 0, 0));

    DrawAt(0, 3);
    EXPECT_EQ(Pixel(104, Middle), Rgb565(0, 0, 255)) << "at 0 the bar is one pixel of pure blue";
    EXPECT_NE(Pixel(105, Middle), Rgb565(0, 0, 255));
}

TEST_F(LevelLoading, ABuildShowsTheFirstAndLastStepsAndNotOneFramePerCell)
{
    const int before = parts.video->PresentCount();
    form->LoadMap((folder / "MAP005.map").string());   // every ground cell filled: hundreds of steps
    ASSERT_GT(form->Game.LoadTotal, 800);
    // The clock stands still during the build, so no refresh has passed between the first and the last step.
    EXPECT_EQ(parts.video->PresentCount() - before, 2);
    EXPECT_EQ(Pixel(928, Middle), Rgb565(255, 0, 0)) << "the last frame shown is the full bar";
}

TEST_F(LevelLoading, EveryShippedMapLoadsWithItsBackgroundAndAllItsCells)
{
    int maps = 0;
    for (int level = 1;; ++level)
    {
        char name[32];
        std::snprintf(name, sizeof name, "MAP%03d.map", level);
        if (!std::filesystem::exists(folder / name))
            break;
        ++maps;
        form->LoadMap((folder / name).string());
        ASSERT_TRUE(form->ReportedErrors().empty()) << name << ": " << form->ReportedErrors().front();
        EXPECT_EQ(parts.system->BeepCount(), 0) << name << " names a tile the library lacks";
        int terrain = 0;
        for (int i = 0; i < form->SpriteEngine.Engine->ChildCount(); ++i)
            terrain += dynamic_cast<TTerrSprite*>(form->SpriteEngine.Engine->Child(i)) != nullptr;
        int cells = 0;
        for (const auto& layer : form->Game.Layers)
        {
            EXPECT_GT(layer->Count(), 0) << name;
            cells += layer->Count();
        }
        EXPECT_EQ(terrain, cells) << name;
        EXPECT_EQ(form->Game.LoadProgress, form->Game.LoadTotal) << name;
        ASSERT_NE(form->Game.BackgroundSprite->Image, nullptr);
        EXPECT_EQ(form->Game.BackgroundSprite->Image->Name(), "Lowerest") << name;
        EXPECT_EQ(form->Scene, Scene::Battle);
    }
    EXPECT_GE(maps, 12);
}

TEST_F(LevelLoading, FromTheTitleABadFirstMapEitherStaysQuietOrGoesBackWithAReport)
{
    constexpr int VK_SPACE = 0x20;
    WriteFile("MAP001.map", std::string(200, 'x'));   // not a map: the battle starts on an empty field
    Frame();
    KeyDown(VK_SPACE);
    Frame();
    KeyUp(VK_SPACE);
    EXPECT_EQ(form->Scene, Scene::Battle);
    EXPECT_TRUE(form->ReportedErrors().empty());
    EXPECT_EQ(form->SpriteEngine.Engine->ChildCount(), 1) << "the aborted start made no snow either";
    Frames(2);
    EXPECT_EQ(form->Scene, Scene::Battle);

    std::vector<std::uint8_t> bytes = WriteMapBytes(MapData{});
    bytes[63] = 0xFF;   // a background name of 255 bytes in a file that ends right after it
    bytes.resize(80);
    WriteFile("MAP001.map", std::string(bytes.begin(), bytes.end()));
    form->ChangeScene(Scene::Battle);
    Frame();
    EXPECT_EQ(form->Scene, Scene::Title);
    ASSERT_EQ(form->ReportedErrors().size(), 1u);
    EXPECT_NE(form->ReportedErrors()[0].find("MAP001.map"), std::string::npos);
}
