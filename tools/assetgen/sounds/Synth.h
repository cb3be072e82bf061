#pragma once
// Small synthesis kit for the generated sounds: a repeatable noise source, filters, envelopes and the
// conversion of finished float samples (-1..1, interleaved) into PCM bytes.

#include <cstdint>
#include <vector>

namespace vorlanex::assetgen::synth {

constexpr double kPi = 3.14159265358979323846;

// Same seed, same noise: the generated files must not change from build to build.
class Rng
{
public:
    explicit Rng(std::uint32_t seed) : state(seed ? seed : 1u) {}
    std::uint32_t NextBits();
    double Uniform() { return (NextBits() >> 8) * (1.0 / 16777216.0); }   // 0 .. 1
    double Noise() { return Uniform() * 2.0 - 1.0; }                       // -1 .. 1

private:
    std::uint32_t state;
};

class LowPass
{
public:
    void SetCutoff(double hz, double rate);
    double Process(double x) { return y += a * (x - y); }

private:
    double a = 1.0, y = 0.0;
};

// State-variable filter; Process returns the band-pass output, LowOut/HighOut the other two.
class StateVariable
{
public:
    void Set(double hz, double rate, double q);
    double Process(double x);
    double LowOut() const { return low; }
    double HighOut() const { return high; }

private:
    double f = 0.1, damp = 1.0, low = 0.0, band = 0.0, high = 0.0;
};

double MidiHz(double note);
// A naive but bright band-limited-enough sawtooth from a phase in turns.
double Saw(double phase);
double Square(double phase, double duty = 0.5);
// Attack-decay shape: linear rise over `attack` seconds, then exponential fall with time constant `decay`.
double AttackDecay(double t, double attack, double decay);

// Scales so that the loudest sample reaches `peak`.
void Normalize(std::vector<double>& samples, double peak);
// Short linear fades at both ends, so no sound starts or ends with a click.
void FadeEnds(std::vector<double>& samples, int channels, int rate, double inMs, double outMs);
// 8-bit unsigned or 16-bit signed little-endian PCM.
std::vector<std::uint8_t> ToPcm(const std::vector<double>& samples, int bits);

}  // namespace vorlanex::assetgen::synth
