// The eight built-in sound effects, each at exactly the format and length of the sound catalogue.

#include <cmath>
#include <functional>
#include <string>

#include "../Assetgen.h"
#include "Synth.h"
#include "framework/BuiltinWaves.h"
#include "framework/Wave.h"

namespace vorlanex::assetgen {

namespace {

using namespace synth;

struct Shape
{
    std::size_t frames;
    int rate;
    int channels;
    double Seconds() const { return double(frames) / rate; }
};

// A rushing whoosh: noise through a band sweeping up and back down, travelling from left to right.
std::vector<double> SceneMov(const Shape& s)
{
    std::vector<double> out(s.frames * 2);
    Rng rng(11);
    StateVariable band;
    for (std::size_t i = 0; i < s.frames; ++i)
    {
        const double p = double(i) / double(s.frames);
        band.Set(300.0 + 3800.0 * std::sin(kPi * p), s.rate, 2.5);
        const double v = band.Process(rng.Noise()) * std::sin(kPi * p);
        out[2 * i] = v * (1.0 - 0.7 * p);
        out[2 * i + 1] = v * (0.3 + 0.7 * p);
    }
    return out;
}

// A boom: a falling low thump under a rumble of darkened noise.
std::vector<double> Boom(const Shape& s, std::uint32_t seed, double decay, double thumpHz)
{
    std::vector<double> out(s.frames);
    Rng rng(seed);
    LowPass rumble;
    double phase = 0.0;
    for (std::size_t i = 0; i < s.frames; ++i)
    {
        const double t = double(i) / s.rate;
        rumble.SetCutoff(200.0 + 2200.0 * std::exp(-t / 0.05), s.rate);
        phase += (thumpHz * (0.5 + 0.5 * std::exp(-t / 0.12))) / s.rate;
        const double thump = std::sin(2.0 * kPi * phase) * AttackDecay(t, 0.004, decay * 0.6);
        out[i] = 1.6 * rumble.Process(rng.Noise()) * AttackDecay(t, 0.003, decay) + 0.8 * thump;
    }
    return out;
}

// A sharp metallic hit: inharmonic ringing partials after a bright click, slightly wider on the right.
std::vector<double> Kan(const Shape& s)
{
    static constexpr double partials[][2] = {{1180.0, 1.0}, {1873.0, 0.7}, {2641.0, 0.55}, {3427.0, 0.4}, {4390.0, 0.25}};
    std::vector<double> out(s.frames * 2);
    Rng rng(23);
    for (std::size_t i = 0; i < s.frames; ++i)
    {
        const double t = double(i) / s.rate;
        double ring = 0.0;
        for (const auto& [hz, gain] : partials)
            ring += gain * std::sin(2.0 * kPi * hz * t) * std::exp(-t * (9.0 + hz / 400.0));
        const double click = rng.Noise() * std::exp(-t / 0.004);
        out[2 * i] = ring + 0.8 * click;
        out[2 * i + 1] = 0.85 * ring + 0.8 * click + 0.25 * std::sin(2.0 * kPi * 2011.0 * t) * std::exp(-t * 14.0);
    }
    return out;
}

// A rising chime: four bell notes of a major arpeggio, each ringing on under the next.
std::vector<double> Chime(const Shape& s)
{
    static constexpr double notes[] = {84, 88, 91, 96};   // C6 E6 G6 C7
    std::vector<double> out(s.frames);
    for (int n = 0; n < 4; ++n)
    {
        const double start = 0.11 * n, hz = MidiHz(notes[n]);
        for (std::size_t i = std::size_t(start * s.rate); i < s.frames; ++i)
        {
            const double t = double(i) / s.rate - start;
            const double env = AttackDecay(t, 0.003, 0.35);
            out[i] += env * (std::sin(2.0 * kPi * hz * t) + 0.3 * std::sin(2.0 * kPi * hz * 2.76 * t) * std::exp(-t * 6));
        }
    }
    return out;
}

// A droning propeller: a buzzing engine chopped by the blades, swelling as the plane passes over.
std::vector<double> Propeller(const Shape& s)
{
    std::vector<double> out(s.frames);
    Rng rng(37);
    LowPass engine, air;
    engine.SetCutoff(700.0, s.rate);
    air.SetCutoff(900.0, s.rate);
    double phase = 0.0, blade = 0.0;
    for (std::size_t i = 0; i < s.frames; ++i)
    {
        const double p = double(i) / double(s.frames);
        const double pitch = 1.0 + 0.06 * std::cos(kPi * p);   // a little higher coming, lower going
        phase += 88.0 * pitch / s.rate;
        blade += 26.0 * pitch / s.rate;
        const double chop = 0.55 + 0.45 * std::sin(2.0 * kPi * blade);
        const double body = engine.Process(Saw(phase) + 0.5 * Saw(phase * 2.01));
        const double swell = std::pow(std::sin(kPi * p), 1.5);
        out[i] = swell * (chop * body + 0.35 * air.Process(rng.Noise()));
    }
    return out;
}

// A short engine hum: a low pulse with a rumbling edge that fades away.
std::vector<double> Hum(const Shape& s)
{
    std::vector<double> out(s.frames);
    Rng rng(41);
    LowPass tone, grit;
    tone.SetCutoff(400.0, s.rate);
    grit.SetCutoff(250.0, s.rate);
    double phase = 0.0;
    for (std::size_t i = 0; i < s.frames; ++i)
    {
        const double t = double(i) / s.rate;
        phase += (55.0 + 6.0 * std::sin(2.0 * kPi * 7.0 * t)) / s.rate;
        const double env = std::min(1.0, t / 0.03) * std::exp(-t / 0.25);
        out[i] = env * (tone.Process(Square(phase, 0.3)) + 0.6 * grit.Process(rng.Noise()));
    }
    return out;
}

// A sparkle: bright pings scattered thickly at first, thinning out, over a fading shimmer.
std::vector<double> Sparkle(const Shape& s)
{
    std::vector<double> out(s.frames);
    Rng rng(53);
    const double length = s.Seconds();
    for (double start = 0.0; start < length - 0.15; start += 0.015 + 0.1 * (start / length) * rng.Uniform())
    {
        const double hz = 2000.0 + 5000.0 * rng.Uniform();
        const double gain = 0.5 + 0.5 * rng.Uniform();
        for (std::size_t i = std::size_t(start * s.rate); i < s.frames; ++i)
        {
            const double t = double(i) / s.rate - start;
            if (t > 0.2)
                break;
            out[i] += gain * std::sin(2.0 * kPi * hz * t) * AttackDecay(t, 0.001, 0.03);
        }
    }
    for (std::size_t i = 0; i < s.frames; ++i)
    {
        const double t = double(i) / s.rate;
        out[i] += 0.3 * std::sin(2.0 * kPi * (1500.0 + 900.0 * t) * t) * std::exp(-t / 0.4);
    }
    return out;
}

std::vector<double> Make(const std::string& name, const Shape& s)
{
    if (name == "SceneMov")
        return SceneMov(s);
    if (name == "Explosion")
        return Boom(s, 61, 0.32, 70.0);
    if (name == "kan!!")
        return Kan(s);
    if (name == "吃宝")
        return Chime(s);
    if (name == "飞机声")
        return Propeller(s);
    if (name == "Hum")
        return Hum(s);
    if (name == "短爆炸声0")
        return Boom(s, 67, 0.09, 95.0);
    if (name == "GemBorn")
        return Sparkle(s);
    throw std::runtime_error("no sound is made for '" + name + "'");
}

void BuildBuiltinWaves(const Context&, std::vector<AssetEntry>& archive)
{
    for (const WaveDef& def : kBuiltinWaveDefs)
    {
        const int frameBytes = def.channels * def.bits / 8;
        const Shape shape{std::size_t(def.dataBytes / frameBytes), def.rate, def.channels};
        std::vector<double> samples = Make(def.name, shape);
        Normalize(samples, 0.9);
        FadeEnds(samples, def.channels, def.rate, 1.5, 12.0);
        const auto pcm = ToPcm(samples, def.bits);
        archive.push_back({AssetKind::Wave, def.name, MakeWaveImage({def.rate, def.channels, def.bits}, pcm)});
    }
}

const RegisterStep step{40, "builtin-waves", BuildBuiltinWaves};

}  // namespace

}  // namespace vorlanex::assetgen
