#include "effect/VoicePair.h"

namespace {

LanePair fractionOf(float leftDelay, float rightDelay)
{
    const float left = leftDelay - static_cast<float>(static_cast<int32_t>(leftDelay));
    const float right = rightDelay - static_cast<float>(static_cast<int32_t>(rightDelay));
    return lanePair(left, right);
}

}  // namespace

void VoicePair::runAtRest(const float* leftIn, const float* rightIn, float* leftOut, float* rightOut, uint32_t count,
                          float volume)
{
    CBiQuad& leftFilter = m_Left.m_InputFilter;
    CBiQuad& rightFilter = m_Right.m_InputFilter;
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
    const LanePair frac = fractionOf(m_Left.m_fDelaySamples, m_Right.m_fDelaySamples);
    const LanePair oneMinusFrac = one - frac;
    const LanePair feedback = lanePair(m_Left.m_fFeedbackGain, m_Right.m_fFeedbackGain);
    const LanePair wet = lanePair(m_Left.m_fWetGain, m_Right.m_fWetGain);
    const LanePair dry = one - wet;
    const LanePair gain = bothLanes(volume);

    float* const leftLine = m_Left.m_pDelayLine;
    float* const rightLine = m_Right.m_pDelayLine;
    const int32_t length = m_Left.m_nLineLength;
    int32_t writePos = m_Left.m_nWritePos;
    int32_t leftRead = m_Left.m_nReadPos;
    int32_t rightRead = m_Right.m_nReadPos;

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

    leftFilter.m_fX1 = leftLane(x1);
    rightFilter.m_fX1 = rightLane(x1);
    leftFilter.m_fX2 = leftLane(x2);
    rightFilter.m_fX2 = rightLane(x2);
    leftFilter.m_fY1 = leftLane(y1);
    rightFilter.m_fY1 = rightLane(y1);
    leftFilter.m_fY2 = leftLane(y2);
    rightFilter.m_fY2 = rightLane(y2);
    m_Left.m_nWritePos = writePos;
    m_Right.m_nWritePos = writePos;
    m_Left.m_nReadPos = leftRead;
    m_Right.m_nReadPos = rightRead;
}
