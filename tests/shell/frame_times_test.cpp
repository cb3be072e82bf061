// The frame-time report: percentiles by nearest rank, the slowest frame found by its number, every frame in
// one bucket of the histogram, and a file that cannot be written named in the error.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <numeric>
#include <sstream>

#include "shell/automation/FrameTimes.h"

namespace vorlanex::testing {
namespace {

TEST(FrameTimes, SummaryFindsPercentilesTheSlowestFrameAndFillsTheHistogram)
{
    FrameTimes times;
    // 200 frames of 1..200 microseconds wall time, frame 150 the slow one at 4 ms; processor time half of it.
    for (int i = 1; i <= 200; ++i)
    {
        const double wall = i == 150 ? 4000 : i;
        times.Add({wall, wall / 2});
    }
    const FrameTimeSummary wall = times.Summary(&FrameTime::wall);
    EXPECT_EQ(wall.frames, 200u);
    // Sorted: 1..149, 151..200, then 4000; the 100th and the 198th of them.
    EXPECT_EQ(wall.median, 100);
    EXPECT_EQ(wall.p99, 199);
    EXPECT_EQ(wall.max, 4000);
    EXPECT_EQ(wall.slowest, 150u);
    ASSERT_EQ(wall.histogram.size(), FrameTimes::HistogramBounds().size() + 1);
    EXPECT_EQ(std::accumulate(wall.histogram.begin(), wall.histogram.end(), std::size_t(0)), 200u);
    EXPECT_EQ(wall.histogram[0], 199u);   // under 0.25 ms
    EXPECT_EQ(wall.histogram[7], 1u);     // 3 to 5 ms
    const FrameTimeSummary processor = times.Summary(&FrameTime::processor);
    EXPECT_EQ(processor.max, 2000);
    EXPECT_EQ(processor.histogram[6], 1u);   // 2 ms falls in 2 to 3 ms, not under 2

    const FrameTimeSummary none = FrameTimes().Summary(&FrameTime::wall);
    EXPECT_EQ(none.frames, 0u);
    EXPECT_EQ(none.max, 0);
}

TEST(FrameTimes, WritesEveryFrameAndNamesAFileItCannotWrite)
{
    const auto path = std::filesystem::temp_directory_path() / "vorlanex-frame-times-test.txt";
    FrameTimes times;
    times.Add({250, 200});
    times.Add({5000, 300});
    times.Write(path.string());
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    std::filesystem::remove(path);
    EXPECT_NE(text.str().find("wall median 250.0 p99 5000.0 max 5000.0 at frame 2"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("\n1 250.0 200.0\n2 5000.0 300.0\n"), std::string::npos) << text.str();

    try
    {
        times.Write("/nonexistent-folder/times.txt");
        FAIL() << "no error";
    }
    catch (const std::runtime_error& e)
    {
        EXPECT_NE(std::string(e.what()).find("/nonexistent-folder/times.txt"), std::string::npos);
    }
}

}  // namespace
}  // namespace vorlanex::testing
