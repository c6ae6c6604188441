#include "effect/CStDelayFil.h"

#include "TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

using testsignal::bitsOf;

TEST(StereoDelayFilter, ControlTable)
{
    CStDelayFil effect;
    ASSERT_EQ(effect.controlCount(), 12);
    ASSERT_EQ(effect.controlIndexCount, 12);
    EXPECT_EQ(effect.firstReleaseControlCount, 10);

    struct Row
    {
        uint32_t id;
        const char* name;
        const char* units;
        const char* variable;
        float minValue;
        float maxValue;
        float defaultValue;
    };
    const Row rows[] = {
        {0, "Delay", "mSec", "m_fDelay_ms", 0.0f, 2000.0f, 0.0f},
        {1, "Feedback", "%", "m_fFeedback_pct", 0.0f, 100.0f, 0.0f},
        {2, "Cutoff", "Hz", "m_f_fc_Hz", 100.0f, 16000.0f, 16000.0f},
        {3, "Resonance", "", "m_f_Q", 0.5f, 10.0f, 0.5f},
        {4, "Delay Ratio", "Divide", "m_fRatio", 1.0f, 20.0f, 1.0f},
        {5, "Offset", "", "m_fOffset", 0.0f, 1.0f, 0.0f},
        {6, "Wet/Dry", "%", "m_fWetLevel_pct", 0.0f, 100.0f, 50.0f},
        {7, "Volume", "", "m_fVolume", 0.0f, 1.0f, 0.7f},
        {41, "Delay State", "", "m_uDState", 0.0f, 1.0f, 0.0f},
        {42, "Active", "", "m_uActive", 0.0f, 1.0f, 0.0f},
        {43, "Sync", "", "m_uSync", 0.0f, 1.0f, 0.0f},
        {44, "Note", "", "m_uNote", 0.0f, 20.0f, 12.0f},
    };
    const char* const choices[] = {"Comb,Delay", "On,Off", "Off,On",
                                   "1/64,1/32T,1/64D,1/32,1/16T,1/32D,1/16,1/8T,1/16D,1/8,1/4T,1/8D,1/4,1/2T,1/4D,"
                                   "1/2,1/1T,1/2D,1/1,1/1D,2/1"};
    float* floats[] = {&effect.m_fDelay_ms, &effect.m_fFeedback_pct, &effect.m_f_fc_Hz,      &effect.m_f_Q,
                       &effect.m_fRatio,    &effect.m_fOffset,       &effect.m_fWetLevel_pct, &effect.m_fVolume};
    for (int position = 0; position < 12; ++position)
    {
        const ControlDescriptor* d = effect.controlAt(position);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(effect.controlIndexTable[position], d);
        const Row& row = rows[position];
        EXPECT_EQ(d->controlId, row.id);
        EXPECT_STREQ(d->controlName, row.name);
        EXPECT_STREQ(d->unitsText, row.units);
        EXPECT_STREQ(d->variableName, row.variable);
        EXPECT_EQ(d->minValue, row.minValue);
        EXPECT_EQ(d->maxValue, row.maxValue);
        EXPECT_EQ(d->defaultValue, row.defaultValue);
        EXPECT_EQ(d->guiIndex, position);
        EXPECT_EQ(d->displayPrecision, 2u);
        EXPECT_FALSE(d->logTaper);
        EXPECT_FALSE(d->voltOctaveTaper);
        EXPECT_FALSE(d->midiControlEnabled);
        EXPECT_EQ(d->midiControlNumber, 3u);
        EXPECT_EQ(d->midiStatus, 176u);
        EXPECT_EQ(d->smoothingTimeMs, 100.0f);
        EXPECT_EQ(effect.guiExchangeTable[position].position, position);
        EXPECT_EQ(effect.guiExchangeTable[position].controlId, static_cast<int32_t>(row.id));
        if (position < 8)
        {
            EXPECT_EQ(d->controlType, 100u);
            EXPECT_EQ(d->dataType, 1u);
            EXPECT_TRUE(d->smoothingEnabled);
            EXPECT_STREQ(d->enumString, "SEL1,SEL2,SEL3");
            EXPECT_EQ(d->floatVariable, floats[position]);
            EXPECT_EQ(*floats[position], row.defaultValue);
        }
        else
        {
            EXPECT_EQ(d->controlType, 102u);
            EXPECT_EQ(d->dataType, 3u);
            EXPECT_FALSE(d->smoothingEnabled);
            EXPECT_STREQ(d->enumString, choices[position - 8]);
        }
    }
    EXPECT_EQ(bitsOf(effect.m_fVolume), bitsOf(0.699999988f));
    EXPECT_EQ(bitsOf(effect.controlAt(7)->defaultValue), bitsOf(0.699999988f));
}

TEST(StereoDelayFilter, EffectSettings)
{
    CStDelayFil effect;
    EXPECT_STREQ(effect.effectName, "Tarnwick");
    EXPECT_TRUE(effect.hasEditor);
    EXPECT_FALSE(effect.noAudioInput);
    EXPECT_FALSE(effect.wantsBuffers);
    EXPECT_EQ(effect.options.knobMode, 2);
    EXPECT_FALSE(effect.options.wantsAuxInput);
    EXPECT_FALSE(effect.options.wantsSampleAccurateAutomation);
    EXPECT_EQ(effect.options.updateGranularity, 1);
    EXPECT_EQ(effect.options.latencySamples, 0.0f);
    EXPECT_EQ(effect.joystickX.controlId, 32773u);
    EXPECT_EQ(effect.joystickY.controlId, 32774u);
    EXPECT_EQ(effect.joystickX.guiIndex, 12);
    EXPECT_EQ(effect.joystickY.guiIndex, 13);
    EXPECT_EQ(effect.joystickX.joystickOrientation, 1);
    EXPECT_FALSE(effect.joystickX.smoothingEnabled);
    EXPECT_EQ(effect.guiExchangeTable[12].controlId, 32773);
    EXPECT_EQ(effect.guiExchangeTable[13].controlId, 32774);
    for (int slot = 0; slot < kPresetSlotCount; ++slot)
    {
        ASSERT_NE(effect.presetJoystickPrograms[slot], nullptr);
        EXPECT_EQ(effect.presetJoystickPrograms[slot]->stepCount, 0);
    }
    EffectMessage message;
    std::memset(&message, 0, sizeof message);
    message.entryCount = 14;
    effect.handleMessage(kMessageCollectMeters, &message);
    EXPECT_EQ(message.returnedGuiTable, effect.guiExchangeTable);
    // Voices start from the controls.
    EXPECT_EQ(effect.m_LeftVoice.m_f_fc_Hz, 16000.0f);
    EXPECT_EQ(effect.m_LeftVoice.m_fFeedback_pct, -5.0f);
}

TEST(StereoDelayFilter, PresetsAsWritten)
{
    CStDelayFil effect;
    const char* names[] = {"Factory Preset", "Heavy",         "Hollow Ring", "Banking", "Beats as Bass", "Crude Verb",
                           "Some Space",     "Padding for Pads", "Good on Atmos", "Pipes", "Automate Me"};
    for (int slot = 0; slot < 11; ++slot)
        EXPECT_STREQ(effect.presetNames[slot], names[slot]);
    for (int slot = 11; slot < 16; ++slot)
    {
        ASSERT_NE(effect.presetNames[slot], nullptr);
        EXPECT_STREQ(effect.presetNames[slot], "");
        for (int position = 0; position < 10; ++position)
            EXPECT_EQ(effect.controlAt(position)->presetValues[slot], 0.0);
    }
    // Spot checks of the float64 values exactly as written.
    EXPECT_EQ(effect.controlAt(0)->presetValues[1], 139.999985);
    EXPECT_EQ(effect.controlAt(1)->presetValues[1], 58.499996);
    EXPECT_EQ(effect.controlAt(2)->presetValues[3], 5108.500488);
    EXPECT_EQ(effect.controlAt(2)->presetValues[4], 1133.50061);
    EXPECT_EQ(effect.controlAt(3)->presetValues[5], 2.352499);
    EXPECT_EQ(effect.controlAt(4)->presetValues[6], 19.240002);
    EXPECT_EQ(effect.controlAt(0)->presetValues[7], 1300.000122);
    EXPECT_EQ(effect.controlAt(4)->presetValues[8], 2.330002);
    EXPECT_EQ(effect.controlAt(5)->presetValues[9], 0.15);
    EXPECT_EQ(effect.controlAt(6)->presetValues[5], 27.000002);
    EXPECT_EQ(effect.controlAt(7)->presetValues[0], 0.7);
    EXPECT_EQ(effect.controlAt(7)->presetValues[10], 0.52);
    EXPECT_EQ(effect.controlAt(8)->presetValues[5], 1.0);
    EXPECT_EQ(effect.controlAt(8)->presetValues[10], 0.0);
    EXPECT_EQ(effect.controlAt(3)->presetValues[10], 5.915);
    // Slot 0 equals the defaults.
    for (int position = 0; position < 10; ++position)
        EXPECT_EQ(static_cast<float>(effect.controlAt(position)->presetValues[0]),
                  effect.controlAt(position)->defaultValue);
}

// Writes preset slot p into the controls the way the adapter does.
void selectPreset(CStDelayFil& effect, int slot)
{
    for (int position = 0; position < effect.controlCount(); ++position)
    {
        const ControlDescriptor* d = effect.controlAt(position);
        const float f = static_cast<float>((d->presetValues[slot] - d->minValue) / (d->maxValue - d->minValue));
        effect.setNormalizedValue(position, f, false);
    }
}

TEST(StereoDelayFilter, AutomateMeReturnsToComb)
{
    CStDelayFil effect;
    selectPreset(effect, 5);  // Crude Verb: delay mode
    EXPECT_EQ(effect.m_uDState, 1u);
    selectPreset(effect, 10);  // Automate Me: comb mode again
    EXPECT_EQ(effect.m_uDState, 0u);
}

TEST(StereoDelayFilter, DelaysAndFeedbackReachingTheVoices)
{
    CStDelayFil effect;
    effect.m_uDState = 0;
    effect.m_fDelay_ms = 2000.0f;
    effect.m_fRatio = 1.0f;
    effect.m_fOffset = 0.5f;
    effect.m_fFeedback_pct = 0.0f;
    effect.pushControlsToVoices(true);
    EXPECT_EQ(effect.m_LeftVoice.m_fDelay_ms, 2000.0f * 0.01f);
    EXPECT_EQ(effect.m_RightVoice.m_fDelay_ms, 0.5f + 2000.0f * 0.01f);
    EXPECT_EQ(effect.m_LeftVoice.m_fFeedback_pct, -5.0f);
    EXPECT_EQ(effect.m_RightVoice.m_fFeedback_pct, -5.0f);

    effect.m_uDState = 1;
    effect.m_fDelay_ms = 1000.0f;
    effect.m_fRatio = 4.0f;
    effect.m_fOffset = 1.0f;
    effect.m_fFeedback_pct = 30.0f;
    effect.m_fWetLevel_pct = 70.0f;
    effect.m_f_fc_Hz = 3000.0f;
    effect.m_f_Q = 2.0f;
    effect.pushControlsToVoices(true);
    EXPECT_EQ(effect.m_LeftVoice.m_fDelay_ms, 250.0f);
    EXPECT_EQ(effect.m_RightVoice.m_fDelay_ms, 251.0f);
    EXPECT_EQ(effect.m_RightVoice.m_fFeedback_pct, 30.0f);
    EXPECT_EQ(effect.m_RightVoice.m_fWetLevel_pct, 70.0f);
    EXPECT_EQ(effect.m_LeftVoice.m_f_fc_Hz, 3000.0f);
    EXPECT_EQ(effect.m_LeftVoice.m_f_Q, 2.0f);
    EXPECT_EQ(effect.m_LeftVoice.m_fDelaySamples, static_cast<float>(44100.0f * 0.001 * 250.0));
    const BiQuadCoefficients c = computeResonantLowPass(3000.0f, 2.0f, 44100);
    EXPECT_EQ(bitsOf(effect.m_RightVoice.m_InputFilter.m_fA0), bitsOf(c.a0));
}

// Renders an impulse on both channels and returns the first frame after 0
// at which each channel is non-zero.
void firstEchoes(CStDelayFil& effect, size_t frames, long& left, long& right)
{
    left = -1;
    right = -1;
    for (size_t n = 0; n < frames; ++n)
    {
        float in[2] = {n == 0 ? 1.0f : 0.0f, n == 0 ? 1.0f : 0.0f};
        float out[2];
        effect.processFrame(in, out, 2, 2);
        if (n > 0 && left < 0 && out[0] != 0.0f)
            left = static_cast<long>(n);
        if (n > 0 && right < 0 && out[1] != 0.0f)
            right = static_cast<long>(n);
    }
}

TEST(StereoDelayFilter, DelayModeEchoAfterOneSecondAt48k)
{
    CStDelayFil effect;
    effect.setPlainValue(0, 1000.0);
    effect.setPlainValue(6, 100.0);
    effect.setPlainValue(8, 1.0);
    effect.sampleRate = 48000;
    ASSERT_TRUE(effect.prepareToProcess());
    EXPECT_EQ(effect.m_LeftVoice.m_fDelaySamples, 48000.0f);
    long left = 0;
    long right = 0;
    firstEchoes(effect, 48100, left, right);
    EXPECT_EQ(left, 48000);
    EXPECT_EQ(right, 48000);
}

TEST(StereoDelayFilter, CombModeEchoAfterTwentyMilliseconds)
{
    CStDelayFil effect;
    effect.setPlainValue(0, 2000.0);
    effect.setPlainValue(6, 100.0);
    effect.setPlainValue(5, 0.5);
    effect.sampleRate = 48000;
    ASSERT_TRUE(effect.prepareToProcess());
    long left = 0;
    long right = 0;
    firstEchoes(effect, 2000, left, right);
    EXPECT_EQ(left, 960);        // 20 ms
    EXPECT_EQ(right, 960 + 24);  // plus the 0.5 ms offset
}

TEST(StereoDelayFilter, CombFeedbackZeroAlternatesSign)
{
    CStDelayFil effect;
    effect.setPlainValue(0, 100.0);  // 1 ms in comb mode = 48 samples
    effect.setPlainValue(6, 100.0);
    effect.setPlainValue(7, 1.0);
    effect.sampleRate = 48000;
    ASSERT_TRUE(effect.prepareToProcess());
    std::vector<float> echoes;
    for (int n = 0; n < 48 * 4; ++n)
    {
        float in[2] = {n == 0 ? 1.0f : 0.0f, 0.0f};
        float out[2];
        effect.processFrame(in, out, 2, 2);
        if (n % 48 == 1 && n > 48)
            echoes.push_back(out[0]);
    }
    ASSERT_EQ(echoes.size(), 3u);
    EXPECT_GT(echoes[0], 0.0f);
    EXPECT_LT(echoes[1], 0.0f);
    EXPECT_GT(echoes[2], 0.0f);
    EXPECT_NEAR(echoes[1], -0.05f * echoes[0], 1e-7f);
    EXPECT_LT(std::fabs(echoes[2]), std::fabs(echoes[1]));
}

TEST(StereoDelayFilter, ActiveOffPassesInputTimesVolumeAndLeavesVoicesAlone)
{
    CStDelayFil effect;
    effect.setPlainValue(0, 500.0);
    effect.setPlainValue(1, 60.0);
    effect.setPlainValue(7, 0.25);
    effect.sampleRate = 44100;
    ASSERT_TRUE(effect.prepareToProcess());
    testsignal::Noise noise(3);
    for (int n = 0; n < 2000; ++n)
    {
        float in[2] = {noise.next(), noise.next()};
        float out[2];
        effect.processFrame(in, out, 2, 2);
    }
    const std::vector<float> leftLine(effect.m_LeftVoice.m_pDelayLine,
                                      effect.m_LeftVoice.m_pDelayLine + effect.m_LeftVoice.m_nLineLength);
    const int leftWrite = effect.m_LeftVoice.m_nWritePos;
    const int rightWrite = effect.m_RightVoice.m_nWritePos;
    const float filterState = effect.m_LeftVoice.m_InputFilter.m_fY1;

    effect.setNormalizedValue(9, 1.0, false);
    EXPECT_EQ(effect.m_uActive, 1u);
    for (int n = 0; n < 3000; ++n)
    {
        float in[2] = {noise.next(), noise.next()};
        float out[2] = {0.0f, 0.0f};
        effect.processFrame(in, out, 2, 2);
        ASSERT_EQ(bitsOf(out[0]), bitsOf(in[0] * 0.25f));
        ASSERT_EQ(bitsOf(out[1]), bitsOf(in[1] * 0.25f));
    }
    EXPECT_EQ(effect.m_LeftVoice.m_nWritePos, leftWrite);
    EXPECT_EQ(effect.m_RightVoice.m_nWritePos, rightWrite);
    EXPECT_EQ(effect.m_LeftVoice.m_InputFilter.m_fY1, filterState);
    EXPECT_EQ(std::memcmp(leftLine.data(), effect.m_LeftVoice.m_pDelayLine, leftLine.size() * sizeof(float)), 0);
}

TEST(StereoDelayFilter, MonoRunsOnlyTheLeftVoice)
{
    CStDelayFil effect;
    effect.setPlainValue(0, 300.0);
    effect.sampleRate = 44100;
    ASSERT_TRUE(effect.prepareToProcess());
    testsignal::Noise noise(8);
    for (int n = 0; n < 500; ++n)
    {
        float in[2] = {noise.next(), 0.0f};
        float out[2] = {0.0f, 0.0f};
        effect.processFrame(in, out, 1, 1);
        ASSERT_TRUE(std::isfinite(out[0]));
    }
    EXPECT_EQ(effect.m_LeftVoice.m_nWritePos, 500);
    EXPECT_EQ(effect.m_RightVoice.m_nWritePos, 0);
    EXPECT_EQ(effect.m_RightVoice.m_InputFilter.m_fX1, 0.0f);
}

TEST(StereoDelayFilter, SmoothedKnobRecooksVoicesWhileGliding)
{
    CStDelayFil effect;
    effect.setPlainValue(8, 1.0);
    effect.sampleRate = 44100;
    ASSERT_TRUE(effect.prepareToProcess());
    effect.setNormalizedValue(0, 0.5, false);  // Delay toward 1000 ms
    float in[2] = {0.0f, 0.0f};
    float out[2];
    effect.processFrame(in, out, 2, 2);
    const float first = effect.m_LeftVoice.m_fDelay_ms;
    EXPECT_GT(first, 0.0f);
    EXPECT_LT(first, 100.0f);
    for (int n = 0; n < 44100 * 3; ++n)
        effect.processFrame(in, out, 2, 2);
    EXPECT_EQ(effect.m_fDelay_ms, 1000.0f);
    // The glide stalls a hair short; landing on the target recooks the voices for it.
    EXPECT_EQ(effect.m_LeftVoice.m_fDelay_ms, 1000.0f);
    EXPECT_EQ(effect.m_LeftVoice.m_fDelaySamples, 44100.0f);
}

// The same through runs of frames (the adapter's path), and a prepare in the middle of a glide.
TEST(StereoDelayFilter, GlidesEndOnTheTargetInRunsAndAcrossAPrepare)
{
    CStDelayFil effect;
    effect.setPlainValue(8, 1.0);
    effect.sampleRate = 48000;
    ASSERT_TRUE(effect.prepareToProcess());
    std::vector<float> silence(512, 0.0f), sink(512), sink2(512);
    const float* in[2] = {silence.data(), silence.data()};
    float* out[2] = {sink.data(), sink2.data()};
    HostInfoBlock timing{};
    auto runBlocks = [&](int blocks) {
        for (int b = 0; b < blocks; ++b)
            effect.processFrameRun(in, out, 2, 512, timing, false, 1.0 / 48000.0);
    };

    effect.setNormalizedValue(0, 0.75, false);  // 1500 ms
    runBlocks(200);
    EXPECT_EQ(effect.m_LeftVoice.m_fDelaySamples, 72000.0f);
    EXPECT_EQ(effect.m_RightVoice.m_fDelaySamples, 72000.0f);

    // A block into a glide the host re-activates: the glide is finished at once.
    effect.setNormalizedValue(0, 0.25, false);  // 500 ms
    effect.setNormalizedValue(7, 0.5, false);
    runBlocks(1);
    EXPECT_GT(effect.m_fDelay_ms, 600.0f);
    ASSERT_TRUE(effect.prepareToProcess());
    EXPECT_EQ(effect.m_fDelay_ms, 500.0f);
    EXPECT_EQ(effect.m_fVolume, 0.5f);
    EXPECT_EQ(effect.m_LeftVoice.m_fDelaySamples, 24000.0f);
    runBlocks(50);
    EXPECT_EQ(effect.m_fDelay_ms, 500.0f);
    EXPECT_EQ(effect.m_LeftVoice.m_fDelaySamples, 24000.0f);
}

TEST(StereoDelayFilter, BufferOperationsCopy)
{
    CStDelayFil effect;
    float input[6] = {1, 2, 3, 4, 5, 6};
    float output[6] = {};
    EXPECT_TRUE(effect.processInterleavedBuffer(input, output, 2, 2, 6));
    EXPECT_EQ(std::memcmp(input, output, sizeof input), 0);

    float left[3] = {1, 2, 3};
    float right[3] = {4, 5, 6};
    float outLeft[3] = {};
    float outRight[3] = {};
    float* ins[2] = {left, right};
    float* outs[2] = {outLeft, outRight};
    EXPECT_TRUE(effect.processChannelBuffers(ins, outs, 2, 3));
    EXPECT_EQ(outLeft[2], 3.0f);
    EXPECT_EQ(outRight[2], 6.0f);
    float* monoIns[1] = {left};
    float* monoOuts[1] = {outLeft};
    EXPECT_TRUE(effect.processChannelBuffers(monoIns, monoOuts, 1, 3));
    EXPECT_EQ(effect.handleGuiMessage(nullptr), nullptr);
}

}  // namespace
