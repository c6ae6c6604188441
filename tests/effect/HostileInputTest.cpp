// The four edges that used to break the engine: delays longer than the line,
// cutoffs at or above half the sample rate, frames before (or without) a
// prepared line, and non-finite or out-of-range control values.

#include "effect/CStDelayFil.h"

#include "TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

using testsignal::bitsOf;

const int32_t kRates[] = {8000, 11025, 16000, 22050, 32000, 44100, 48000, 88200, 96000, 176400, 192000, 384000};

void expectPositionsInsideLine(const CFilteredDelay& voice)
{
    ASSERT_GE(voice.m_nReadPos, 0);
    ASSERT_LT(voice.m_nReadPos, voice.m_nLineLength);
    ASSERT_GE(voice.m_nWritePos, 0);
    ASSERT_LT(voice.m_nWritePos, voice.m_nLineLength);
    ASSERT_LE(voice.m_fDelaySamples, static_cast<float>(voice.m_nLineLength - 1));
}

class EveryRate : public ::testing::TestWithParam<int32_t>
{
};

// Delay mode at the top of every range: the right voice wants 2001 ms. The
// render runs past the point where the line wraps, with full feedback.
TEST_P(EveryRate, LongestDelayStaysInsideTheLine)
{
    const int32_t rate = GetParam();
    CStDelayFil effect;
    effect.setPlainValue(0, 2000.0);
    effect.setPlainValue(1, 100.0);
    effect.setPlainValue(4, 1.0);
    effect.setPlainValue(5, 1.0);
    effect.setPlainValue(6, 100.0);
    effect.setPlainValue(8, 1.0);
    effect.sampleRate = rate;
    ASSERT_TRUE(effect.prepareToProcess());
    ASSERT_GE(effect.m_RightVoice.m_fDelaySamples, static_cast<float>(rate) * 2.0f);

    const size_t frames = static_cast<size_t>(rate) * 2 + static_cast<size_t>(rate) / 50;
    testsignal::Noise noise(static_cast<uint32_t>(rate));
    long rightEcho = -1;
    for (size_t n = 0; n < frames; ++n)
    {
        float in[2] = {n == 0 ? 1.0f : 0.0f, n == 0 ? 1.0f : 0.0f};
        float out[2];
        effect.processFrame(in, out, 2, 2);
        if (n > 0 && rightEcho < 0 && out[1] != 0.0f)
            rightEcho = static_cast<long>(n);
        if (n % 4096 == 0)
        {
            expectPositionsInsideLine(effect.m_LeftVoice);
            expectPositionsInsideLine(effect.m_RightVoice);
        }
    }
    expectPositionsInsideLine(effect.m_LeftVoice);
    expectPositionsInsideLine(effect.m_RightVoice);
    // The right echo arrives 2001 ms later (to the sample the rate allows).
    EXPECT_EQ(rightEcho, static_cast<long>(effect.m_RightVoice.m_fDelaySamples));
    EXPECT_NEAR(static_cast<double>(rightEcho), rate * 2.001, 1.0);
}

// Full "Cutoff" and "Resonance" at every rate: the output stays finite and
// the filter stays a low-pass (unity at DC, nothing at half the rate).
TEST_P(EveryRate, TopCutoffStaysAStableLowPass)
{
    const int32_t rate = GetParam();
    CStDelayFil effect;
    effect.setPlainValue(0, 2000.0);
    effect.setPlainValue(1, 100.0);
    effect.setPlainValue(2, 16000.0);
    effect.setPlainValue(3, 10.0);
    effect.sampleRate = rate;
    ASSERT_TRUE(effect.prepareToProcess());

    const CBiQuad& f = effect.m_LeftVoice.m_InputFilter;
    // Poles inside the unit circle.
    EXPECT_LT(std::fabs(f.m_fB2), 1.0f);
    EXPECT_LT(std::fabs(f.m_fB1), 1.0f + f.m_fB2);
    const double dcGain = (f.m_fA0 + f.m_fA1 + f.m_fA2) / (1.0 + f.m_fB1 + f.m_fB2);
    EXPECT_NEAR(dcGain, 1.0, 1e-3);
    const double nyquistGain = (f.m_fA0 - f.m_fA1 + f.m_fA2) / (1.0 - f.m_fB1 + f.m_fB2);
    EXPECT_LT(std::fabs(nyquistGain), 1e-3);

    if (rate >= 44100)
    {
        // Above 32 kHz the specified coefficients are kept to the bit.
        const BiQuadCoefficients c = computeResonantLowPass(16000.0f, 10.0f, rate);
        EXPECT_EQ(bitsOf(f.m_fA0), bitsOf(c.a0));
        EXPECT_EQ(bitsOf(f.m_fA1), bitsOf(c.a1));
        EXPECT_EQ(bitsOf(f.m_fB1), bitsOf(c.b1));
        EXPECT_EQ(bitsOf(f.m_fB2), bitsOf(c.b2));
    }

    testsignal::Noise noise(1);
    for (int n = 0; n < rate / 2; ++n)
    {
        float in[2] = {noise.next(), noise.next()};
        float out[2];
        effect.processFrame(in, out, 2, 2);
        ASSERT_TRUE(std::isfinite(out[0]) && std::isfinite(out[1])) << "frame " << n;
        ASSERT_LT(std::fabs(out[0]), 100.0f);
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, EveryRate, ::testing::ValuesIn(kRates));

TEST(HostileInput, RecipeWouldFailAtLowRatesWithoutTheLimit)
{
    // The limit matters: unlimited, 16000 Hz at 32000 Hz is no low-pass at all.
    const BiQuadCoefficients c = computeResonantLowPass(16000.0f, 0.5f, 32000);
    const double nyquistGain = (c.a0 - c.a1 + c.a2) / (1.0 - c.b1 + c.b2);
    const double dcGain = (c.a0 + c.a1 + c.a2) / (1.0 + c.b1 + c.b2);
    EXPECT_FALSE(std::fabs(nyquistGain) < 1e-3 && std::fabs(dcGain - 1.0) < 1e-3);
}

TEST(HostileInput, FramesBeforePrepareOutputTheDryPart)
{
    CStDelayFil effect;
    effect.setPlainValue(0, 1500.0);
    effect.setPlainValue(1, 90.0);
    effect.setPlainValue(6, 30.0);
    effect.setNormalizedValue(7, 0.5, false);
    testsignal::Noise noise(2);
    for (int n = 0; n < 1000; ++n)
    {
        float in[2] = {noise.next(), noise.next()};
        float out[2];
        EXPECT_TRUE(effect.processFrame(in, out, 2, 2));
        ASSERT_EQ(bitsOf(out[0]), bitsOf((1.0f - 0.3f) * in[0] * 0.5f)) << n;
        ASSERT_EQ(bitsOf(out[1]), bitsOf((1.0f - 0.3f) * in[1] * 0.5f)) << n;
    }
    // The controls did not drift while there was no smoother.
    EXPECT_EQ(effect.m_fDelay_ms, 1500.0f);
    EXPECT_EQ(effect.m_fRatio, 1.0f);
    float out[2];
    EXPECT_FALSE(effect.processFrame(nullptr, out, 2, 2));
}

TEST(HostileInput, UnsupportedRatesLeaveNoLineAndStaySafe)
{
    const int32_t rates[] = {0, -44100, 999, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()};
    for (int32_t rate : rates)
    {
        CStDelayFil effect;
        effect.setPlainValue(0, 2000.0);
        effect.sampleRate = rate;
        EXPECT_FALSE(effect.prepareToProcess()) << rate;
        EXPECT_EQ(effect.m_LeftVoice.m_pDelayLine, nullptr);
        effect.setNormalizedValue(6, 0.3, false);  // a glide that must not run away
        for (int n = 0; n < 20000; ++n)
        {
            float in[2] = {0.5f, -0.5f};
            float out[2];
            effect.processFrame(in, out, 2, 2);
            ASSERT_TRUE(std::isfinite(out[0]) && std::isfinite(out[1])) << rate;
        }
        EXPECT_TRUE(std::isfinite(effect.m_fWetLevel_pct));
        EXPECT_GE(effect.m_fWetLevel_pct, 0.0f);
        EXPECT_LE(effect.m_fWetLevel_pct, 100.0f);
        // A good rate afterwards brings the effect back.
        effect.sampleRate = 44100;
        EXPECT_TRUE(effect.prepareToProcess());
        EXPECT_NE(effect.m_LeftVoice.m_pDelayLine, nullptr);
    }
}

TEST(HostileInput, NonFiniteValuesNeverReachTheAudioPath)
{
    CStDelayFil effect;
    effect.sampleRate = 44100;
    ASSERT_TRUE(effect.prepareToProcess());
    const double bad[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity()};
    for (int position = 0; position < 10; ++position)
    {
        const float before = effect.getPlainValue(position);
        const float targetBefore = effect.controlAt(position)->smoothingTarget;
        for (double value : bad)
        {
            effect.setNormalizedValue(position, value, false);
            effect.setNormalizedValue(position, value, true);
            effect.setPlainValue(position, value);
        }
        EXPECT_EQ(effect.getPlainValue(position), before) << position;
        EXPECT_EQ(effect.controlAt(position)->smoothingTarget, targetBefore) << position;
    }
    testsignal::Noise noise(4);
    for (int n = 0; n < 10000; ++n)
    {
        float in[2] = {noise.next(), noise.next()};
        float out[2];
        effect.processFrame(in, out, 2, 2);
        ASSERT_TRUE(std::isfinite(out[0]) && std::isfinite(out[1])) << n;
    }
}

TEST(HostileInput, OutOfRangeValuesAreClamped)
{
    CStDelayFil effect;
    effect.sampleRate = 48000;
    ASSERT_TRUE(effect.prepareToProcess());
    effect.setPlainValue(0, 1e12);
    EXPECT_EQ(effect.controlAt(0)->smoothingTarget, 2000.0f);
    effect.setPlainValue(4, -50.0);
    EXPECT_EQ(effect.controlAt(4)->smoothingTarget, 1.0f);
    effect.setNormalizedValue(5, 7.5, true);
    EXPECT_EQ(effect.m_fOffset, 1.0f);
    effect.setNormalizedValue(2, -3.0, true);
    EXPECT_EQ(effect.m_f_fc_Hz, 100.0f);
    effect.setPlainValue(8, 1e9);
    EXPECT_EQ(effect.m_uDState, 1u);
    effect.setNormalizedValue(9, -1e9, false);
    EXPECT_EQ(effect.m_uActive, 0u);
    effect.setPlainValue(1, 1e6);
    // Glide everything to its clamped target and keep the line indices inside.
    for (int n = 0; n < 48000 * 3; ++n)
    {
        float in[2] = {n == 0 ? 1.0f : 0.0f, 0.0f};
        float out[2];
        effect.processFrame(in, out, 2, 2);
        ASSERT_TRUE(std::isfinite(out[0]) && std::isfinite(out[1])) << n;
    }
    EXPECT_EQ(effect.m_fDelay_ms, 2000.0f);
    EXPECT_EQ(effect.m_fFeedback_pct, 100.0f);
    expectPositionsInsideLine(effect.m_RightVoice);
}

TEST(HostileInput, VoiceClampsDelaysWrittenDirectly)
{
    CFilteredDelay voice;
    voice.sampleRate = 8000;
    ASSERT_TRUE(voice.prepareToProcess());
    const float bad[] = {1e30f, -5.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()};
    for (float delay : bad)
    {
        voice.m_fDelay_ms = delay;
        voice.updateDelayVariables();
        expectPositionsInsideLine(voice);
        for (int n = 0; n < 100; ++n)
        {
            float x = 0.25f;
            float y = 0.0f;
            voice.processFrame(&x, &y, 1, 1);
            ASSERT_TRUE(std::isfinite(y));
        }
        expectPositionsInsideLine(voice);
    }
    voice.m_f_Q = 0.0f;  // would divide by zero in the recipe
    voice.m_f_fc_Hz = std::numeric_limits<float>::quiet_NaN();
    voice.onControlChange(0);
    EXPECT_TRUE(std::isfinite(voice.m_InputFilter.m_fA0));
    EXPECT_TRUE(std::isfinite(voice.m_InputFilter.m_fB1));
}

TEST(HostileInput, VoiceFrameWithoutLine)
{
    CFilteredDelay voice;
    float in[2] = {0.8f, 0.1f};
    float out[2] = {0.0f, 0.0f};
    EXPECT_TRUE(voice.processFrame(in, out, 2, 2));
    EXPECT_EQ(out[0], (1.0f - 0.5f) * 0.8f);
    EXPECT_EQ(out[1], 0.1f);
}

TEST(HostileInput, ManyPreparesAcrossRates)
{
    CStDelayFil effect;
    effect.setPlainValue(0, 2000.0);
    effect.setPlainValue(5, 1.0);
    effect.setPlainValue(8, 1.0);
    for (int round = 0; round < 3; ++round)
        for (int32_t rate : kRates)
        {
            effect.sampleRate = rate;
            ASSERT_TRUE(effect.prepareToProcess());
            for (int n = 0; n < 64; ++n)
            {
                float in[2] = {0.5f, 0.5f};
                float out[2];
                effect.processFrame(in, out, 2, 2);
            }
            expectPositionsInsideLine(effect.m_RightVoice);
        }
}

}  // namespace
