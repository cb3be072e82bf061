// The background music: a 48-second piece in A minor (drums, bass, pad and lead) written into the game
// folder as "背景音乐.wav". Every note is added into a circular buffer, so a note still ringing at the end
// continues at the start and the loop joins without a click.

#include <array>
#include <cmath>
#include <vector>

#include "../Assetgen.h"
#include "Synth.h"
#include "framework/Wave.h"

namespace vorlanex::assetgen {

namespace {

using namespace synth;

constexpr int kRate = 44100;
constexpr double kBeat = 0.5;   // 120 beats a minute
constexpr int kBars = 24;

class Song
{
public:
    Song() : left(Frames()), right(Frames()) {}
    static std::size_t Frames() { return std::size_t(kBars * 4 * kBeat * kRate); }
    static std::size_t FrameOf(double beat) { return std::size_t(std::llround(beat * kBeat * kRate)); }
    void Add(std::size_t frame, double l, double r)
    {
        left[frame % left.size()] += l;
        right[frame % right.size()] += r;
    }
    std::vector<double> Interleaved() const;

private:
    std::vector<double> left, right;
};

std::vector<double> Song::Interleaved() const
{
    std::vector<double> out(left.size() * 2);
    for (std::size_t i = 0; i < left.size(); ++i)
    {
        out[2 * i] = left[i];
        out[2 * i + 1] = right[i];
    }
    return out;
}

struct Chord
{
    int root;    // bass note
    std::array<int, 3> tones;
};

// One chord a bar: intro, theme, a second theme that turns to the dominant, and the theme again.
std::array<Chord, kBars> Progression()
{
    const Chord am{45, {57, 60, 64}}, f{41, {57, 60, 65}}, c{48, {55, 60, 64}}, g{43, {55, 59, 62}},
        dm{50, {57, 62, 65}}, e{40, {56, 59, 64}};
    return {am, f, c, g, am, f, c, g, am, f, g, e, dm, am, f, e, dm, am, g, e, am, f, c, g};
}

struct Note
{
    int pitch;   // 0 = rest
    double beats;
};

// The lead line from bar 4 on, bar by bar (each bar holds four beats).
std::vector<Note> Melody()
{
    const std::vector<Note> theme = {
        {76, 1}, {69, .5}, {72, .5}, {76, 1}, {74, .5}, {72, .5},   {69, 1.5}, {72, .5}, {77, 1}, {76, 1},
        {79, 1}, {76, .5}, {72, .5}, {67, 1}, {72, 1},              {74, 1.5}, {71, .5}, {67, 1}, {0, 1},
        {76, 1}, {81, 1}, {79, .5}, {76, .5}, {72, 1},              {77, 1}, {76, .5}, {74, .5}, {72, 1}, {69, 1},
        {71, 1}, {74, 1}, {79, 1}, {77, 1},                         {76, 2}, {68, 1}, {71, 1}};
    const std::vector<Note> second = {
        {77, 1.5}, {76, .5}, {74, 1}, {69, 1},   {72, 1}, {76, 1}, {81, 2},
        {81, 1}, {79, .5}, {77, .5}, {72, 1}, {77, 1},   {76, 2}, {74, .5}, {71, .5}, {68, 1},
        {74, 1}, {77, 1}, {81, 1.5}, {79, .5},   {76, 1.5}, {72, .5}, {69, 2},
        {71, 1}, {74, 1}, {79, 1}, {83, 1},      {80, 2}, {76, 1}, {0, 1}};
    std::vector<Note> line = theme;
    line.insert(line.end(), second.begin(), second.end());
    line.insert(line.end(), theme.begin(), theme.begin() + 15);   // the theme's first three bars
    line.insert(line.end(), {{74, 1.5}, {71, .5}, {67, 1}, {71, 1}});   // and a turn back to the start
    return line;
}

void LeadNote(Song& song, double beat, const Note& note, double gain, double pan)
{
    const double hz = MidiHz(note.pitch), length = note.beats * kBeat, release = 0.08;
    LowPass tone;
    tone.SetCutoff(3200.0, kRate);
    const std::size_t start = Song::FrameOf(beat), frames = std::size_t((length + release) * kRate);
    double phase = 0.0;
    for (std::size_t i = 0; i < frames; ++i)
    {
        const double t = double(i) / kRate;
        const double vibrato = t > 0.15 ? 0.12 * std::sin(2.0 * kPi * 5.5 * t) : 0.0;
        phase += hz * std::pow(2.0, vibrato / 12.0) / kRate;
        double env = std::min(1.0, t / 0.012) * (0.7 + 0.3 * std::exp(-t / 0.1));
        if (t > length)
            env *= 1.0 - (t - length) / release;
        const double v = gain * env * tone.Process(0.6 * Square(phase, 0.3) + 0.5 * std::sin(2.0 * kPi * phase));
        song.Add(start + i, v * (1.0 - pan), v * (1.0 + pan));
    }
}

void Lead(Song& song)
{
    double beat = 16.0;
    for (const Note& note : Melody())
    {
        if (note.pitch)
        {
            LeadNote(song, beat, note, 0.2, 0.15);
            LeadNote(song, beat + 0.75, note, 0.07, -0.5);   // an echo on the other side
        }
        beat += note.beats;
    }
}

void BassNote(Song& song, double beat, int pitch)
{
    const double hz = MidiHz(pitch), length = 0.42 * kBeat;
    LowPass tone;
    const std::size_t start = Song::FrameOf(beat), frames = std::size_t((length + 0.03) * kRate);
    double phase = 0.0;
    for (std::size_t i = 0; i < frames; ++i)
    {
        const double t = double(i) / kRate;
        tone.SetCutoff(300.0 + 900.0 * std::exp(-t / 0.05), kRate);
        phase += hz / kRate;
        double env = std::min(1.0, t / 0.005);
        if (t > length)
            env *= 1.0 - (t - length) / 0.03;
        const double v = 0.32 * env * tone.Process(Saw(phase));
        song.Add(start + i, v, v);
    }
}

void Bass(Song& song, const std::array<Chord, kBars>& chords)
{
    static constexpr int pattern[8] = {0, 0, 12, 0, 7, 0, 12, 7};
    for (int bar = 0; bar < kBars; ++bar)
        for (int step = 0; step < 8; ++step)
            BassNote(song, bar * 4 + step * 0.5, chords[std::size_t(bar)].root + pattern[step]);
}

// Two detuned saws a tone, slow to swell, the chord's tail overlapping the next bar.
void Pad(Song& song, const std::array<Chord, kBars>& chords)
{
    const double length = 4 * kBeat, release = 0.35;
    for (int bar = 0; bar < kBars; ++bar)
        for (int tone : chords[std::size_t(bar)].tones)
            for (int side = 0; side < 2; ++side)
            {
                const double hz = MidiHz(tone + (side ? 0.08 : -0.08));
                LowPass filter;
                filter.SetCutoff(1100.0, kRate);
                const std::size_t start = Song::FrameOf(bar * 4.0), frames = std::size_t((length + release) * kRate);
                double phase = side * 0.37;
                for (std::size_t i = 0; i < frames; ++i)
                {
                    const double t = double(i) / kRate;
                    phase += hz / kRate;
                    double env = std::min(1.0, t / 0.3);
                    if (t > length)
                        env *= 1.0 - (t - length) / release;
                    const double v = 0.045 * env * filter.Process(Saw(phase));
                    song.Add(start + i, side ? 0.4 * v : v, side ? v : 0.4 * v);
                }
            }
}

void Kick(Song& song, double beat)
{
    const std::size_t start = Song::FrameOf(beat);
    double phase = 0.0;
    for (std::size_t i = 0; i < std::size_t(0.35 * kRate); ++i)
    {
        const double t = double(i) / kRate;
        phase += (45.0 + 110.0 * std::exp(-t / 0.03)) / kRate;
        const double v = 0.55 * std::sin(2.0 * kPi * phase) * AttackDecay(t, 0.002, 0.12) * (1.0 - t / 0.35);
        song.Add(start + i, v, v);
    }
}

void Snare(Song& song, double beat, Rng& rng)
{
    const std::size_t start = Song::FrameOf(beat);
    StateVariable band;
    band.Set(2200.0, kRate, 0.8);
    for (std::size_t i = 0; i < std::size_t(0.3 * kRate); ++i)
    {
        const double t = double(i) / kRate;
        const double noise = band.Process(rng.Noise()) * AttackDecay(t, 0.001, 0.07);
        const double body = std::sin(2.0 * kPi * 185.0 * t) * AttackDecay(t, 0.001, 0.04);
        const double v = 0.3 * (noise + 0.6 * body) * (1.0 - t / 0.3);
        song.Add(start + i, v * 0.9, v);
    }
}

void Hat(Song& song, double beat, Rng& rng, double gain, double decay)
{
    const std::size_t start = Song::FrameOf(beat);
    const double length = decay * 5.0;
    LowPass low;
    low.SetCutoff(6000.0, kRate);
    for (std::size_t i = 0; i < std::size_t(length * kRate); ++i)
    {
        const double t = double(i) / kRate;
        const double x = rng.Noise();
        const double v = gain * (x - low.Process(x)) * AttackDecay(t, 0.0005, decay) * (1.0 - t / length);
        song.Add(start + i, v, v * 0.7);
    }
}

void Drums(Song& song)
{
    Rng rng(71);
    for (int bar = 0; bar < kBars; ++bar)
    {
        const double b = bar * 4.0;
        Kick(song, b);
        Kick(song, b + 2);
        if (bar % 4 == 3)
            Kick(song, b + 3.5);   // a push into the next phrase
        if (bar >= 2)
        {
            Snare(song, b + 1, rng);
            Snare(song, b + 3, rng);
        }
        for (int eighth = 0; eighth < 8; ++eighth)
        {
            const bool open = bar % 4 == 3 && eighth == 7;
            Hat(song, b + eighth * 0.5, rng, eighth % 2 ? 0.16 : 0.1, open ? 0.12 : 0.025);
        }
    }
}

void BuildMusic(const Context& ctx, std::vector<AssetEntry>&)
{
    Song song;
    const auto chords = Progression();
    Drums(song);
    Bass(song, chords);
    Pad(song, chords);
    Lead(song);
    std::vector<double> samples = song.Interleaved();
    Normalize(samples, 0.89);
    WriteFileIfChanged(ctx.outDir / "背景音乐.wav", MakeWaveImage({kRate, 2, 16}, ToPcm(samples, 16)));
}

const RegisterStep step{41, "music", BuildMusic};

}  // namespace

}  // namespace vorlanex::assetgen
