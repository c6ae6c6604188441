// The glide steps eight smoothers the way the base class does one by one, and hands back what
// it stepped without overwriting what the host's thread set during the run.

#include "effect/ControlGlide.h"

#include <gtest/gtest.h>

namespace {

struct Controls
{
    Controls()
    {
        for (int i = 0; i < ControlGlide::kControls; ++i)
        {
            ControlDescriptor& d = descriptors[i];
            d.dataType = kDataFloat;
            d.smoothingEnabled = true;
            d.floatVariable = &variables[i];
            d.smoothCoeffA = 0.9f;
            d.smoothCoeffB = 1.0f - 0.9f;
            variables[i] = 1.0f;
            d.smoothState = 1.0f;
            d.smoothLastOutput = 1.0f;
            d.smoothingTarget = 1.0f;
            d.smoothingSettled = true;
            d.smoothingSettledTarget = 1.0f;
            pointers[i] = &d;
        }
    }
    ControlDescriptor descriptors[ControlGlide::kControls];
    ControlDescriptor* pointers[ControlGlide::kControls];
    float variables[ControlGlide::kControls];
};

// One step of one smoother, written out as the base class does it.
bool stepOne(ControlDescriptor& d)
{
    const float y = d.smoothCoeffB * d.smoothingTarget + d.smoothCoeffA * d.smoothState;
    d.smoothState = y;
    if (y == d.smoothLastOutput)
    {
        const bool landed = *d.floatVariable != d.smoothingTarget;
        *d.floatVariable = d.smoothingTarget;
        return landed;
    }
    d.smoothLastOutput = y;
    *d.floatVariable = y;
    return true;
}

TEST(ControlGlide, StepsLikeOneSmootherAtATimeUntilSettled)
{
    Controls glided, single;
    for (int i = 0; i < ControlGlide::kControls; i += 2)
    {
        glided.descriptors[i].smoothingTarget = 2.0f + static_cast<float>(i);
        single.descriptors[i].smoothingTarget = 2.0f + static_cast<float>(i);
    }
    ControlGlide glide;
    ASSERT_TRUE(glide.load(glided.pointers));
    for (int frame = 0; frame < 2000; ++frame)
    {
        int lastMover = -1;
        for (int i = 0; i < ControlGlide::kControls; ++i)
            if (stepOne(single.descriptors[i]))
                lastMover = i;
        ASSERT_EQ(glide.step(), lastMover) << "frame " << frame;
        for (int i = 0; i < ControlGlide::kControls; ++i)
            ASSERT_EQ(glide.value(i), single.variables[i]) << "frame " << frame << " control " << i;
    }
    glide.store();
    for (int i = 0; i < ControlGlide::kControls; ++i)
    {
        EXPECT_EQ(glided.variables[i], glided.descriptors[i].smoothingTarget);
        EXPECT_TRUE(glided.descriptors[i].smoothingSettled);
        EXPECT_EQ(glided.descriptors[i].smoothState, single.descriptors[i].smoothState);
    }
}

TEST(ControlGlide, ValueAtMoveKeepsLaterControlsAsTheyWere)
{
    Controls c;
    c.descriptors[2].smoothingTarget = 5.0f;
    ControlGlide glide;
    ASSERT_TRUE(glide.load(c.pointers));
    ASSERT_EQ(glide.step(), 2);
    const float before = glide.value(2);
    EXPECT_NE(before, 1.0f);
    c.descriptors[6].smoothingTarget = 3.0f;  // not seen by this glide: loaded before
    EXPECT_EQ(glide.valueAtMove(2, 2), before);
    EXPECT_EQ(glide.valueAtMove(6, 2), 1.0f);
    EXPECT_EQ(glide.valueAtMove(6, -1), 1.0f);
}

TEST(ControlGlide, AJumpOrANewTargetSetDuringTheRunIsKept)
{
    Controls c;
    for (ControlDescriptor& d : c.descriptors)
        d.smoothingTarget = 4.0f;
    ControlGlide glide;
    ASSERT_TRUE(glide.load(c.pointers));
    for (int frame = 0; frame < 10; ++frame)
        glide.step();
    // Control 1 jumps (a state restore), control 3 gets a new target (automation).
    c.variables[1] = 9.0f;
    c.descriptors[1].smoothState = 9.0f;
    c.descriptors[1].smoothLastOutput = 9.0f;
    c.descriptors[1].smoothingTarget = 9.0f;
    c.descriptors[3].smoothingTarget = 0.5f;
    glide.store();
    EXPECT_EQ(c.variables[1], 9.0f);
    EXPECT_EQ(c.descriptors[1].smoothState, 9.0f);
    EXPECT_EQ(c.descriptors[3].smoothState, glide.value(3));
    EXPECT_EQ(c.variables[3], glide.value(3));
    EXPECT_FALSE(c.descriptors[3].smoothingSettled);
    EXPECT_EQ(c.variables[0], glide.value(0));
}

TEST(ControlGlide, RefusesControlsItCannotStep)
{
    Controls c;
    c.descriptors[5].dataType = kDataDouble;
    ControlGlide glide;
    EXPECT_FALSE(glide.load(c.pointers));
    Controls d;
    d.descriptors[0].smoothingEnabled = false;
    EXPECT_FALSE(glide.load(d.pointers));
    Controls e;
    e.pointers[7] = nullptr;
    EXPECT_FALSE(glide.load(e.pointers));
    glide.store();  // nothing loaded: nothing written
    EXPECT_EQ(e.variables[0], 1.0f);
}

}  // namespace
