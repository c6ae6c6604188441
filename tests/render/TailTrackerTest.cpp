#include "TailTracker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using Tarnwick::Render::TailTracker;

namespace {

// Feeds the tracker block by block from one channel until it is satisfied.
void feed (TailTracker& tracker, const std::vector<float>& signal)
{
    std::size_t position = 0;
    std::vector<float> silence (64, 0.f);
    for (;;)
    {
        const std::size_t count = tracker.nextBlockFrames (64);
        if (count == 0)
            break;
        std::vector<float> block (count, 0.f);
        for (std::size_t i = 0; i < count && position + i < signal.size (); ++i)
            block[i] = signal[position + i];
        const float* channels[1] = {block.data ()};
        tracker.observe (channels, 1, count);
        position += count;
    }
}

TEST (TailTracker, SilenceStopsAfterTheQuietTimeAndKeepsNothing)
{
    TailTracker tracker (1000.0, 30.0, 2.5);
    feed (tracker, {});
    EXPECT_EQ (tracker.renderedFrames (), 2500u + (64 - 2500 % 64) % 64);
    EXPECT_EQ (tracker.keptFrames (), 0u);
    EXPECT_FALSE (tracker.endedByCap ());
}

TEST (TailTracker, KeepsUpToTheLastLoudSamplePlusAMargin)
{
    TailTracker tracker (1000.0, 30.0, 2.5);
    std::vector<float> signal (5000, 0.f);
    signal[100] = 0.5f;
    signal[1900] = 1e-4f;      // above -90 dBFS
    signal[3000] = 3.1e-5f;    // below it
    feed (tracker, signal);
    EXPECT_EQ (tracker.keptFrames (), 1901u + 50u);
    EXPECT_GE (tracker.renderedFrames (), 1901u + 2500u);
    EXPECT_LT (tracker.renderedFrames (), 1901u + 2500u + 64u);
}

TEST (TailTracker, EchoGapsShorterThanTheQuietTimeDoNotEndTheTail)
{
    TailTracker tracker (1000.0, 30.0, 2.5);
    std::vector<float> signal (20000, 0.f);
    for (std::size_t echo = 0; echo < 6; ++echo)
        signal[echo * 2000] = 0.5f; // two seconds apart
    feed (tracker, signal);
    EXPECT_EQ (tracker.keptFrames (), 10001u + 50u);
}

TEST (TailTracker, EndlessSoundStopsAtTheCap)
{
    TailTracker tracker (1000.0, 3.0, 2.5);
    feed (tracker, std::vector<float> (100000, 0.25f));
    EXPECT_EQ (tracker.renderedFrames (), 3000u);
    EXPECT_TRUE (tracker.reachedCap ());
    EXPECT_TRUE (tracker.endedByCap ());
    EXPECT_EQ (tracker.keptFrames (), 3000u);
}

TEST (TailTracker, NotANumberCountsAsSound)
{
    TailTracker tracker (1000.0, 30.0, 2.5);
    std::vector<float> signal (3000, 0.f);
    signal[700] = std::numeric_limits<float>::quiet_NaN ();
    feed (tracker, signal);
    EXPECT_EQ (tracker.keptFrames (), 701u + 50u);
}

TEST (TailTracker, ZeroCapMeansNoTail)
{
    TailTracker tracker (48000.0, 0.0);
    EXPECT_TRUE (tracker.finished ());
    EXPECT_EQ (tracker.nextBlockFrames (512), 0u);
    EXPECT_EQ (tracker.keptFrames (), 0u);
    EXPECT_FALSE (tracker.endedByCap ());
}

TEST (TailTracker, ThresholdIsMinusNinetyDecibels)
{
    TailTracker tracker (48000.0);
    EXPECT_FLOAT_EQ (tracker.threshold (), 3.1622776e-5f);
}

} // namespace
