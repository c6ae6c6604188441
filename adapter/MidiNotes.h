// Note on, note off and poly pressure as the framework's MIDI calls. Events with a
// channel or pitch outside MIDI's range are ignored. Velocities and pressures are
// already 0..127.
#pragma once

#include <cstdint>

class CPlugIn;

namespace Vire2VUR3 {

void deliverNoteOn (CPlugIn& effect, int32_t channel, int32_t pitch, uint32_t velocity);
void deliverNoteOff (CPlugIn& effect, int32_t channel, int32_t pitch, uint32_t velocity);
void deliverPolyPressure (CPlugIn& effect, int32_t channel, int32_t pitch, uint32_t pressure);

} // namespace Vire2VUR3
