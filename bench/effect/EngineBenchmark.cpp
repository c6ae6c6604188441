// ns per stereo frame of CStDelayFil::processFrame next to the straight-line
// loop of the same DSP, in steady state, with all eight continuous controls
// gliding, and in the silent tail after loud noise. Compare the
// "ns_per_frame" counters of neighbouring rows; they come from one run.

#include "StraightLineDelayFilter.h"

#include "effect/CStDelayFil.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

const int32_t kRate = 48000;
const int kBlock = 4096;

std::vector<float> makeNoise(size_t samples, uint32_t seed)
{
    std::vector<float> noise(samples);
    uint32_t s = seed;
    for (float& v : noise)
    {
        s = s * 1664525u + 1013904223u;
        v = static_cast<float>(static_cast<int32_t>(s >> 8) - (1 << 23)) / static_cast<float>(1 << 23);
    }
    return noise;
}

// "Crude Verb"-like settings in delay mode, and a second set to glide to.
const double kSettingsA[8] = {1550.0, 79.0, 4949.5, 2.35, 14.68, 0.0, 27.0, 0.635};
const double kSettingsB[8] = {310.0, 40.0, 12000.0, 6.5, 3.0, 0.8, 70.0, 0.4};
const double kMin[8] = {0.0, 0.0, 100.0, 0.5, 1.0, 0.0, 0.0, 0.0};
const double kMax[8] = {2000.0, 100.0, 16000.0, 10.0, 20.0, 1.0, 100.0, 1.0};

void setEngine(CStDelayFil& effect, const double* settings, bool glide)
{
    for (int i = 0; i < 8; ++i)
    {
        if (glide)
            effect.setNormalizedValue(i, (settings[i] - kMin[i]) / (kMax[i] - kMin[i]), false);
        else
            effect.setPlainValue(i, settings[i]);
    }
}

void setStraight(straightline::StereoDelay& model, const double* settings, bool glide)
{
    for (int i = 0; i < 8; ++i)
    {
        const float v = static_cast<float>(settings[i]);
        if (glide)
            model.target[i] = v;
        else
            model.value[i] = v;
    }
}

void reportPerFrame(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations() * kBlock);
    state.counters["ns_per_frame"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kBlock * 1e-9,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

template <typename Run>
void settle(Run&& run, const std::vector<float>& noise)
{
    float out[2];
    for (int n = 0; n < kRate * 3; ++n)
        run(&noise[(static_cast<size_t>(n) % kBlock) * 2], out);
}

void BM_Engine_Steady(benchmark::State& state)
{
    CStDelayFil effect;
    effect.setPlainValue(8, 1.0);
    setEngine(effect, kSettingsA, false);
    effect.sampleRate = kRate;
    effect.prepareToProcess();
    const std::vector<float> noise = makeNoise(kBlock * 2, 7);
    settle([&](const float* in, float* out) { effect.processFrame(const_cast<float*>(in), out, 2, 2); }, noise);
    float out[2];
    for (auto _ : state)
    {
        for (int n = 0; n < kBlock; ++n)
        {
            effect.processFrame(const_cast<float*>(&noise[n * 2]), out, 2, 2);
            benchmark::DoNotOptimize(out);
        }
    }
    reportPerFrame(state);
}

void BM_StraightLine_Steady(benchmark::State& state)
{
    straightline::StereoDelay model;
    model.delayState = 1;
    setStraight(model, kSettingsA, false);
    model.prepare(kRate);
    const std::vector<float> noise = makeNoise(kBlock * 2, 7);
    settle([&](const float* in, float* out) { model.frame(in, out); }, noise);
    float out[2];
    for (auto _ : state)
    {
        for (int n = 0; n < kBlock; ++n)
        {
            model.frame(&noise[n * 2], out);
            benchmark::DoNotOptimize(out);
        }
    }
    reportPerFrame(state);
}

// Every block the eight continuous controls get new targets, alternating
// between two settings, so they never settle.
void BM_Engine_Gliding(benchmark::State& state)
{
    CStDelayFil effect;
    effect.setPlainValue(8, 1.0);
    setEngine(effect, kSettingsA, false);
    effect.sampleRate = kRate;
    effect.prepareToProcess();
    const std::vector<float> noise = makeNoise(kBlock * 2, 9);
    float out[2];
    bool toB = true;
    for (auto _ : state)
    {
        setEngine(effect, toB ? kSettingsB : kSettingsA, true);
        toB = !toB;
        for (int n = 0; n < kBlock; ++n)
        {
            effect.processFrame(const_cast<float*>(&noise[n * 2]), out, 2, 2);
            benchmark::DoNotOptimize(out);
        }
    }
    reportPerFrame(state);
}

void BM_StraightLine_Gliding(benchmark::State& state)
{
    straightline::StereoDelay model;
    model.delayState = 1;
    setStraight(model, kSettingsA, false);
    model.prepare(kRate);
    const std::vector<float> noise = makeNoise(kBlock * 2, 9);
    float out[2];
    bool toB = true;
    for (auto _ : state)
    {
        double plain[8];
        for (int i = 0; i < 8; ++i)
        {
            // The same normalized round trip the engine's targets take.
            const double* s = toB ? kSettingsB : kSettingsA;
            plain[i] = (s[i] - kMin[i]) / (kMax[i] - kMin[i]) * (kMax[i] - kMin[i]) + kMin[i];
        }
        setStraight(model, plain, true);
        toB = !toB;
        for (int n = 0; n < kBlock; ++n)
        {
            model.frame(&noise[n * 2], out);
            benchmark::DoNotOptimize(out);
        }
    }
    reportPerFrame(state);
}

// Short delay, feedback 50 %: one second of loud noise, then silence. The
// timed part is one block (85 ms) of silence starting `tailStart` seconds
// after the noise stopped; steady state is the same settings fed with noise.
// With these settings the echoes pass through the subnormal range between
// about 1.2 s and 1.55 s into the silence, and are exactly 0 from 1.6 s on.
const double kTailSettings[8] = {10.0, 50.0, 16000.0, 0.5, 1.0, 0.3, 50.0, 0.7};

void BM_Engine_TailSteady(benchmark::State& state)
{
    CStDelayFil effect;
    effect.setPlainValue(8, 1.0);
    setEngine(effect, kTailSettings, false);
    effect.sampleRate = kRate;
    effect.prepareToProcess();
    const std::vector<float> noise = makeNoise(kBlock * 2, 3);
    settle([&](const float* in, float* out) { effect.processFrame(const_cast<float*>(in), out, 2, 2); }, noise);
    float out[2];
    for (auto _ : state)
    {
        for (int n = 0; n < kBlock; ++n)
        {
            effect.processFrame(const_cast<float*>(&noise[n * 2]), out, 2, 2);
            benchmark::DoNotOptimize(out);
        }
    }
    reportPerFrame(state);
}

void BM_Engine_TailSilence(benchmark::State& state)
{
    const double tailStart = static_cast<double>(state.range(0)) / 10.0;
    const int tailBlocks = 1;
    CStDelayFil effect;
    effect.setPlainValue(8, 1.0);
    setEngine(effect, kTailSettings, false);
    effect.sampleRate = kRate;
    const std::vector<float> noise = makeNoise(kBlock * 2, 3);
    const float silence[2] = {0.0f, 0.0f};
    float out[2];
    int64_t frames = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        effect.prepareToProcess();
        for (int n = 0; n < kRate; ++n)
        {
            float in[2] = {4.0f * noise[(n % kBlock) * 2], 4.0f * noise[(n % kBlock) * 2 + 1]};
            effect.processFrame(in, out, 2, 2);
        }
        for (int n = 0; n < static_cast<int>(tailStart * kRate); ++n)
            effect.processFrame(const_cast<float*>(silence), out, 2, 2);
        state.ResumeTiming();
        for (int block = 0; block < tailBlocks; ++block)
        {
            for (int n = 0; n < kBlock; ++n)
            {
                effect.processFrame(const_cast<float*>(silence), out, 2, 2);
                benchmark::DoNotOptimize(out);
            }
        }
        frames += static_cast<int64_t>(tailBlocks) * kBlock;
    }
    state.SetItemsProcessed(frames);
    state.counters["ns_per_frame"] =
        benchmark::Counter(static_cast<double>(frames) * 1e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_Engine_Steady);
BENCHMARK(BM_StraightLine_Steady);
BENCHMARK(BM_Engine_Gliding);
BENCHMARK(BM_StraightLine_Gliding);
BENCHMARK(BM_Engine_TailSteady);
// Tail windows (tenths of a second after the noise stopped): still audible,
// passing through the subnormal range, and silent.
BENCHMARK(BM_Engine_TailSilence)->Arg(0)->Arg(12)->Arg(13)->Arg(14)->Arg(15)->Arg(20)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
