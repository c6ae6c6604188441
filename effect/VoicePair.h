#pragma once

#include "effect/CFilteredDelay.h"
#include "effect/LanePair.h"

#include <cstdint>

// What the stereo effect hands its voices: each voice's delay, and the settings they share.
struct VoiceInputs
{
    float leftDelayMs;
    float rightDelayMs;
    float feedbackPct;
    float wetPct;
    float cutoffHz;
    float q;

    // Into the voices' control variables, as the stereo effect hands settings on.
    void writeTo(CFilteredDelay& left, CFilteredDelay& right) const
    {
        left.m_fDelay_ms = leftDelayMs;
        right.m_fDelay_ms = rightDelayMs;
        CFilteredDelay* voices[2] = {&left, &right};
        for (CFilteredDelay* voice : voices)
        {
            voice->m_fFeedback_pct = feedbackPct;
            voice->m_fWetLevel_pct = wetPct;
            voice->m_f_fc_Hz = cutoffHz;
            voice->m_f_Q = q;
        }
    }
};

// The stereo effect's two voices side by side, the left voice in one lane and the right in the
// other: per lane the operations of CFilteredDelay::processSample in its order, so each lane's
// bits are that voice's own. The voices keep their state; the pair works on it during a run.
class VoicePair
{
public:
    VoicePair(CFilteredDelay& left, CFilteredDelay& right) : m_Left(left), m_Right(right) {}

    // True when the voices can share the lanes: both lines there, of one length, written at one
    // position (they are prepared together and advance together).
    static bool fitLanes(const CFilteredDelay& left, const CFilteredDelay& right)
    {
        return left.m_pDelayLine != nullptr && right.m_pDelayLine != nullptr &&
               left.m_nLineLength == right.m_nLineLength && left.m_nWritePos == right.m_nWritePos;
    }

    // A run of frames of the two voices with every setting at rest, each output scaled by the
    // volume (the stereo effect's runVoice for both at once). False, and nothing done, unless
    // the voices fit the lanes and both delays are a sample or more (neither voice taps its own
    // input or has no delay).
    static bool runAtRest(CFilteredDelay& left, CFilteredDelay& right, const float* leftIn, const float* rightIn,
                          float* leftOut, float* rightOut, uint32_t count, float volume);

    // Frame by frame while the controls glide: from beginFrames to endFrames the voices' state is
    // held here (needs fitLanes), and endFrames hands it back.
    void beginFrames();
    // What CStDelayFil::pushSettingsToVoices cooks into the voices, into the lanes: the delay
    // variables as CFilteredDelay::updateDelayVariables derives them, per lane; the left voice's
    // filter recipe, which the right voice shares (it would copy the same coefficients).
    void recook(const VoiceInputs& inputs);
    // One frame of both voices, as CFilteredDelay::processSample.
    LanePair processFrame(LanePair x);
    void endFrames();

private:
    void takeDelays(LanePair delay);

    CFilteredDelay& m_Left;
    CFilteredDelay& m_Right;

    // The voices' state between beginFrames and endFrames.
    LanePair m_A0, m_A1, m_A2, m_B1, m_B2;
    LanePair m_X1, m_X2, m_Y1, m_Y2;
    LanePair m_Delay;  // in samples
    LanePair m_Longest;  // the longest delay the line holds
    LanePair m_Fraction;
    LanePair m_OneMinusFraction;
    LanePair m_Feedback;
    LanePair m_Wet;
    LaneMask m_InputIsTap;
    LaneMask m_NoDelay;
    float* m_pLeftLine = nullptr;
    float* m_pRightLine = nullptr;
    int32_t m_nLength = 0;
    int32_t m_nWritePos = 0;
    int32_t m_nLeftRead = 0;
    int32_t m_nRightRead = 0;
    double m_dSamplesPerMs = 0.0;
    bool m_bRecooked = false;
    VoiceInputs m_LastInputs{};
};

inline LanePair VoicePair::processFrame(LanePair x)
{
    const LanePair y = flushTiny(m_A0 * x + m_A1 * m_X1 + m_A2 * m_X2 - m_B1 * m_Y1 - m_B2 * m_Y2);
    m_Y2 = m_Y1;
    m_Y1 = y;
    m_X2 = m_X1;
    m_X1 = x;

    const int32_t leftPrevious = m_nLeftRead > 0 ? m_nLeftRead - 1 : m_nLength - 1;
    const int32_t rightPrevious = m_nRightRead > 0 ? m_nRightRead - 1 : m_nLength - 1;
    const LanePair y0 = select(m_InputIsTap, x, loadLanes(m_pLeftLine + m_nLeftRead, m_pRightLine + m_nRightRead));
    const LanePair yPrevious = loadLanes(m_pLeftLine + leftPrevious, m_pRightLine + rightPrevious);
    const LanePair yd = select(m_NoDelay, y, yPrevious * m_Fraction + m_OneMinusFraction * y0);
    storeLanes(m_Feedback * yd + y, m_pLeftLine + m_nWritePos, m_pRightLine + m_nWritePos);
    const LanePair out = (bothLanes(1.0f) - m_Wet) * x + m_Wet * yd;

    if (++m_nWritePos >= m_nLength)
        m_nWritePos = 0;
    if (++m_nLeftRead >= m_nLength)
        m_nLeftRead = 0;
    if (++m_nRightRead >= m_nLength)
        m_nRightRead = 0;
    return out;
}

inline void VoicePair::takeDelays(LanePair delay)
{
    m_Delay = delay;
    m_Fraction = delay - truncated(delay);
    m_OneMinusFraction = bothLanes(1.0f) - m_Fraction;
    m_NoDelay = equalLanes(delay, bothLanes(0.0f));
}

inline void VoicePair::recook(const VoiceInputs& inputs)
{
    const float feedback = static_cast<float>(static_cast<double>(inputs.feedbackPct) * 0.01);
    const float wet = static_cast<float>(static_cast<double>(inputs.wetPct) * 0.01);
    m_Feedback = bothLanes(feedback);
    m_Wet = bothLanes(wet);

    // Inside the line, as updateDelayVariables keeps it.
    LanePair delay = timesInDouble(lanePair(inputs.leftDelayMs, inputs.rightDelayMs), m_dSamplesPerMs);
    const LanePair zero = bothLanes(0.0f);
    delay = select(atLeastLanes(delay, zero), delay, zero);
    delay = select(greaterLanes(delay, m_Longest), m_Longest, delay);

    m_nLeftRead = m_nWritePos - static_cast<int32_t>(leftLane(delay));
    if (m_nLeftRead < 0)
        m_nLeftRead += m_nLength;
    m_nRightRead = m_nWritePos - static_cast<int32_t>(rightLane(delay));
    if (m_nRightRead < 0)
        m_nRightRead += m_nLength;
    takeDelays(delay);
    // The read position is the write position exactly when the delay is under one sample.
    m_InputIsTap = lessLanes(delay, bothLanes(1.0f));

    const bool sameFilter = m_bRecooked && inputs.cutoffHz == m_LastInputs.cutoffHz && inputs.q == m_LastInputs.q;
    m_bRecooked = true;
    m_LastInputs = inputs;
    if (sameFilter)
        return;
    // The left voice's recipe, for both lanes: the right voice would copy the same coefficients.
    BiQuadCoefficients cooked;
    if (m_Left.lowPassFor(inputs.cutoffHz, inputs.q, cooked))
    {
        m_A0 = bothLanes(cooked.a0);
        m_A1 = bothLanes(cooked.a1);
        m_A2 = bothLanes(cooked.a2);
        m_B1 = bothLanes(cooked.b1);
        m_B2 = bothLanes(cooked.b2);
    }
}
