#include "Synth.h"

#include <algorithm>
#include <cmath>

namespace vorlanex::assetgen::synth {

std::uint32_t Rng::NextBits()
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

void LowPass::SetCutoff(double hz, double rate) { a = 1.0 - std::exp(-2.0 * kPi * hz / rate); }

void StateVariable::Set(double hz, double rate, double q)
{
    f = 2.0 * std::sin(kPi * std::min(hz, rate / 6.0) / rate);
    damp = 1.0 / std::max(q, 0.5);
}

double StateVariable::Process(double x)
{
    low += f * band;
    high = x - low - damp * band;
    band += f * high;
    return band;
}

double MidiHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

double Saw(double phase) { return 2.0 * (phase - std::floor(phase)) - 1.0; }

double Square(double phase, double duty) { return phase - std::floor(phase) < duty ? 1.0 : -1.0; }

double AttackDecay(double t, double attack, double decay)
{
    if (t < 0.0)
        return 0.0;
    if (t < attack)
        return t / attack;
    return std::exp(-(t - attack) / decay);
}

void Normalize(std::vector<double>& samples, double peak)
{
    double loudest = 0.0;
    for (double s : samples)
        loudest = std::max(loudest, std::abs(s));
    if (loudest <= 0.0)
        return;
    for (double& s : samples)
        s *= peak / loudest;
}

void FadeEnds(std::vector<double>& samples, int channels, int rate, double inMs, double outMs)
{
    const std::size_t frames = samples.size() / std::size_t(channels);
    const std::size_t fadeIn = std::min(frames, std::size_t(inMs * rate / 1000.0));
    const std::size_t fadeOut = std::min(frames, std::size_t(outMs * rate / 1000.0));
    for (std::size_t i = 0; i < frames; ++i)
    {
        double gain = 1.0;
        if (i < fadeIn)
            gain = double(i) / double(fadeIn);
        if (frames - 1 - i < fadeOut)
            gain = std::min(gain, double(frames - 1 - i) / double(fadeOut));
        for (int c = 0; c < channels; ++c)
            samples[i * std::size_t(channels) + std::size_t(c)] *= gain;
    }
}

std::vector<std::uint8_t> ToPcm(const std::vector<double>& samples, int bits)
{
    std::vector<std::uint8_t> out;
    out.reserve(samples.size() * std::size_t(bits / 8));
    for (double s : samples)
    {
        const double x = std::clamp(s, -1.0, 1.0);
        if (bits == 8)
            out.push_back(std::uint8_t(std::lround(x * 127.0) + 128));
        else
        {
            const auto v = std::uint16_t(std::int16_t(std::lround(x * 32767.0)));
            out.push_back(std::uint8_t(v & 0xFF));
            out.push_back(std::uint8_t(v >> 8));
        }
    }
    return out;
}

}  // namespace vorlanex::assetgen::synth
