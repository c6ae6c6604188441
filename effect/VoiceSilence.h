#pragma once

#include "effect/CFilteredDelay.h"

#include <cstdint>

// Whether a voice has gone quiet: no filter history and nothing but zeros in its delay line, so
// that running it on silent input writes and outputs only zeros and changes nothing but where
// its line positions stand. Followed from outside the voice's loop: the runs only count the
// samples written, and the question looks at them from the end (the adapter asks only when the
// input starts silent).
class VoiceSilence
{
public:
    // A prepared voice: a zeroed line and a cleared filter.
    void reset()
    {
        m_nZeroRun = kWholeLine;
        m_nUnchecked = 0;
    }

    // A run of `frames` frames of the voice.
    void countRun(uint32_t frames) { m_nUnchecked += frames; }

    bool isQuiet(const CFilteredDelay& voice);

private:
    // Takes the samples written since the last look into the zero run.
    void countWritten(const CFilteredDelay& voice);

    static const int64_t kWholeLine = INT64_MAX / 2;
    // How many of the samples written last are zero (as of the last look).
    int64_t m_nZeroRun = kWholeLine;
    // Samples written since then.
    int64_t m_nUnchecked = 0;
};
