// The recorder's file: one end line that moves on with the game, one mouse move a frame, and on a full disk
// only whole lines.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "shell/automation/InputRecorder.h"
#include "shell/automation/InputScript.h"

using namespace vorlanex;

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

InputEvent Move(int x, int y)
{
    InputEvent e;
    e.kind = EventKind::MouseMove;
    e.x = x;
    e.y = y;
    return e;
}

InputEvent Key(int vk, bool down)
{
    InputEvent e;
    e.kind = down ? EventKind::KeyDown : EventKind::KeyUp;
    e.key = vk;
    return e;
}

class Recorder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("vorlanex-recorder-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

}  // namespace

TEST_F(Recorder, TheEndLineMovesOnAndOnlyTheLastMouseMoveOfAFrameIsKept)
{
    const fs::path path = dir / "rec.txt";
    InputRecorder recorder(path.string(), 5);
    EXPECT_EQ(ReadText(path), "seed 5\n1 end\n");
    recorder.Record(1, Move(1, 1));
    recorder.Record(1, Key(0x20, true));
    recorder.Record(1, Move(2, 2));
    recorder.Record(1, Move(3, 3));
    recorder.Flush(2);
    for (std::int64_t frame = 2; frame < 1000; ++frame)
        recorder.Flush(frame + 1);
    recorder.Record(1000, Key(0x20, false));
    recorder.Flush(1001);
    EXPECT_EQ(ReadText(path), "seed 5\n1 down Space\n1 move 3 3\n1000 up Space\n1001 end\n");
    EXPECT_FALSE(recorder.Failed());
}

// A file size limit stands in for a full disk: the recording stops at a line's end and still replays.
TEST_F(Recorder, AFullDiskLeavesOnlyWholeLines)
{
    const fs::path path = dir / "rec.txt";
    const pid_t pid = ::fork();
    if (pid == 0)
    {
        ::signal(SIGXFSZ, SIG_IGN);   // a write past the limit fails with EFBIG instead of ending the process
        const rlimit limit{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        InputRecorder recorder(path.string(), 7);
        for (std::int64_t frame = 1; frame <= 400; ++frame)
        {
            recorder.Record(frame, Key(0x10, frame % 2 == 1));
            recorder.Flush(frame + 1);
        }
        ::_exit(recorder.Failed() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the recorder did not notice the full disk";
    const std::string text = ReadText(path);
    ASSERT_GT(text.size(), 900u);
    ASSERT_LE(text.size(), 1000u);
    EXPECT_EQ(text.back(), '\n');
    const InputScript script = ParseInputScript(text, "rec.txt");
    EXPECT_TRUE(script.warnings.empty());
    EXPECT_GT(script.events.size(), 40u);
    EXPECT_EQ(script.seed, 7u);
}
