#pragma once
// A form on the null platform whose built-in catalogue holds just the pictures the passive actors ask for,
// with the display started so that the engine has its 1024 x 768 surface.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Bitmap.h"
#include "platform/null/NullPlatform.h"
#include "shell/MainForm.h"

namespace vorlanex::testing {

class EffectsFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform = MakeNullPlatform();
        GameConfig config;
        config.seed = 1;
        config.unpaced = true;
        form = std::make_unique<TMainForm>(platform, config);
        AddPicture("Snow0", 26, 24, 1, 1);
        AddPicture("Snow1", 26, 24, 1, 1);
        AddPicture("snow2", 23, 23, 1, 1);
        AddPicture("Explosion", 32, 32, 4, 1);
        AddPicture("BigExplosion", 64, 64, 1, 6);
        AddPicture("ExplosionRed", 32, 32, 1, 5);
        form->DXDraw.StartDisplay();
        form->Game.Rng.Seed(1);
    }

    void TearDown() override
    {
        Engine().Clear();
        form.reset();
    }

    void AddPicture(const std::string& name, int w, int h, int cols, int rows)
    {
        TPictureCollectionItem& item = form->ImageList.Items.Add();
        item.SetName(name);
        item.Picture = TBitmap::TrueColor(w * cols, h * rows,
                                          std::vector<TColor>(std::size_t(w * cols) * std::size_t(h * rows), clWhite));
        item.SetPatternWidth(w);
        item.SetPatternHeight(h);
    }

    TSpriteEngine& Engine() { return *form->SpriteEngine.Engine; }

    // One battle frame of the engine: move with a count of 16, then free the dead.
    void Frame()
    {
        Engine().Move(16);
        Engine().FreeKilled();
    }

    Platform platform;
    std::unique_ptr<TMainForm> form;
};

}  // namespace vorlanex::testing
