#include "effect/VoicePair.h"

namespace {

// What a run in the lanes leaves in the voices: their filters' histories and line positions.
void storeVoices(CFilteredDelay& left, CFilteredDelay& right, LanePair x1, LanePair x2, LanePair y1, LanePair y2,
                 int32_t writePos, int32_t leftRead, int32_t rightRead)
{
    CBiQuad& leftFilter = left.m_InputFilter;
    CBiQuad& rightFilter = right.m_InputFilter;
    leftFilter.m_fX1 = leftLane(x1);
    rightFilter.m_fX1 = rightLane(x1);
    leftFilter.m_fX2 = leftLane(x2);
    rightFilter.m_fX2 = rightLane(x2);
    leftFilter.m_fY1 = leftLane(y1);
    rightFilter.m_fY1 = rightLane(y1);
    leftFilter.m_fY2 = leftLane(y2);
    rightFilter.m_fY2 = rightLane(y2);
    left.m_nWritePos = writePos;
    right.m_nWritePos = writePos;
    left.m_nReadPos = leftRead;
    right.m_nReadPos = rightRead;
}

}  // namespace

bool VoicePair::runAtRest(CFilteredDelay& left, CFilteredDelay& right, const float* leftIn, const float* rightIn,
                          float* leftOut, float* rightOut, uint32_t count, float volume)
{
    if (!fitLanes(left, right) || !(left.m_fDelaySamples >= 1.0f) || !(right.m_fDelaySamples >= 1.0f))
        return false;
    CBiQuad& leftFilter = left.m_InputFilter;
    CBiQuad& rightFilter = right.m_InputFilter;
    const LanePair a0 = lanePair(leftFilter.m_fA0, rightFilter.m_fA0);
    const LanePair a1 = lanePair(leftFilter.m_fA1, rightFilter.m_fA1);
    const LanePair a2 = lanePair(leftFilter.m_fA2, rightFilter.m_fA2);
    const LanePair b1 = lanePair(leftFilter.m_fB1, rightFilter.m_fB1);
    const LanePair b2 = lanePair(leftFilter.m_fB2, rightFilter.m_fB2);
    LanePair x1 = lanePair(leftFilter.m_fX1, rightFilter.m_fX1);
    LanePair x2 = lanePair(leftFilter.m_fX2, rightFilter.m_fX2);
    LanePair y1 = lanePair(leftFilter.m_fY1, rightFilter.m_fY1);
    LanePair y2 = lanePair(leftFilter.m_fY2, rightFilter.m_fY2);

    const LanePair one = bothLanes(1.0f);
    const LanePair delay = lanePair(left.m_fDelaySamples, right.m_fDelaySamples);
    const LanePair frac = delay - truncated(delay);
    const LanePair oneMinusFrac = one - frac;
    const LanePair feedback = lanePair(left.m_fFeedbackGain, right.m_fFeedbackGain);
    const LanePair wet = lanePair(left.m_fWetGain, right.m_fWetGain);
    const LanePair dry = one - wet;
    const LanePair gain = bothLanes(volume);

    float* const leftLine = left.m_pDelayLine;
    float* const rightLine = right.m_pDelayLine;
    const int32_t length = left.m_nLineLength;
    int32_t writePos = left.m_nWritePos;
    int32_t leftRead = left.m_nReadPos;
    int32_t rightRead = right.m_nReadPos;

    // The run goes in stretches in which no position wraps, so a frame only steps an index.
    uint32_t done = 0;
    while (done < count)
    {
        int32_t stretch = static_cast<int32_t>(count - done);
        if (stretch > length - writePos)
            stretch = length - writePos;
        if (stretch > length - leftRead)
            stretch = length - leftRead;
        if (stretch > length - rightRead)
            stretch = length - rightRead;
        // A tap partner at the line's end is followed by one at its start.
        if (leftRead == 0 || rightRead == 0)
            stretch = 1;

        const float* const leftTap = leftLine + leftRead;
        const float* const rightTap = rightLine + rightRead;
        const float* const leftPartner = leftRead > 0 ? leftTap - 1 : leftLine + length - 1;
        const float* const rightPartner = rightRead > 0 ? rightTap - 1 : rightLine + length - 1;
        float* const leftWrite = leftLine + writePos;
        float* const rightWrite = rightLine + writePos;
        const float* const inL = leftIn + done;
        const float* const inR = rightIn + done;
        float* const outL = leftOut + done;
        float* const outR = rightOut + done;

        for (int32_t i = 0; i < stretch; ++i)
        {
            const LanePair x = loadLanes(inL + i, inR + i);
            const LanePair y = flushTiny(a0 * x + a1 * x1 + a2 * x2 - b1 * y1 - b2 * y2);
            y2 = y1;
            y1 = y;
            x2 = x1;
            x1 = x;

            const LanePair y0 = loadLanes(leftTap + i, rightTap + i);
            const LanePair yPrevious = loadLanes(leftPartner + i, rightPartner + i);
            const LanePair yd = yPrevious * frac + oneMinusFrac * y0;
            storeLanes(feedback * yd + y, leftWrite + i, rightWrite + i);
            storeLanes((dry * x + wet * yd) * gain, outL + i, outR + i);
        }

        done += static_cast<uint32_t>(stretch);
        writePos += stretch;
        if (writePos >= length)
            writePos = 0;
        leftRead += stretch;
        if (leftRead >= length)
            leftRead = 0;
        rightRead += stretch;
        if (rightRead >= length)
            rightRead = 0;
    }

    storeVoices(left, right, x1, x2, y1, y2, writePos, leftRead, rightRead);
    return true;
}

void VoicePair::beginFrames()
{
    const CBiQuad& leftFilter = m_Left.m_InputFilter;
    const CBiQuad& rightFilter = m_Right.m_InputFilter;
    m_A0 = lanePair(leftFilter.m_fA0, rightFilter.m_fA0);
    m_A1 = lanePair(leftFilter.m_fA1, rightFilter.m_fA1);
    m_A2 = lanePair(leftFilter.m_fA2, rightFilter.m_fA2);
    m_B1 = lanePair(leftFilter.m_fB1, rightFilter.m_fB1);
    m_B2 = lanePair(leftFilter.m_fB2, rightFilter.m_fB2);
    m_X1 = lanePair(leftFilter.m_fX1, rightFilter.m_fX1);
    m_X2 = lanePair(leftFilter.m_fX2, rightFilter.m_fX2);
    m_Y1 = lanePair(leftFilter.m_fY1, rightFilter.m_fY1);
    m_Y2 = lanePair(leftFilter.m_fY2, rightFilter.m_fY2);
    m_Feedback = lanePair(m_Left.m_fFeedbackGain, m_Right.m_fFeedbackGain);
    m_Wet = lanePair(m_Left.m_fWetGain, m_Right.m_fWetGain);
    m_pLeftLine = m_Left.m_pDelayLine;
    m_pRightLine = m_Right.m_pDelayLine;
    m_nLength = m_Left.m_nLineLength;
    m_Longest = bothLanes(static_cast<float>(m_nLength - 1));
    m_nWritePos = m_Left.m_nWritePos;
    m_nLeftRead = m_Left.m_nReadPos;
    m_nRightRead = m_Right.m_nReadPos;
    // The product updateDelayVariables starts from, for the voices' rate.
    m_dSamplesPerMs = static_cast<double>(static_cast<float>(m_Left.sampleRate)) * 0.001;
    m_bRecooked = false;
    takeDelays(lanePair(m_Left.m_fDelaySamples, m_Right.m_fDelaySamples));
    const bool leftTap = m_nLeftRead == m_nWritePos && m_Left.m_fDelaySamples < 1.0f;
    const bool rightTap = m_nRightRead == m_nWritePos && m_Right.m_fDelaySamples < 1.0f;
    m_InputIsTap = laneMask(leftTap, rightTap);
}

void VoicePair::endFrames()
{
    storeVoices(m_Left, m_Right, m_X1, m_X2, m_Y1, m_Y2, m_nWritePos, m_nLeftRead, m_nRightRead);
    if (!m_bRecooked)
        return;

    // The last recook's inputs and results, as pushSettingsToVoices would have left them.
    m_LastInputs.writeTo(m_Left, m_Right);
    m_Left.m_fDelaySamples = leftLane(m_Delay);
    m_Right.m_fDelaySamples = rightLane(m_Delay);
    m_Left.m_fFeedbackGain = leftLane(m_Feedback);
    m_Right.m_fFeedbackGain = rightLane(m_Feedback);
    m_Left.m_fWetGain = leftLane(m_Wet);
    m_Right.m_fWetGain = rightLane(m_Wet);
    m_Left.computeFilterCoefficients(m_LastInputs.cutoffHz, m_LastInputs.q);
    m_Right.computeFilterCoefficientsLike(m_Left, m_LastInputs.cutoffHz, m_LastInputs.q);
}
