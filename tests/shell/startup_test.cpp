#include <stdexcept>

#include "shell/GameFixture.h"

using namespace vorlanex;
using vorlanex::testing::GameFixture;

using Startup = GameFixture;

TEST_F(Startup, MissingFilesAreReportedOnceAndTheTitleStillComes)
{
    // An empty game folder: no pictures, no music, no help text, no maps.
    Start();
    EXPECT_EQ(form->Scene, Scene::Title);
    EXPECT_TRUE(form->memo.empty());
    const auto& errors = form->ReportedErrors();
    EXPECT_EQ(errors.size(), 6u);   // five pictures and the music
    TPictureCollectionItem* star = form->ImageList.Items.ImageFind("Star");
    ASSERT_NE(star, nullptr);
    EXPECT_FALSE(star->IsLoaded());
    Frames(3);
    EXPECT_EQ(form->FrameCounter, 3);
    EXPECT_EQ(form->ReportedErrors().size(), 6u);
}

TEST_F(Startup, PicturesAreFoundInTheGameFolderWhenTheCurrentFolderLacksThem)
{
    CopyFromBuild("边框1.BMP");
    Start();
    TPictureCollectionItem* frame = form->ImageList.Items.ImageFind("边框");
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->IsLoaded());
    EXPECT_GT(frame->PatternWidth(), 128);
}

TEST_F(Startup, NoDisplayEndsStartUpWithTheDisplayError)
{
    platform = MakeNullPlatform(&parts);
    parts.video->SetFailOpen(true);
    GameConfig config;
    config.appDir = folder.string() + "/";
    TMainForm game(platform, config);
    try
    {
        game.FormCreate();
        FAIL() << "start-up went on without a display";
    }
    catch (const DisplayError& e)
    {
        EXPECT_STREQ(e.what(), "Display mode cannot be changed (1024x768 16bit)");
    }
    EXPECT_EQ(game.Scene, Scene::None);
}

TEST_F(Startup, AFormRefusesAPlatformWithAPartMissing)
{
    GameConfig config;
    config.appDir = folder.string() + "/";
    for (const char* part : {"video", "events", "clock", "text", "system"})
    {
        Platform partial = MakeNullPlatform();
        const std::string name = part;
        if (name == "video")
            partial.video.reset();
        else if (name == "events")
            partial.events.reset();
        else if (name == "clock")
            partial.clock.reset();
        else if (name == "text")
            partial.text.reset();
        else
            partial.system.reset();
        try
        {
            TMainForm game(partial, config);
            ADD_FAILURE() << "a form was made without its " << part;
        }
        catch (const std::invalid_argument& e)
        {
            EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
        }
    }
}

TEST_F(Startup, LevelMapNamesHaveAtLeastThreeDigits)
{
    EXPECT_EQ(LevelMapFileName("/g/", 1), "/g/MAP001.map");
    EXPECT_EQ(LevelMapFileName("/g/", 12), "/g/MAP012.map");
    EXPECT_EQ(LevelMapFileName("/g/", 1000), "/g/MAP1000.map");
}

TEST_F(Startup, ResultLinesCarryTheRankTitles)
{
    EXPECT_EQ(ResultLine(1, 123456), "Player1得分=123456  级别=坦克排长☆★☆");
    EXPECT_EQ(ResultLine(2, 0), "Player2得分=0  级别=入伍新兵☆");
    EXPECT_EQ(ResultLine(2, 9999999), "Player2得分=9999999  级别=坦克战神☆★☆★☆★☆★☆★☆");
}
