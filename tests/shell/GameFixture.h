#pragma once
// A whole game on the null platform: the form, its catalogues from the embedded archive, and a folder of its own.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "assets/BuiltinAssets.h"
#include "platform/null/NullAudio.h"
#include "platform/null/NullPlatform.h"
#include "shell/MainForm.h"

namespace vorlanex::testing {

class GameFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() /
                 ("vorlanex-shell-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        // Start-up looks in the current folder first: make it one without game files.
        previousFolder = std::filesystem::current_path();
        std::filesystem::current_path(folder);
    }
    void TearDown() override
    {
        form.reset();
        std::filesystem::current_path(previousFolder);
        std::filesystem::remove_all(folder);
    }

    // Copies a file of the built game folder into this game's folder.
    void CopyFromBuild(const std::string& name)
    {
        std::filesystem::copy_file(std::filesystem::path(VORLANEX_BUILD_DIR) / name, folder / name,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    void CopyGameData()
    {
        for (const auto& entry : std::filesystem::directory_iterator(VORLANEX_BUILD_DIR))
        {
            const std::string ext = entry.path().extension().string();
            if (entry.is_regular_file() && (ext == ".map" || ext == ".BMP" || ext == ".bmp" || ext == ".TIL" ||
                                            ext == ".wav" || ext == ".TXT"))
                CopyFromBuild(entry.path().filename().string());
        }
    }
    void WriteFile(const std::string& name, const std::string& bytes)
    {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }

    void Start()
    {
        platform = MakeNullPlatform(&parts);
        Clock* clock = platform.clock.get();
        platform.makeAudio = [clock] { return MakeNullAudioDevice(*clock); };
        GameConfig config;
        config.appDir = folder.string() + "/";
        config.seed = 1;
        config.unpaced = true;
        config.builtinAssets = BuiltinAssetArchive();
        if (adjustConfig)
            adjustConfig(config);
        form = std::make_unique<TMainForm>(platform, config);
        form->FormCreate();
    }

    // One call of the frame handler, as the timer makes it.
    void Frame()
    {
        parts.clock->now += 33;
        ASSERT_TRUE(form->DXTimer.Idle());
    }
    void Frames(int n)
    {
        for (int i = 0; i < n; ++i)
            Frame();
    }
    void KeyDown(int vk) { parts.events->PressKey(vk); }
    void KeyUp(int vk) { parts.events->ReleaseKey(vk); }
    // Space held for one frame: what leaves the title and result screens.
    void PressFire()
    {
        constexpr int Space = 0x20;
        KeyDown(Space);
        Frame();
        KeyUp(Space);
    }
    // Into the first map's battle; the next frame is battle frame 1.
    void EnterBattle()
    {
        CopyGameData();
        Start();
        PressFire();
        ASSERT_EQ(form->Scene, Scene::Battle);
    }

    // Settings files, player maps and the like, for tests that give the game some.
    std::function<void(GameConfig&)> adjustConfig;
    std::filesystem::path folder, previousFolder;
    NullPlatformParts parts;
    Platform platform;
    std::unique_ptr<TMainForm> form;
};

}  // namespace vorlanex::testing
