#include "DemoInstruments.h"
#include "DemoSignal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace Tarnwick::Render;

namespace {

double rms (const std::vector<float>& channel, double fromSeconds, double toSeconds, int rate)
{
    const auto from = static_cast<std::size_t> (fromSeconds * rate);
    const auto to = std::min (channel.size (), static_cast<std::size_t> (toSeconds * rate));
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i)
        sum += static_cast<double> (channel[i]) * channel[i];
    return to > from ? std::sqrt (sum / static_cast<double> (to - from)) : 0.0;
}

// Lag with the strongest autocorrelation between minLag and maxLag.
std::size_t strongestPeriod (const std::vector<double>& signal, std::size_t minLag, std::size_t maxLag)
{
    std::size_t best = minLag;
    double bestScore = -1e300;
    for (std::size_t lag = minLag; lag <= maxLag; ++lag)
    {
        double score = 0.0;
        for (std::size_t i = 0; i + lag < signal.size (); ++i)
            score += signal[i] * signal[i + lag];
        if (score > bestScore)
        {
            bestScore = score;
            best = lag;
        }
    }
    return best;
}

TEST (DemoSignal, IsTheSameOnEveryCall)
{
    const AudioClip a = DemoSignal::generate (48000);
    const AudioClip b = DemoSignal::generate (48000);
    ASSERT_EQ (a.channelCount (), 2);
    ASSERT_EQ (a.frameCount (), b.frameCount ());
    for (int c = 0; c < 2; ++c)
        EXPECT_EQ (std::memcmp (a.channels[c].data (), b.channels[c].data (), a.frameCount () * sizeof (float)), 0);
}

TEST (DemoSignal, HasItsLengthAndPeakAtEveryRate)
{
    for (int rate : {8000, 44100, 48000, 96000, 192000})
    {
        SCOPED_TRACE (rate);
        const AudioClip clip = DemoSignal::generate (rate);
        EXPECT_EQ (clip.sampleRate, rate);
        EXPECT_EQ (clip.frameCount (), static_cast<std::size_t> (DemoSignal::kLengthSeconds * rate));
        EXPECT_TRUE (allSamplesFinite (clip));
        EXPECT_NEAR (peakLevel (clip), DemoSignal::kPeakLevel, 1e-6f);
    }
}

TEST (DemoSignal, EverySectionSounds)
{
    const AudioClip clip = DemoSignal::generate (48000);
    // Plucks, drums, the voice and the last pluck, on both sides.
    for (int c = 0; c < 2; ++c)
    {
        EXPECT_GT (rms (clip.channels[c], 0.0, 2.0, 48000), 0.02);
        EXPECT_GT (rms (clip.channels[c], 2.25, 4.25, 48000), 0.02);
        EXPECT_GT (rms (clip.channels[c], 4.6, 5.8, 48000), 0.02);
        EXPECT_GT (rms (clip.channels[c], 6.0, 6.4, 48000), 0.02);
    }
    // Gaps for the echoes to be heard in.
    EXPECT_EQ (rms (clip.channels[0], 5.85, 5.99, 48000), 0.0);
    // The plucks alternate sides: the first note is louder on the left.
    EXPECT_GT (rms (clip.channels[0], 0.0, 0.24, 48000), 1.5 * rms (clip.channels[1], 0.0, 0.24, 48000));
}

TEST (DemoInstruments, PluckedStringSoundsAtItsPitchAndDecays)
{
    NoiseSource noise;
    PluckString string (48000.0, 220.0, noise);
    const std::vector<double> sound = string.render (0.5);
    ASSERT_EQ (sound.size (), 24000u);
    EXPECT_EQ (strongestPeriod (std::vector<double> (sound.begin (), sound.begin () + 4800), 100, 400), 218u);
    double early = 0.0, late = 0.0;
    for (std::size_t i = 0; i < 2400; ++i)
    {
        early += sound[i] * sound[i];
        late += sound[19000 + i] * sound[19000 + i];
    }
    EXPECT_GT (early, 4.0 * late);
    EXPECT_EQ (sound.back (), 0.0);
}

TEST (DemoInstruments, NoiseIsDeterministicAndBounded)
{
    NoiseSource a, b;
    double sum = 0.0;
    for (int i = 0; i < 10000; ++i)
    {
        const double x = a.next ();
        ASSERT_EQ (x, b.next ());
        ASSERT_GE (x, -1.0);
        ASSERT_LT (x, 1.0);
        sum += x;
    }
    EXPECT_LT (std::fabs (sum / 10000.0), 0.05);
}

TEST (DemoInstruments, KickFallsInPitchAndSnareAndHatAreShort)
{
    NoiseSource noise;
    DrumKit drums (48000.0, noise);
    const std::vector<double> kick = drums.kick ();
    // Zero crossings in the first and last 50 ms: the sweep starts high and ends near 45 Hz.
    auto crossings = [&kick] (std::size_t from, std::size_t count) {
        int n = 0;
        for (std::size_t i = from + 1; i < from + count; ++i)
            n += (kick[i - 1] < 0.0) != (kick[i] < 0.0);
        return n;
    };
    EXPECT_GT (crossings (0, 2400), crossings (kick.size () - 2400, 2400));
    EXPECT_EQ (drums.snare ().size (), 12000u);
    EXPECT_EQ (drums.hiHat ().size (), 2880u);
}

TEST (DemoInstruments, VoiceHasAFirstFormantNearSevenHundredHertzOnTheOpenVowel)
{
    FormantVoice voice (48000.0);
    const std::vector<double> sound = voice.render (1.2);
    ASSERT_EQ (sound.size (), 57600u);
    // Energy of a single-frequency probe (Goertzel) in the first 100 ms, during /a/.
    auto energyAt = [&sound] (double hz) {
        const double w = 2.0 * 3.14159265358979323846 * hz / 48000.0;
        double s1 = 0.0, s2 = 0.0;
        for (std::size_t i = 0; i < 4800; ++i)
        {
            const double s = sound[i] + 2.0 * std::cos (w) * s1 - s2;
            s2 = s1;
            s1 = s;
        }
        return s1 * s1 + s2 * s2 - 2.0 * std::cos (w) * s1 * s2;
    };
    EXPECT_GT (energyAt (730.0), 10.0 * energyAt (1800.0));
    EXPECT_GT (energyAt (730.0), 10.0 * energyAt (5000.0));
}

} // namespace
