#include "effect/VoiceSilence.h"

void VoiceSilence::countWritten(const CFilteredDelay& voice)
{
    const float* line = voice.m_pDelayLine;
    const int32_t length = voice.m_nLineLength;
    if (line == nullptr || length <= 0 || m_nUnchecked == 0)
        return;
    const int64_t written = m_nUnchecked < length ? m_nUnchecked : length;
    m_nUnchecked = 0;
    int32_t position = voice.m_nWritePos;
    int64_t zeros = 0;
    while (zeros < written)
    {
        position = position > 0 ? position - 1 : length - 1;
        if (line[position] != 0.0f)
            break;
        ++zeros;
    }
    if (zeros < written)
        m_nZeroRun = zeros;
    else if (m_nZeroRun < kWholeLine)
        m_nZeroRun += written;
}

bool VoiceSilence::isQuiet(const CFilteredDelay& voice)
{
    // Without a line the voice only scales its input.
    if (voice.m_pDelayLine == nullptr)
        return true;
    countWritten(voice);
    const CBiQuad& filter = voice.m_InputFilter;
    return m_nZeroRun >= voice.m_nLineLength && filter.m_fX1 == 0.0f && filter.m_fX2 == 0.0f &&
           filter.m_fY1 == 0.0f && filter.m_fY2 == 0.0f;
}
