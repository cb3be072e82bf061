// Cost of the text a frame draws through the SDL text engine, and of a screenshot.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "framework/PngWriter.h"
#include "platform/sdl2/SdlPlatform.h"

namespace vorlanex {
namespace {

struct FrameLine
{
    std::string text;
    int size;
    int x, y;
};

// What a battle frame writes: the status line, the help ticker and the players' panel, each as a black
// shadow plus the yellow text.
const std::vector<FrameLine> frameLines = {
    {"   Alt+F4：退出  敌方坦克数：20 (关卡：1)  难度：中", 12, 0, 0},
    {"方向键移动坦克，空格键开火；W、Z、A、S 移动二号坦克，Shift 开火。F1 开关帮助。", 12, 1024, 750},
    {"玩家1 ☆★ 生命：3  得分：12500", 12, 8, 700},
    {"玩家2 ☆★ 生命：2  得分：9800", 12, 520, 700},
};

void BM_FrameText(benchmark::State& state)
{
    auto text = MakeSdlText();
    std::vector<std::uint16_t> pixels(1024 * 768, 0);
    const PixelView view{pixels.data(), 1024, 768, 1024};
    int tickerX = 1024;
    for (auto _ : state)
    {
        for (const FrameLine& line : frameLines)
        {
            const int x = line.x == 1024 ? tickerX : line.x;
            text->SetFont("宋体", line.size);
            text->Draw(view, x + 1, line.y + 1, line.text, 0, 0, 0);
            text->Draw(view, x, line.y, line.text, 255, 255, 0);
        }
        tickerX = tickerX < -1200 ? 1024 : tickerX - 2;
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_FrameText)->Unit(benchmark::kMicrosecond);

// A string never seen before: the price of a cache miss (layout, rendering, mask extraction).
void BM_TextFirstDraw(benchmark::State& state)
{
    auto text = MakeSdlText();
    text->SetFont("宋体", 12);
    std::vector<std::uint16_t> pixels(1024 * 64, 0);
    const PixelView view{pixels.data(), 1024, 64, 1024};
    int n = 0;
    for (auto _ : state)
        text->Draw(view, 0, 0, "敌方坦克数：" + std::to_string(n++) + " (关卡：1)", 255, 255, 0);
}
BENCHMARK(BM_TextFirstDraw)->Unit(benchmark::kMicrosecond);

void BM_EncodeScreenshot(benchmark::State& state)
{
    std::vector<std::uint16_t> pixels(1024 * 768);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = std::uint16_t((i / 7) * 2654435761u >> 16);
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodePng(pixels.data(), 1024, 768, 1024));
}
BENCHMARK(BM_EncodeScreenshot)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorlanex
