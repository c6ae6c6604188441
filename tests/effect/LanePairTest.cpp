// The lane operations against the scalar arithmetic they stand in for, bit for bit.

#include "effect/CBiQuad.h"
#include "effect/LanePair.h"

#include "TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace {

using testsignal::bitsOf;

float fromBits(uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Values around the flush threshold, zeros, subnormals, NaN, infinities and ordinary numbers,
// then random bit patterns (every exponent) and random patterns near the smallest normal.
std::vector<float> awkwardValues()
{
    const float smallestNormal = std::numeric_limits<float>::min();
    std::vector<float> values = {0.0f,
                                 -0.0f,
                                 smallestNormal,
                                 -smallestNormal,
                                 std::nextafter(smallestNormal, 1.0f),
                                 -std::nextafter(smallestNormal, 1.0f),
                                 std::nextafter(smallestNormal, 0.0f),
                                 std::numeric_limits<float>::denorm_min(),
                                 -std::numeric_limits<float>::denorm_min(),
                                 std::numeric_limits<float>::quiet_NaN(),
                                 std::numeric_limits<float>::infinity(),
                                 -std::numeric_limits<float>::infinity(),
                                 1.0f,
                                 -0.75f};
    uint32_t state = 12345u;
    for (int i = 0; i < 4000; ++i)
    {
        state = state * 1664525u + 1013904223u;
        values.push_back(fromBits(state));
        values.push_back(fromBits((state & 0x80000000u) | (0x00800000u + (state % 0x400u) - 0x200u)));
    }
    return values;
}

// Same bits, or both NaN (which NaN comes out of two NaN operands is not part of the arithmetic).
::testing::AssertionResult sameResult(float expected, float actual)
{
    if (bitsOf(expected) == bitsOf(actual) || (std::isnan(expected) && std::isnan(actual)))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected " << expected << " (bits " << bitsOf(expected) << "), got "
                                         << actual << " (bits " << bitsOf(actual) << ")";
}

// One biquad step in the lanes against CBiQuad::filterSample on each lane's own values.
void expectStepsMatch(const std::vector<float>& values)
{
    for (size_t i = 0; i + 9 < values.size(); i += 3)
    {
        const float* v = &values[i];
        // Left: the value through a pass-through section, so it meets the flush as it is.
        float lx1 = 0.0f, lx2 = 0.0f, ly1 = 0.0f, ly2 = 0.0f;
        const float left = CBiQuad::filterSample(1.0f, 0.0f, 0.0f, 0.0f, 0.0f, lx1, lx2, ly1, ly2, v[0]);
        // Right: every term in play, with awkward coefficients and history.
        float rx1 = v[5], rx2 = v[6], ry1 = v[7], ry2 = v[8];
        const float right = CBiQuad::filterSample(v[1], v[2], v[3], v[4], v[9], rx1, rx2, ry1, ry2, v[0]);

        const LanePair x = lanePair(v[0], v[0]);
        const LanePair y = flushTiny(lanePair(1.0f, v[1]) * x + lanePair(0.0f, v[2]) * lanePair(0.0f, v[5]) +
                                     lanePair(0.0f, v[3]) * lanePair(0.0f, v[6]) -
                                     lanePair(0.0f, v[4]) * lanePair(0.0f, v[7]) -
                                     lanePair(0.0f, v[9]) * lanePair(0.0f, v[8]));
        ASSERT_TRUE(sameResult(left, leftLane(y))) << "value " << v[0];
        ASSERT_TRUE(sameResult(right, rightLane(y))) << "step at " << i;
    }
}

TEST(LanePair, BiquadStepAndFlushMatchTheScalarSection)
{
    const std::vector<float> values = awkwardValues();
    expectStepsMatch(values);

    // The flush itself: zeros of either sign and NaN pass, the tiny become +0.
    const LanePair zeros = flushTiny(lanePair(-0.0f, 0.0f));
    EXPECT_EQ(bitsOf(leftLane(zeros)), bitsOf(-0.0f));
    EXPECT_EQ(bitsOf(rightLane(zeros)), bitsOf(0.0f));
    const LanePair tiny = flushTiny(lanePair(-std::numeric_limits<float>::min(), 1e-40f));
    EXPECT_EQ(bitsOf(leftLane(tiny)), bitsOf(0.0f));
    EXPECT_EQ(bitsOf(rightLane(tiny)), bitsOf(0.0f));
    EXPECT_TRUE(std::isnan(leftLane(flushTiny(lanePair(std::numeric_limits<float>::quiet_NaN(), 0.0f)))));

#if defined(__SSE2__)
    // The plug-in processes with subnormals flushed and read as zero: the lanes still agree.
    const unsigned int saved = _mm_getcsr();
    _mm_setcsr(saved | 0x8040u);
    expectStepsMatch(values);
    _mm_setcsr(saved);
#endif
}

TEST(LanePair, DelayArithmeticMatchesTheScalarCasts)
{
    const std::vector<float> values = awkwardValues();
    const double samplesPerMs = static_cast<double>(static_cast<float>(44100)) * 0.001;
    for (size_t i = 0; i + 1 < values.size(); i += 2)
    {
        const LanePair scaled = timesInDouble(lanePair(values[i], values[i + 1]), samplesPerMs);
        ASSERT_TRUE(sameResult(static_cast<float>(static_cast<double>(values[i]) * samplesPerMs), leftLane(scaled)));
        ASSERT_TRUE(
            sameResult(static_cast<float>(static_cast<double>(values[i + 1]) * samplesPerMs), rightLane(scaled)));

        // Truncation, inside the range an int32_t holds (delays are kept inside the line).
        const float a = std::fmod(values[i], 1e9f);
        const float b = std::fmod(values[i + 1], 1e9f);
        if (std::isnan(a) || std::isnan(b))
            continue;
        const LanePair whole = truncated(lanePair(a, b));
        ASSERT_EQ(bitsOf(leftLane(whole)), bitsOf(static_cast<float>(static_cast<int32_t>(a))));
        ASSERT_EQ(bitsOf(rightLane(whole)), bitsOf(static_cast<float>(static_cast<int32_t>(b))));
    }
}

}  // namespace
