#pragma once

#include "effect/CFilteredDelay.h"

#include <cstdint>

// Whether a voice has gone quiet: no filter history and nothing but zeros in its delay line, so
// that running it on silent input writes and outputs only zeros and changes nothing but where
// its line positions stand. Followed from outside the voice's loop: after each run the samples
// it wrote last are looked at from the end.
class VoiceSilence
{
public:
    // A prepared voice: a zeroed line and a cleared filter.
    void reset() { m_nZeroRun = kWholeLine; }

    // After the voice has run `frames` frames.
    void afterRun(const CFilteredDelay& voice, uint32_t frames);

    bool isQuiet(const CFilteredDelay& voice) const;

private:
    static const int64_t kWholeLine = INT64_MAX / 2;
    // How many of the samples written last are zero.
    int64_t m_nZeroRun = kWholeLine;
};
