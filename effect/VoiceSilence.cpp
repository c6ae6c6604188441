#include "effect/VoiceSilence.h"

namespace {

// How many of the `count` samples before `end` are zero, counted back from the last.
int64_t zerosBefore(const float* end, int64_t count)
{
    int64_t zeros = 0;
    while (zeros < count && end[-1 - zeros] == 0.0f)
        ++zeros;
    return zeros;
}

}  // namespace

void VoiceSilence::countWritten(const CFilteredDelay& voice)
{
    const float* line = voice.m_pDelayLine;
    const int32_t length = voice.m_nLineLength;
    if (line == nullptr || length <= 0 || m_nUnchecked == 0)
        return;
    const int64_t written = m_nUnchecked < length ? m_nUnchecked : length;
    m_nUnchecked = 0;
    // From the newest sample back: the piece before the write position, then the one the wrap
    // left at the line's end.
    const int32_t position = voice.m_nWritePos;
    const int64_t nearPiece = written < position ? written : position;
    int64_t zeros = zerosBefore(line + position, nearPiece);
    if (zeros == nearPiece && written > nearPiece)
        zeros += zerosBefore(line + length, written - nearPiece);
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
