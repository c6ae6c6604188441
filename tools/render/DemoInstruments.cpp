#include "DemoInstruments.h"

#include <algorithm>
#include <cmath>

namespace Tarnwick {
namespace Render {

namespace {
constexpr double kPi = 3.14159265358979323846;

std::size_t framesFor (double seconds, double sampleRate)
{
    return static_cast<std::size_t> (std::max (0.0, seconds * sampleRate));
}
} // namespace

double NoiseSource::next ()
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<double> (state) / 2147483648.0 - 1.0;
}

PluckString::PluckString (double sampleRate, double frequencyHz, NoiseSource& noise)
: sampleRate (sampleRate)
{
    const auto period = static_cast<std::size_t> (std::max (2.0, std::round (sampleRate / frequencyHz)));
    line.resize (period);
    for (auto& sample : line)
        sample = noise.next ();
}

std::vector<double> PluckString::render (double seconds, double decay)
{
    std::vector<double> out (framesFor (seconds, sampleRate));
    const std::size_t period = line.size ();
    std::size_t position = 0;
    for (auto& sample : out)
    {
        const std::size_t next = (position + 1) % period;
        sample = line[position];
        line[position] = decay * 0.5 * (line[position] + line[next]);
        position = next;
    }
    // Short fade at the end so that a cut string does not click.
    const std::size_t fade = std::min (out.size (), framesFor (0.01, sampleRate));
    for (std::size_t i = 0; i < fade; ++i)
        out[out.size () - 1 - i] *= static_cast<double> (i) / static_cast<double> (fade);
    return out;
}

std::vector<double> DrumKit::kick ()
{
    std::vector<double> out (framesFor (0.45, sampleRate));
    double phase = 0.0;
    for (std::size_t i = 0; i < out.size (); ++i)
    {
        const double t = static_cast<double> (i) / sampleRate;
        const double frequency = 45.0 + 95.0 * std::exp (-t / 0.03);
        phase += 2.0 * kPi * frequency / sampleRate;
        out[i] = std::sin (phase) * std::exp (-t / 0.12);
    }
    return out;
}

std::vector<double> DrumKit::snare ()
{
    std::vector<double> out (framesFor (0.25, sampleRate));
    for (std::size_t i = 0; i < out.size (); ++i)
    {
        const double t = static_cast<double> (i) / sampleRate;
        const double tone = std::sin (2.0 * kPi * 185.0 * t) * std::exp (-t / 0.04);
        out[i] = 0.6 * noise.next () * std::exp (-t / 0.06) + 0.5 * tone;
    }
    return out;
}

std::vector<double> DrumKit::hiHat ()
{
    std::vector<double> out (framesFor (0.06, sampleRate));
    double previous = 0.0;
    for (std::size_t i = 0; i < out.size (); ++i)
    {
        const double t = static_cast<double> (i) / sampleRate;
        const double white = noise.next ();
        out[i] = 0.5 * (white - previous) * std::exp (-t / 0.015);
        previous = white;
    }
    return out;
}

std::vector<double> FormantVoice::render (double seconds)
{
    struct Vowel
    {
        double f1, f2, f3;
    };
    static const Vowel vowels[] = {{730.0, 1090.0, 2440.0}, {270.0, 2290.0, 3010.0}, {300.0, 870.0, 2240.0},
                                   {730.0, 1090.0, 2440.0}};
    const double bandwidths[3] = {90.0, 110.0, 150.0};
    const double gains[3] = {1.0, 0.5, 0.25};

    std::vector<double> out (framesFor (seconds, sampleRate));
    double state[3][2] = {};
    double glottalPhase = 0.0;
    for (std::size_t i = 0; i < out.size (); ++i)
    {
        const double t = static_cast<double> (i) / sampleRate;
        const double progress = seconds > 0.0 ? t / seconds : 0.0;

        // Vowel trajectory: piecewise-linear glide through the vowel table.
        const double position = progress * 3.0;
        const int index = std::min (2, static_cast<int> (position));
        const double blend = position - index;
        const Vowel& from = vowels[index];
        const Vowel& to = vowels[index + 1];
        const double formants[3] = {from.f1 + (to.f1 - from.f1) * blend, from.f2 + (to.f2 - from.f2) * blend,
                                    from.f3 + (to.f3 - from.f3) * blend};

        // Glottal source: a falling-then-rising pitch, one sharp pulse per period.
        const double pitch = 120.0 + 25.0 * std::sin (2.0 * kPi * 0.8 * t);
        glottalPhase += pitch / sampleRate;
        double source = 0.0;
        if (glottalPhase >= 1.0)
        {
            glottalPhase -= 1.0;
            source = 1.0;
        }

        double sample = 0.0;
        for (int f = 0; f < 3; ++f)
        {
            // Two-pole resonator with unity-ish gain at its centre.
            const double r = std::exp (-kPi * bandwidths[f] / sampleRate);
            const double theta = 2.0 * kPi * formants[f] / sampleRate;
            const double y = (1.0 - r) * source + 2.0 * r * std::cos (theta) * state[f][0] - r * r * state[f][1];
            state[f][1] = state[f][0];
            state[f][0] = y;
            sample += gains[f] * y;
        }

        // Syllables at about four per second, with soft attack and release of the whole burst.
        const double syllable = 0.55 + 0.45 * std::sin (2.0 * kPi * 4.0 * t - kPi / 2.0);
        const double edges = std::min (1.0, std::min (t / 0.03, (seconds - t) / 0.05));
        out[i] = sample * syllable * std::max (0.0, edges);
    }
    return out;
}

} // namespace Render
} // namespace Tarnwick
