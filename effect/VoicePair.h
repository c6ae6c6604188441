#pragma once

#include "effect/CFilteredDelay.h"
#include "effect/LanePair.h"

#include <cstdint>

// The stereo effect's two voices side by side, the left voice in one lane and the right in the
// other: per lane the operations of CFilteredDelay::processSample in its order, so each lane's
// bits are that voice's own. The voices keep their state; the pair works on it during a run.
class VoicePair
{
public:
    VoicePair(CFilteredDelay& left, CFilteredDelay& right) : m_Left(left), m_Right(right) {}

    // True when the voices can share the lanes: both lines there, of one length, written at one
    // position (they are prepared together and advance together).
    bool fitsLanes() const
    {
        return m_Left.m_pDelayLine != nullptr && m_Right.m_pDelayLine != nullptr &&
               m_Left.m_nLineLength == m_Right.m_nLineLength && m_Left.m_nWritePos == m_Right.m_nWritePos;
    }

    // True when, besides, both delays are a sample or more, so neither voice taps its own input
    // or has no delay: what runAtRest assumes.
    bool fitsRunAtRest() const
    {
        return fitsLanes() && m_Left.m_fDelaySamples >= 1.0f && m_Right.m_fDelaySamples >= 1.0f;
    }

    // A run of frames with every setting at rest, each output scaled by the volume (the
    // stereo effect's runVoice for both voices at once). Needs fitsRunAtRest().
    void runAtRest(const float* leftIn, const float* rightIn, float* leftOut, float* rightOut, uint32_t count,
                   float volume);

private:
    CFilteredDelay& m_Left;
    CFilteredDelay& m_Right;
};
