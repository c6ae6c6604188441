#include "effect/CBiQuad.h"

#include "TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using testsignal::bitsOf;

struct WorkedRow
{
    float cutoff;
    float q;
    int32_t rate;
    float a0;
    float a1;
    float b1;
    float b2;
};

TEST(BiQuadRecipe, WorkedValuesToTheBit)
{
    const WorkedRow rows[] = {
        {16000.0f, 0.5f, 44100, 0.469247431f, 0.938494861f, 0.740065455f, 0.136924222f},
        {1000.0f, 0.707106781f, 44100, 0.00460401177f, 0.00920802355f, -1.79909647f, 0.817512453f},
        {1000.0f, 5.0f, 48000, 0.00422245264f, 0.00844490528f, -1.95734131f, 0.974231124f},
    };
    for (const WorkedRow& row : rows)
    {
        const BiQuadCoefficients c = computeResonantLowPass(row.cutoff, row.q, row.rate);
        EXPECT_EQ(bitsOf(c.a0), bitsOf(row.a0)) << row.cutoff << " Hz, Q " << row.q << ", " << row.rate;
        EXPECT_EQ(bitsOf(c.a2), bitsOf(row.a0));
        EXPECT_EQ(bitsOf(c.a1), bitsOf(row.a1));
        EXPECT_EQ(bitsOf(c.b1), bitsOf(row.b1));
        EXPECT_EQ(bitsOf(c.b2), bitsOf(row.b2));
    }
}

CBiQuad makeSection(float cutoff, float q, int32_t rate)
{
    CBiQuad section;
    section.clearHistory();
    section.setCoefficients(computeResonantLowPass(cutoff, q, rate));
    return section;
}

TEST(BiQuad, SilenceStaysExactlyZero)
{
    CBiQuad section = makeSection(16000.0f, 0.5f, 44100);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(bitsOf(section.processSample(0.0f)), 0u);
    EXPECT_EQ(section.m_fX1, 0.0f);
    EXPECT_EQ(section.m_fY1, 0.0f);
    EXPECT_EQ(section.m_fY2, 0.0f);
}

TEST(BiQuad, ImpulseTailIsFlushedNotSubnormal)
{
    CBiQuad section = makeSection(1000.0f, 0.5f, 44100);
    float y = section.processSample(1.0f);
    bool reachedZero = false;
    for (int i = 0; i < 200000; ++i)
    {
        y = section.processSample(0.0f);
        ASSERT_NE(std::fpclassify(y), FP_SUBNORMAL) << "sample " << i;
        ASSERT_NE(std::fpclassify(section.m_fY1), FP_SUBNORMAL);
        if (y == 0.0f && section.m_fY2 == 0.0f)
        {
            reachedZero = true;
            break;
        }
    }
    EXPECT_TRUE(reachedZero);
}

TEST(BiQuad, FlushThresholdIsTheDoubleConstant)
{
    // With a0 = 1 and no other terms the section passes its input through the flush.
    CBiQuad section;
    section.clearHistory();
    section.setCoefficients({1.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    const float smallestNormal = std::numeric_limits<float>::min();  // 1.17549435e-38
    EXPECT_EQ(section.processSample(smallestNormal), 0.0f);
    EXPECT_EQ(section.processSample(-smallestNormal), 0.0f);
    const float next = std::nextafter(smallestNormal, 1.0f);
    EXPECT_EQ(section.processSample(next), next);
    EXPECT_EQ(section.processSample(1e-40f), 0.0f);
    // The input history keeps the raw, unflushed value.
    EXPECT_EQ(section.m_fX1, 1e-40f);
    EXPECT_EQ(section.m_fX2, next);
}

TEST(BiQuad, UnityGainAtDc)
{
    const float cutoffs[] = {100.0f, 1000.0f, 5000.0f, 16000.0f};
    const float qs[] = {0.5f, 0.707f, 2.0f, 10.0f};
    for (float cutoff : cutoffs)
        for (float q : qs)
        {
            CBiQuad section = makeSection(cutoff, q, 48000);
            float y = 0.0f;
            for (int i = 0; i < 200000; ++i)
                y = section.processSample(1.0f);
            // Low cutoffs leave a small denominator, so coefficient rounding shows a little more.
            EXPECT_NEAR(y, 1.0f, 1e-3f) << cutoff << " Hz, Q " << q;
        }
}

TEST(BiQuad, GainAtCutoffEqualsQ)
{
    const int32_t rate = 48000;
    const float qs[] = {0.5f, 2.0f};
    for (float q : qs)
    {
        CBiQuad section = makeSection(1000.0f, q, rate);
        float peak = 0.0f;
        for (int i = 0; i < rate; ++i)
        {
            const float x = static_cast<float>(std::sin(2.0 * M_PI * 1000.0 * i / rate));
            const float y = section.processSample(x);
            if (i > rate / 2)
                peak = std::max(peak, std::fabs(y));
        }
        EXPECT_NEAR(peak, q, 0.01f * q) << "Q " << q;
    }
}

TEST(BiQuad, NewCoefficientsKeepTheHistory)
{
    CBiQuad section = makeSection(1000.0f, 0.5f, 44100);
    section.processSample(1.0f);
    section.processSample(0.5f);
    const float y1 = section.m_fY1;
    const float y2 = section.m_fY2;
    section.setCoefficients(computeResonantLowPass(5000.0f, 3.0f, 44100));
    EXPECT_EQ(section.m_fY1, y1);
    EXPECT_EQ(section.m_fY2, y2);
    EXPECT_EQ(section.m_fX1, 0.5f);
    // The very next sample uses the new coefficients with the old history.
    const float expected = section.m_fA0 * 0.25f + section.m_fA1 * 0.5f + section.m_fA2 * 1.0f -
                           section.m_fB1 * y1 - section.m_fB2 * y2;
    EXPECT_EQ(bitsOf(section.processSample(0.25f)), bitsOf(expected));
}

}  // namespace
