#include "DemoSignal.h"

#include "DemoInstruments.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Tarnwick {
namespace Render {

namespace {

// Pan from -1 (left) to 1 (right), constant power.
void mixIn (std::vector<double>& left, std::vector<double>& right, const std::vector<double>& sound,
            double startSeconds, double sampleRate, double gain, double pan)
{
    const double angle = (pan + 1.0) * 0.25 * 3.14159265358979323846;
    const double leftGain = gain * std::cos (angle);
    const double rightGain = gain * std::sin (angle);
    const auto start = static_cast<std::size_t> (startSeconds * sampleRate);
    for (std::size_t i = 0; i < sound.size () && start + i < left.size (); ++i)
    {
        left[start + i] += leftGain * sound[i];
        right[start + i] += rightGain * sound[i];
    }
}

} // namespace

AudioClip DemoSignal::generate (int sampleRate)
{
    const double rate = sampleRate;
    const auto frames = static_cast<std::size_t> (kLengthSeconds * rate);
    std::vector<double> left (frames, 0.0);
    std::vector<double> right (frames, 0.0);
    NoiseSource noise;

    // Bar 1 (0-2 s): an A minor arpeggio of plucks, alternating sides, at 120 beats per minute.
    const double arpeggio[] = {220.0, 261.63, 329.63, 440.0, 329.63, 261.63, 196.0, 246.94};
    for (int note = 0; note < 8; ++note)
    {
        PluckString string (rate, arpeggio[note], noise);
        mixIn (left, right, string.render (0.6), note * 0.25, rate, 0.8, note % 2 ? 0.5 : -0.5);
    }

    // Bar 2 (2.25-4.25 s): kick on 1 and 3, snare on 2 and 4, closed hats on the eighths.
    DrumKit drums (rate, noise);
    const double barStart = 2.25;
    for (int beat = 0; beat < 4; ++beat)
    {
        const double at = barStart + beat * 0.5;
        if (beat % 2 == 0)
            mixIn (left, right, drums.kick (), at, rate, 1.0, 0.0);
        else
            mixIn (left, right, drums.snare (), at, rate, 0.8, 0.1);
        mixIn (left, right, drums.hiHat (), at, rate, 0.5, 0.4);
        mixIn (left, right, drums.hiHat (), at + 0.25, rate, 0.35, 0.4);
    }

    // 4.6-5.8 s: a speech-like formant burst in the centre.
    FormantVoice voice (rate);
    mixIn (left, right, voice.render (1.2), 4.6, rate, 4.0, 0.0);

    // 6.0 s: one last low pluck to ring into the tail.
    PluckString last (rate, 110.0, noise);
    mixIn (left, right, last.render (0.5), 6.0, rate, 0.9, 0.0);

    double peak = 0.0;
    for (std::size_t i = 0; i < frames; ++i)
        peak = std::max (peak, std::max (std::fabs (left[i]), std::fabs (right[i])));
    const double scale = peak > 0.0 ? kPeakLevel / peak : 0.0;

    AudioClip clip (sampleRate, 2, frames);
    for (std::size_t i = 0; i < frames; ++i)
    {
        clip.channels[0][i] = static_cast<float> (left[i] * scale);
        clip.channels[1][i] = static_cast<float> (right[i] * scale);
    }
    return clip;
}

} // namespace Render
} // namespace Tarnwick
