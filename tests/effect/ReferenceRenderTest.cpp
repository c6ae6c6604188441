// Renders noise and impulses through CStDelayFil and through the straight-line
// reference model, and demands identical bits for every output sample.

#include "ReferenceDelayFilter.h"
#include "TestSignals.h"

#include "effect/CStDelayFil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using testsignal::bitsOf;

// Factory preset values (plain), in control order; the last two are Delay State and Active.
const double kPresets[11][10] = {
    {0.0, 0.0, 16000.0, 0.5, 1.0, 0.0, 50.0, 0.7, 0, 0},
    {139.999985, 58.499996, 16000.0, 0.69, 15.44, 0.0, 100.0, 0.635, 0, 0},
    {1140.0, 82.499992, 16000.0, 0.69, 14.775, 0.0, 64.0, 0.635, 0, 0},
    {740.0, 100.0, 5108.500488, 3.35, 6.224999, 0.41, 61.0, 0.635, 0, 0},
    {2000.0, 81.000008, 1133.50061, 8.7175, 2.33, 0.105, 100.0, 0.635, 0, 0},
    {1550.0, 79.0, 4949.500488, 2.352499, 14.68, 0.0, 27.000002, 0.635, 1, 0},
    {750.0, 88.499992, 13058.5, 9.192499, 19.240002, 0.0, 15.000002, 0.635, 1, 0},
    {1300.000122, 91.999992, 8129.5, 6.152499, 12.305001, 1.0, 33.0, 0.52, 1, 0},
    {850.000061, 66.999992, 3995.5, 7.054999, 2.330002, 1.0, 37.5, 0.52, 1, 0},
    {850.000061, 78.499992, 12979.0, 7.3875, 20.0, 0.15, 37.5, 0.52, 1, 0},
    {830.000122, 73.999992, 12979.0, 5.915, 20.0, 0.07, 55.0, 0.52, 0, 0},
};
const double kMin[8] = {0.0, 0.0, 100.0, 0.5, 1.0, 0.0, 0.0, 0.0};
const double kMax[8] = {2000.0, 100.0, 16000.0, 10.0, 20.0, 1.0, 100.0, 1.0};

// What happens during a render.
enum class Script
{
    Steady,        // the preset, untouched
    Glide,         // all eight continuous controls glide to other values mid-render
    ModeSwitch,    // Delay State flips, the delay glides, Active goes off and on
    LongestDelay,  // delay mode, 2000 ms, ratio 1, offset 1: the right voice wants 2001 ms
    Synced         // Sync on (1/8 at 133 BPM), the tempo falls to 97, the note turns 1/4T, Sync off
};

struct RenderCase
{
    const char* name;
    int preset;
    int32_t rate;
    int channels;
    double seconds;
    Script script;
    uint32_t runFrames;  // 0: frame by frame through processFrame; else runs through processFrameRun
};

// Normalized targets used by the glide script (one per continuous control).
const double kGlideTargets[8] = {0.37, 0.61, 0.23, 0.48, 0.05, 0.73, 0.88, 0.91};

float plainFromNormalized(int index, double normalized)
{
    return static_cast<float>(normalized * (kMax[index] - kMin[index]) + kMin[index]);
}

class ReferenceRender : public ::testing::TestWithParam<RenderCase>
{
};

TEST_P(ReferenceRender, MatchesStraightLineModelBitForBit)
{
    const RenderCase& c = GetParam();
    CStDelayFil effect;
    reference::StereoDelay model;

    // Load the preset before processing starts (the controls take it at once).
    const double* preset = kPresets[c.preset];
    for (int i = 0; i < 8; ++i)
    {
        effect.setPlainValue(i, preset[i]);
        model.setContinuous(i, static_cast<float>(preset[i]));
    }
    effect.setPlainValue(8, preset[8]);
    model.setDelayState(static_cast<uint32_t>(preset[8]));
    effect.setPlainValue(9, preset[9]);
    model.setActive(static_cast<uint32_t>(preset[9]));

    if (c.script == Script::LongestDelay)
    {
        const double longest[6] = {2000.0, 30.0, 16000.0, 0.5, 1.0, 1.0};
        for (int i = 0; i < 6; ++i)
        {
            effect.setPlainValue(i, longest[i]);
            model.setContinuous(i, static_cast<float>(longest[i]));
        }
        effect.setPlainValue(8, 1.0);
        model.setDelayState(1);
    }

    effect.sampleRate = c.rate;
    ASSERT_TRUE(effect.prepareToProcess());
    model.prepare(c.rate);

    const size_t frames = static_cast<size_t>(c.seconds * c.rate);
    const std::vector<float> leftIn = testsignal::noiseAndImpulses(frames, 11u + c.preset, c.rate / 3);
    const std::vector<float> rightIn = testsignal::noiseAndImpulses(frames, 977u + c.preset, c.rate / 5);

    const size_t glideAt = frames / 4;
    const size_t switchAt = frames / 2;
    const size_t offAt = frames * 5 / 8;
    const size_t onAt = frames * 3 / 4;

    // The script's changes land before these frames; runs end there.
    const size_t stops[] = {glideAt, switchAt, offAt, onAt, frames};
    std::vector<float> runOut[2];
    std::vector<float> runIn[2];
    HostInfoBlock timing{};
    size_t compared = 0;
    for (size_t n = 0; n < frames;)
    {
        if (c.script == Script::Glide && n == glideAt)
        {
            for (int i = 0; i < 8; ++i)
            {
                effect.setNormalizedValue(i, kGlideTargets[i], false);
                model.setContinuous(i, plainFromNormalized(i, kGlideTargets[i]));
            }
        }
        if (c.script == Script::Glide && n == switchAt)
        {
            // A second glide starts while the first is still settling.
            effect.setNormalizedValue(0, 0.9, false);
            model.setContinuous(0, plainFromNormalized(0, 0.9));
            effect.setNormalizedValue(4, 0.0, false);
            model.setContinuous(4, plainFromNormalized(4, 0.0));
        }
        if (c.script == Script::ModeSwitch && n == glideAt)
        {
            effect.setNormalizedValue(8, model.delayState == 0 ? 1.0 : 0.0, false);
            model.setDelayState(model.delayState == 0 ? 1u : 0u);
            effect.setNormalizedValue(0, 0.125, false);
            model.setContinuous(0, plainFromNormalized(0, 0.125));
        }
        if (c.script == Script::ModeSwitch && n == switchAt)
        {
            effect.setNormalizedValue(8, model.delayState == 0 ? 1.0 : 0.0, false);
            model.setDelayState(model.delayState == 0 ? 1u : 0u);
        }
        if (c.script == Script::ModeSwitch && n == offAt)
        {
            effect.setNormalizedValue(9, 1.0, false);
            model.setActive(1);
        }
        if (c.script == Script::ModeSwitch && n == onAt)
        {
            effect.setNormalizedValue(9, 0.0, false);
            model.setActive(0);
        }
        if (c.script == Script::Synced && n == glideAt)
        {
            effect.setHostTempo(133.0);
            effect.setNormalizedValue(11, 9 / 20.0, false);
            effect.setNormalizedValue(10, 1.0, false);
            model.setSync(true, 0.5, 133.0);
        }
        if (c.script == Script::Synced && n == switchAt)
        {
            effect.setHostTempo(97.0);
            model.setSync(true, 0.5, 97.0);
        }
        if (c.script == Script::Synced && n == offAt)
        {
            effect.setNormalizedValue(11, 10 / 20.0, false);
            model.setSync(true, 2.0 / 3.0, 97.0);
        }
        if (c.script == Script::Synced && n == onAt)
        {
            effect.setNormalizedValue(10, 0.0, false);
            model.setSync(false, 2.0 / 3.0, 97.0);
        }

        size_t end = c.runFrames == 0 ? n + 1 : n + c.runFrames;
        for (size_t stop : stops)
            if (stop > n && stop < end)
                end = stop;
        if (end > frames)
            end = frames;
        const size_t count = end - n;
        if (c.runFrames == 0)
        {
            float in[2] = {leftIn[n], rightIn[n]};
            float out[2] = {0.0f, 0.0f};
            effect.processFrame(in, out, c.channels, c.channels);
            runOut[0].assign(1, out[0]);
            runOut[1].assign(1, out[1]);
        }
        else
        {
            runIn[0].assign(leftIn.begin() + static_cast<long>(n), leftIn.begin() + static_cast<long>(end));
            runIn[1].assign(rightIn.begin() + static_cast<long>(n), rightIn.begin() + static_cast<long>(end));
            runOut[0].assign(count, 0.0f);
            runOut[1].assign(count, 0.0f);
            const float* inputs[2] = {runIn[0].data(), runIn[1].data()};
            float* outputs[2] = {runOut[0].data(), runOut[1].data()};
            ASSERT_TRUE(effect.processFrameRun(inputs, outputs, static_cast<uint32_t>(c.channels),
                                               static_cast<uint32_t>(count), timing, false, 1.0 / c.rate));
        }
        for (size_t i = 0; i < count; ++i, ++n)
        {
            float in[2] = {leftIn[n], rightIn[n]};
            float expected[2] = {0.0f, 0.0f};
            model.frame(in, expected, c.channels);
            for (int ch = 0; ch < c.channels; ++ch)
            {
                ASSERT_EQ(bitsOf(expected[ch]), bitsOf(runOut[ch][i]))
                    << c.name << ": frame " << n << " channel " << ch << " expected " << expected[ch] << " got "
                    << runOut[ch][i];
                ++compared;
            }
        }
    }
    EXPECT_EQ(compared, frames * c.channels);

    // The render must have produced echoes, not just the dry signal.
    if (c.script != Script::LongestDelay)
    {
        double wetEnergy = 0.0;
        for (float v : model.left.history)
            wetEnergy += static_cast<double>(v) * v;
        EXPECT_GT(wetEnergy, 0.0);
    }
}

const RenderCase kRenderCases[] = {
    {"FactoryComb44k1Stereo", 0, 44100, 2, 2.0, Script::Steady, 0},
    {"HeavyComb44k1Stereo", 1, 44100, 2, 2.0, Script::Steady, 0},
    {"BankingComb48kStereoGlide", 3, 48000, 2, 2.0, Script::Glide, 0},
    {"BeatsAsBassComb96kMono", 4, 96000, 1, 1.5, Script::Steady, 0},
    {"CrudeVerbDelay44k1Stereo", 5, 44100, 2, 3.0, Script::Steady, 0},
    {"SomeSpaceDelay48kMonoGlide", 6, 48000, 1, 2.0, Script::Glide, 0},
    {"PaddingDelay96kStereo", 7, 96000, 2, 2.0, Script::Steady, 0},
    {"PipesDelay96kStereoGlide", 9, 96000, 2, 1.5, Script::Glide, 0},
    {"AutomateMeComb44k1StereoModeSwitch", 10, 44100, 2, 2.0, Script::ModeSwitch, 0},
    {"GoodOnAtmosDelay48kStereoModeSwitch", 8, 48000, 2, 2.0, Script::ModeSwitch, 0},
    {"HollowRingComb96kMonoModeSwitch", 2, 96000, 1, 1.5, Script::ModeSwitch, 0},
    {"LongestDelay44k1Stereo", 0, 44100, 2, 4.5, Script::LongestDelay, 0},
    {"LongestDelay96kStereo", 0, 96000, 2, 4.2, Script::LongestDelay, 0},
    // The same renders in runs, the way the plug-in drives the effect between host events.
    {"BankingComb48kStereoGlideInRuns", 3, 48000, 2, 2.0, Script::Glide, 512},
    {"SomeSpaceDelay48kMonoGlideInRuns", 6, 48000, 1, 2.0, Script::Glide, 97},
    {"PipesDelay96kStereoGlideInRuns", 9, 96000, 2, 1.5, Script::Glide, 4096},
    {"AutomateMeComb44k1StereoModeSwitchInRuns", 10, 44100, 2, 2.0, Script::ModeSwitch, 333},
    {"HollowRingComb96kMonoModeSwitchInRuns", 2, 96000, 1, 1.5, Script::ModeSwitch, 1},
    {"LongestDelay44k1StereoInRuns", 0, 44100, 2, 4.5, Script::LongestDelay, 8192},
    // Both voices side by side: at rest, in single frames, and gliding up from no delay at all.
    {"CrudeVerbDelay44k1StereoInRuns", 5, 44100, 2, 3.0, Script::Steady, 512},
    {"HeavyComb96kStereoInRuns", 1, 96000, 2, 1.0, Script::Steady, 61},
    {"HeavyComb44k1StereoInSingleFrames", 1, 44100, 2, 1.0, Script::Steady, 1},
    // (These two start gliding inside a noise burst on the left, then on the right.)
    {"FactoryComb44k1StereoGlideInRuns", 0, 44100, 2, 1.5, Script::Glide, 256},
    {"FactoryComb48kStereoGlideInRuns", 0, 48000, 2, 1.0, Script::Glide, 512},
    {"GoodOnAtmosDelay48kStereoModeSwitchInRuns", 8, 48000, 2, 2.0, Script::ModeSwitch, 3},
    // Sync: the synced time glides in, follows the tempo and the note, and hands back to the knob.
    {"SomeSpaceDelay48kStereoSynced", 6, 48000, 2, 3.0, Script::Synced, 0},
    {"SomeSpaceDelay48kStereoSyncedInRuns", 6, 48000, 2, 3.0, Script::Synced, 512},
    {"CrudeVerbDelay44k1MonoSyncedInRuns", 5, 44100, 1, 3.0, Script::Synced, 61},
    {"BankingComb48kStereoSyncedInRuns", 3, 48000, 2, 3.0, Script::Synced, 333},
};

INSTANTIATE_TEST_SUITE_P(Presets, ReferenceRender, ::testing::ValuesIn(kRenderCases),
                         [](const ::testing::TestParamInfo<RenderCase>& info) { return std::string(info.param.name); });

// The longest delay really is reached: an impulse comes back on the right
// after 2001 ms (delay 2000 ms plus the 1 ms offset), on the left after 2000 ms.
TEST(ReferenceRenderEdges, RightVoiceEchoAt2001Milliseconds)
{
    CStDelayFil effect;
    effect.setPlainValue(0, 2000.0);
    effect.setPlainValue(1, 0.0);
    effect.setPlainValue(5, 1.0);
    effect.setPlainValue(6, 100.0);
    effect.setPlainValue(7, 1.0);
    effect.setPlainValue(8, 1.0);
    effect.sampleRate = 48000;
    ASSERT_TRUE(effect.prepareToProcess());

    const size_t frames = 48000 * 2 + 48 + 10;
    long leftFirst = -1;
    long rightFirst = -1;
    for (size_t n = 0; n < frames; ++n)
    {
        float in[2] = {n == 0 ? 1.0f : 0.0f, n == 0 ? 1.0f : 0.0f};
        float out[2];
        effect.processFrame(in, out, 2, 2);
        if (n > 0 && leftFirst < 0 && out[0] != 0.0f)
            leftFirst = static_cast<long>(n);
        if (n > 0 && rightFirst < 0 && out[1] != 0.0f)
            rightFirst = static_cast<long>(n);
    }
    EXPECT_EQ(leftFirst, 96000);
    EXPECT_EQ(rightFirst, 96048);
}

}  // namespace
