#include "shell/automation/FrameTimes.h"

#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace vorlanex {

namespace {

// The nearest-rank percentile: the smallest time that at least `percent` of the frames do not exceed.
double Percentile(const std::vector<double>& sorted, double percent)
{
    const auto rank = std::size_t(std::ceil(percent / 100.0 * double(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

}  // namespace

const std::vector<double>& FrameTimes::HistogramBounds()
{
    static const std::vector<double> bounds = {0.25, 0.5, 0.75, 1, 1.5, 2, 3, 5, 10, 33};
    return bounds;
}

double FrameTimes::ThreadMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
}

FrameTimeSummary FrameTimes::Summary(double FrameTime::*clock) const
{
    FrameTimeSummary s;
    s.frames = times.size();
    s.histogram.assign(HistogramBounds().size() + 1, 0);
    if (times.empty())
        return s;
    std::vector<double> sorted;
    sorted.reserve(times.size());
    for (const FrameTime& t : times)
        sorted.push_back(t.*clock);
    const auto& bounds = HistogramBounds();
    for (std::size_t i = 0; i < sorted.size(); ++i)
    {
        ++s.histogram[std::size_t(std::upper_bound(bounds.begin(), bounds.end(), sorted[i] / 1000.0) - bounds.begin())];
        if (sorted[i] > s.max || i == 0)
        {
            s.max = sorted[i];
            s.slowest = i + 1;
        }
    }
    std::sort(sorted.begin(), sorted.end());
    s.median = Percentile(sorted, 50);
    s.p99 = Percentile(sorted, 99);
    return s;
}

namespace {

void WriteSummary(std::ostream& out, const char* clock, const FrameTimeSummary& s)
{
    char line[160];
    std::snprintf(line, sizeof line, "%s median %.1f p99 %.1f max %.1f at frame %zu\n", clock, s.median, s.p99,
                  s.max, s.slowest);
    out << line << clock << " histogram, frames under each bound in ms:";
    const auto& bounds = FrameTimes::HistogramBounds();
    for (std::size_t i = 0; i < s.histogram.size(); ++i)
    {
        std::snprintf(line, sizeof line, i < bounds.size() ? " <%g %zu" : " >=%g %zu",
                      i < bounds.size() ? bounds[i] : bounds.back(), s.histogram[i]);
        out << line;
    }
    out << '\n';
}

}  // namespace

void FrameTimes::Write(const std::string& path) const
{
    std::ofstream out(path, std::ios::trunc);
    if (!out)
        throw std::runtime_error("Cannot write the frame times to '" + path + "'");
    out << "# " << times.size() << " frames, in microseconds of the wall clock and of the processor\n";
    WriteSummary(out, "wall", Summary(&FrameTime::wall));
    WriteSummary(out, "processor", Summary(&FrameTime::processor));
    out << "# frame wall processor\n";
    char line[96];
    for (std::size_t i = 0; i < times.size(); ++i)
    {
        std::snprintf(line, sizeof line, "%zu %.1f %.1f\n", i + 1, times[i].wall, times[i].processor);
        out << line;
    }
    if (!out.flush())
        throw std::runtime_error("Cannot write the frame times to '" + path + "'");
}

}  // namespace vorlanex
