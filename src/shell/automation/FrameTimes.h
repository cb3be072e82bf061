#pragma once
// How long each frame of a run took to make (the frame handler, drawing and presenting included), for
// `--frame-times FILE`: a summary with the percentiles, a histogram and every frame's own time. Each frame is
// timed twice, by the wall clock and by the processor time of the game's thread: on a busy machine the first
// also counts the time other programs had the processor.

#include <cstdint>
#include <string>
#include <vector>

namespace vorlanex {

struct FrameTimeSummary
{
    std::size_t frames = 0;
    double median = 0, p99 = 0, max = 0;   // microseconds
    std::size_t slowest = 0;               // frame number (from 1) of the maximum
    // Frames by time: bucket i counts those under HistogramBounds[i] ms and at or over the bound before it;
    // the last bucket counts the rest.
    std::vector<std::size_t> histogram;
};

struct FrameTime
{
    double wall = 0, processor = 0;   // microseconds
};

class FrameTimes
{
public:
    static const std::vector<double>& HistogramBounds();

    // The processor time the calling thread has used so far, in microseconds.
    static double ThreadMicroseconds();

    void Add(FrameTime time) { times.push_back(time); }
    FrameTimeSummary Summary(double FrameTime::*clock) const;
    // Throws std::runtime_error naming the file when it cannot be written.
    void Write(const std::string& path) const;

private:
    std::vector<FrameTime> times;
};

}  // namespace vorlanex
