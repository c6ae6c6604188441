// The recipe's precision is defined step by step (float here, double there): these tests hold
// it to the straight-line model's coefficients bit for bit, over the whole range the effect can
// ask for and where the cosine's rounding is most sensitive.

#include "ReferenceDelayFilter.h"
#include "TestSignals.h"

#include "effect/CBiQuad.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

using testsignal::bitsOf;

// The straight-line model's cook (libm's sine and cosine) for one setting.
reference::Voice libmCook(float cutoffHz, float q, int32_t rate)
{
    reference::Voice voice;
    voice.rate = rate;
    voice.cutoffHz = cutoffHz;
    voice.q = q;
    voice.cookFilter();
    return voice;
}

::testing::AssertionResult sameAsLibm(float cutoffHz, float q, int32_t rate)
{
    const BiQuadCoefficients c = computeResonantLowPass(cutoffHz, q, rate);
    const reference::Voice v = libmCook(cutoffHz, q, rate);
    if (bitsOf(c.a0) == bitsOf(v.a0) && bitsOf(c.a1) == bitsOf(v.a1) && bitsOf(c.a2) == bitsOf(v.a2) &&
        bitsOf(c.b1) == bitsOf(v.b1) && bitsOf(c.b2) == bitsOf(v.b2))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "cutoff " << cutoffHz << " Hz, Q " << q << ", rate " << rate
                                         << ": b1 " << c.b1 << " vs " << v.b1 << ", b2 " << c.b2 << " vs " << v.b2
                                         << ", a0 " << c.a0 << " vs " << v.a0;
}

float nextFloatUp(float x)
{
    return std::nextafter(x, std::numeric_limits<float>::infinity());
}

TEST(LowPassRecipe, SameBitsAsLibmForRandomSettingsAtEveryRate)
{
    std::mt19937 random(20261208u);
    const int32_t rates[] = {8000, 11025, 22050, 32000, 44100, 48000, 88200, 96000, 192000, 384000};
    for (int32_t rate : rates)
    {
        // Cutoffs up to where the voice limits them (0.45 of the rate).
        std::uniform_real_distribution<float> cutoff(1.0f, 0.45f * static_cast<float>(rate));
        std::uniform_real_distribution<float> q(0.05f, 100.0f);
        std::uniform_real_distribution<float> usualQ(0.5f, 10.0f);
        for (int i = 0; i < 100000; ++i)
        {
            const float fc = cutoff(random);
            ASSERT_TRUE(sameAsLibm(fc, q(random), rate));
            ASSERT_TRUE(sameAsLibm(fc, usualQ(random), rate));
        }
    }
}

TEST(LowPassRecipe, SameBitsAsLibmThroughAGlideOfEveryFloatCutoff)
{
    // A slow glide visits neighbouring floats: every float cutoff from 11990 to 12010 Hz at
    // 48 kHz, where the cosine passes zero and its rounding is most sensitive.
    int checked = 0;
    for (float fc = 11990.0f; fc <= 12010.0f; fc = nextFloatUp(fc), ++checked)
        ASSERT_TRUE(sameAsLibm(fc, 0.5f, 48000));
    EXPECT_GT(checked, 20000);
    for (float fc = 100.0f; fc <= 101.0f; fc = nextFloatUp(fc))
        ASSERT_TRUE(sameAsLibm(fc, 10.0f, 44100));
}

TEST(LowPassRecipe, SameBitsAsLibmOutsideTheVoicesRange)
{
    // Cutoffs past half the rate are never asked for by the voice, but the recipe still agrees.
    EXPECT_TRUE(sameAsLibm(30000.0f, 0.7f, 44100));
    EXPECT_TRUE(sameAsLibm(0.0f, 0.7f, 44100));
    EXPECT_TRUE(sameAsLibm(-100.0f, 0.7f, 44100));
}

TEST(LowPassRecipe, KnownRows)
{
    const BiQuadCoefficients c = computeResonantLowPass(1000.0f, 5.0f, 48000);
    EXPECT_EQ(c.a0, 0.00422245264f);
    EXPECT_EQ(c.a1, 0.00844490528f);
    EXPECT_EQ(c.b1, -1.95734131f);
    EXPECT_EQ(c.b2, 0.974231124f);
}

}  // namespace
