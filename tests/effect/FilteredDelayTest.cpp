#include "effect/CFilteredDelay.h"

#include "TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

using testsignal::bitsOf;

// Prepares a voice the way its owner does: rate and members first.
void prepareVoice(CFilteredDelay& voice, int32_t rate, float delayMs, float feedbackPct, float wetPct,
                  float cutoff = 16000.0f, float q = 0.5f)
{
    voice.sampleRate = rate;
    voice.m_fDelay_ms = delayMs;
    voice.m_fFeedback_pct = feedbackPct;
    voice.m_fWetLevel_pct = wetPct;
    voice.m_f_fc_Hz = cutoff;
    voice.m_f_Q = q;
    ASSERT_TRUE(voice.prepareToProcess());
}

float run(CFilteredDelay& voice, float x)
{
    float out = 0.0f;
    voice.processFrame(&x, &out, 1, 1);
    return out;
}

TEST(FilteredDelay, ConstructionAndControls)
{
    CFilteredDelay voice;
    EXPECT_STREQ(voice.effectName, "FilteredDelay");
    EXPECT_TRUE(voice.hasEditor);
    EXPECT_EQ(voice.m_pDelayLine, nullptr);
    EXPECT_EQ(voice.m_nLineLength, 0);
    EXPECT_EQ(voice.m_fWetGain, 0.5f);
    EXPECT_EQ(voice.m_f_fc_Hz, 16000.0f);
    EXPECT_EQ(voice.m_f_Q, 0.5f);
    EXPECT_EQ(voice.m_fWetLevel_pct, 50.0f);
    EXPECT_STREQ(voice.presetNames[0], "Factory Preset");
    EXPECT_STREQ(voice.presetNames[1], "");
    EXPECT_EQ(voice.controlIndexTable, nullptr);
    EXPECT_EQ(voice.guiExchangeTable, nullptr);

    ASSERT_EQ(voice.controlCount(), 5);
    const char* names[] = {"Cutoff", "Resonance", "Delay", "Feedback", "Wet/Dry"};
    const char* units[] = {"Hz", "%", "mSec", "%", "%"};
    const float mins[] = {10.0f, 0.5f, 0.0f, 0.0f, 0.0f};
    const float maxs[] = {16000.0f, 5.0f, 2000.0f, 100.0f, 100.0f};
    float* variables[] = {&voice.m_f_fc_Hz, &voice.m_f_Q, &voice.m_fDelay_ms, &voice.m_fFeedback_pct,
                          &voice.m_fWetLevel_pct};
    for (int i = 0; i < 5; ++i)
    {
        const ControlDescriptor* d = voice.controlAt(i);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->controlId, static_cast<uint32_t>(i));
        EXPECT_STREQ(d->controlName, names[i]);
        EXPECT_EQ(std::strlen(d->unitsText), 64u);
        EXPECT_EQ(std::strncmp(d->unitsText, units[i], std::strlen(units[i])), 0);
        EXPECT_EQ(d->unitsText[63], ' ');
        EXPECT_EQ(d->minValue, mins[i]);
        EXPECT_EQ(d->maxValue, maxs[i]);
        EXPECT_EQ(d->floatVariable, variables[i]);
        EXPECT_EQ(d->guiIndex, -1);
        EXPECT_FALSE(d->smoothingEnabled);
        EXPECT_STREQ(d->enumString, "SEL1,SEL2,SEL3");
        EXPECT_EQ(d->presetValues[0], static_cast<double>(d->defaultValue));
        EXPECT_EQ(d->presetValues[1], 0.0);
    }
    // Without an index table the position-based operations do nothing.
    voice.setPlainValue(2, 500.0);
    voice.setNormalizedValue(2, 0.5, true);
    EXPECT_EQ(voice.m_fDelay_ms, 0.0f);
}

TEST(FilteredDelay, PrepareSetsUpLineAndPositions)
{
    CFilteredDelay voice;
    prepareVoice(voice, 44100, 10.0f, 25.0f, 40.0f);
    ASSERT_NE(voice.m_pDelayLine, nullptr);
    EXPECT_GE(voice.m_nLineLength, 2 * 44100);
    EXPECT_EQ(voice.m_nWritePos, 0);
    EXPECT_EQ(voice.m_fDelaySamples, static_cast<float>(44100.0f * 0.001 * 10.0));
    EXPECT_EQ(voice.m_nReadPos, voice.m_nLineLength - 441);
    EXPECT_EQ(voice.m_fFeedbackGain, static_cast<float>(25.0 * 0.01));
    EXPECT_EQ(voice.m_fWetGain, static_cast<float>(40.0 * 0.01));
    for (int i = 0; i < voice.m_nLineLength; ++i)
        ASSERT_EQ(voice.m_pDelayLine[i], 0.0f);
    // The positions keep their distance while running.
    for (int i = 0; i < 1000; ++i)
        run(voice, 0.1f);
    EXPECT_EQ((voice.m_nWritePos - voice.m_nReadPos + voice.m_nLineLength) % voice.m_nLineLength, 441);
}

TEST(FilteredDelay, ZeroDelayUsesFilteredInputOfTheSameFrame)
{
    CFilteredDelay voice;
    prepareVoice(voice, 44100, 0.0f, 30.0f, 25.0f);
    CBiQuad mirror;
    mirror.clearHistory();
    mirror.setCoefficients(computeResonantLowPass(16000.0f, 0.5f, 44100));
    const float wet = voice.m_fWetGain;
    const float fb = voice.m_fFeedbackGain;
    const float inputs[] = {1.0f, -0.5f, 0.25f, 0.0f, 0.75f};
    for (float x : inputs)
    {
        const int written = voice.m_nWritePos;
        const float y = mirror.processSample(x);
        const float out = run(voice, x);
        EXPECT_EQ(bitsOf(out), bitsOf((1.0f - wet) * x + wet * y));
        EXPECT_EQ(bitsOf(voice.m_pDelayLine[written]), bitsOf(fb * y + y));
    }
}

TEST(FilteredDelay, HalfSampleDelayInterpolatesWithUnfilteredInput)
{
    CFilteredDelay voice;
    // Half a sample at 48000 Hz: 1/96 ms.
    prepareVoice(voice, 48000, static_cast<float>(1.0 / 96.0), 0.0f, 100.0f);
    ASSERT_EQ(voice.m_fDelaySamples, 0.5f);
    float previousLine = 0.0f;
    const float inputs[] = {1.0f, 0.5f, -0.25f, 0.125f};
    for (float x : inputs)
    {
        const int previous = (voice.m_nWritePos + voice.m_nLineLength - 1) % voice.m_nLineLength;
        previousLine = voice.m_pDelayLine[previous];
        const float out = run(voice, x);
        EXPECT_EQ(bitsOf(out), bitsOf(previousLine * 0.5f + 0.5f * x));
    }
}

TEST(FilteredDelay, WholeSampleDelayReadsTheLineSample)
{
    CFilteredDelay voice;
    prepareVoice(voice, 44100, 1000.0f, 0.0f, 100.0f);
    EXPECT_EQ(voice.m_fDelaySamples, 44100.0f);
    std::vector<float> written;
    for (int n = 0; n < 44100 + 50; ++n)
    {
        const float x = n < 50 ? 0.1f * static_cast<float>(n % 7) - 0.3f : 0.0f;
        const int position = voice.m_nWritePos;
        const float out = run(voice, x);
        written.push_back(voice.m_pDelayLine[position]);
        if (n >= 44100)
            ASSERT_EQ(bitsOf(out), bitsOf(written[n - 44100])) << n;
        else
            ASSERT_EQ(out, 0.0f) << n;
    }
}

TEST(FilteredDelay, TwoSecondDelayReturnsTheSampleTwoRatesEarlier)
{
    CFilteredDelay voice;
    prepareVoice(voice, 8000, 2000.0f, 0.0f, 100.0f);
    ASSERT_EQ(voice.m_fDelaySamples, 16000.0f);
    const float first = voice.m_InputFilter.m_fA0 * 1.0f;
    for (int n = 0; n < 16001; ++n)
    {
        const float out = run(voice, n == 0 ? 1.0f : 0.0f);
        if (n < 16000)
            ASSERT_EQ(out, 0.0f) << n;
        else
            EXPECT_EQ(bitsOf(out), bitsOf(first));
    }
}

TEST(FilteredDelay, WetZeroPassesInputAndKeepsRunning)
{
    CFilteredDelay voice;
    prepareVoice(voice, 44100, 5.0f, 50.0f, 0.0f);
    testsignal::Noise noise(5);
    for (int n = 0; n < 1000; ++n)
    {
        const float x = noise.next();
        ASSERT_EQ(bitsOf(run(voice, x)), bitsOf(x));
    }
    EXPECT_NE(voice.m_InputFilter.m_fY1, 0.0f);
    EXPECT_NE(voice.m_pDelayLine[10], 0.0f);
}

TEST(FilteredDelay, FeedbackSetsEchoDecay)
{
    // Delay 1 ms at 48000 Hz (48 samples); cutoff low enough that the filter
    // smears each echo, so compare echo energies.
    auto echoPeaks = [](float feedbackPct) {
        CFilteredDelay voice;
        prepareVoice(voice, 48000, 1.0f, feedbackPct, 100.0f);
        std::vector<float> peaks(4, 0.0f);
        for (int n = 0; n < 48 * 4; ++n)
        {
            const float out = run(voice, n == 0 ? 1.0f : 0.0f);
            peaks[n / 48] = std::max(peaks[n / 48], std::fabs(out));
        }
        return peaks;
    };
    const std::vector<float> full = echoPeaks(100.0f);
    EXPECT_FLOAT_EQ(full[1], full[2]);  // no decay
    EXPECT_FLOAT_EQ(full[2], full[3]);
    const std::vector<float> none = echoPeaks(0.0f);
    EXPECT_GT(none[1], 0.4f);  // one echo, then nothing
    EXPECT_LT(none[2], 1e-12f);
    const std::vector<float> half = echoPeaks(50.0f);
    EXPECT_NEAR(half[2], 0.5f * half[1], 1e-6f);
}

TEST(FilteredDelay, NegativeFeedbackAlternatesEchoSign)
{
    CFilteredDelay voice;
    prepareVoice(voice, 48000, 1.0f, -50.0f, 100.0f);
    float echo[4] = {0, 0, 0, 0};
    for (int n = 0; n < 48 * 4; ++n)
    {
        const float out = run(voice, n == 0 ? 1.0f : 0.0f);
        if (n % 48 == 1)
            echo[n / 48] = out;  // the filtered impulse peaks one sample in
    }
    EXPECT_GT(echo[1], 0.0f);
    EXPECT_LT(echo[2], 0.0f);
    EXPECT_GT(echo[3], 0.0f);
}

TEST(FilteredDelay, ChannelHandling)
{
    CFilteredDelay voice;
    prepareVoice(voice, 44100, 0.0f, 0.0f, 50.0f);
    float in[2] = {0.5f, 0.25f};
    float out[2] = {0.0f, 0.0f};
    voice.processFrame(in, out, 1, 2);
    EXPECT_EQ(out[1], out[0]);
    voice.processFrame(in, out, 2, 2);
    EXPECT_EQ(out[1], 0.25f);
    out[1] = 7.0f;
    voice.processFrame(in, out, 1, 1);
    EXPECT_EQ(out[1], 7.0f);
}

TEST(FilteredDelay, ControlChangeKeepsHistoryAndMovesReadPosition)
{
    CFilteredDelay voice;
    prepareVoice(voice, 44100, 10.0f, 20.0f, 50.0f);
    for (int n = 0; n < 777; ++n)
        run(voice, 0.3f);
    const float y1 = voice.m_InputFilter.m_fY1;
    const int write = voice.m_nWritePos;
    const float lineSample = voice.m_pDelayLine[100];
    voice.m_f_fc_Hz = 2000.0f;
    voice.m_f_Q = 4.0f;
    voice.m_fDelay_ms = 3.0f;
    voice.onControlChange(0);
    EXPECT_EQ(voice.m_InputFilter.m_fY1, y1);
    EXPECT_EQ(voice.m_nWritePos, write);
    EXPECT_EQ(voice.m_pDelayLine[100], lineSample);
    const BiQuadCoefficients c = computeResonantLowPass(2000.0f, 4.0f, 44100);
    EXPECT_EQ(bitsOf(voice.m_InputFilter.m_fA0), bitsOf(c.a0));
    EXPECT_EQ(bitsOf(voice.m_InputFilter.m_fB2), bitsOf(c.b2));
    EXPECT_EQ(voice.m_nReadPos, write - static_cast<int>(voice.m_fDelaySamples));

    // computeFilterCoefficients does not store its arguments.
    voice.computeFilterCoefficients(500.0f, 1.0f);
    EXPECT_EQ(voice.m_f_fc_Hz, 2000.0f);
    const BiQuadCoefficients d = computeResonantLowPass(500.0f, 1.0f, 44100);
    EXPECT_EQ(bitsOf(voice.m_InputFilter.m_fB1), bitsOf(d.b1));
}

TEST(FilteredDelay, PreparingAgainClearsEverything)
{
    CFilteredDelay voice;
    prepareVoice(voice, 44100, 10.0f, 90.0f, 50.0f);
    for (int n = 0; n < 5000; ++n)
        run(voice, n % 3 == 0 ? 1.0f : -0.5f);
    voice.sampleRate = 96000;
    ASSERT_TRUE(voice.prepareToProcess());
    EXPECT_GE(voice.m_nLineLength, 2 * 96000);
    EXPECT_EQ(voice.m_nWritePos, 0);
    EXPECT_EQ(voice.m_InputFilter.m_fY1, 0.0f);
    EXPECT_EQ(voice.m_InputFilter.m_fX2, 0.0f);
    for (int i = 0; i < voice.m_nLineLength; ++i)
        ASSERT_EQ(voice.m_pDelayLine[i], 0.0f);
    EXPECT_EQ(voice.m_fDelaySamples, static_cast<float>(96000.0f * 0.001 * 10.0));
    // Same cutoff and Q, new rate: the coefficients follow the rate.
    const BiQuadCoefficients c = computeResonantLowPass(16000.0f, 0.5f, 96000);
    EXPECT_EQ(bitsOf(voice.m_InputFilter.m_fA0), bitsOf(c.a0));
    EXPECT_EQ(bitsOf(voice.m_InputFilter.m_fB1), bitsOf(c.b1));
}

}  // namespace
