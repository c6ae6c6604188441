#include "MidiNotes.h"

#include "effect/CPlugIn.h"

namespace Vire2VUR3 {

namespace {

bool isMidiChannel (int32_t channel) { return channel >= 0 && channel < 16; }
bool isMidiData (int32_t value) { return value >= 0 && value < 128; }

} // namespace

void deliverNoteOn (CPlugIn& effect, int32_t channel, int32_t pitch, uint32_t velocity)
{
	if (isMidiChannel (channel) && isMidiData (pitch))
		effect.midiNoteOn (static_cast<uint32_t> (channel), static_cast<uint32_t> (pitch), velocity);
}

void deliverNoteOff (CPlugIn& effect, int32_t channel, int32_t pitch, uint32_t velocity)
{
	if (isMidiChannel (channel) && isMidiData (pitch))
		effect.midiNoteOff (static_cast<uint32_t> (channel), static_cast<uint32_t> (pitch), velocity, false);
}

void deliverPolyPressure (CPlugIn& effect, int32_t channel, int32_t pitch, uint32_t pressure)
{
	if (isMidiChannel (channel) && isMidiData (pitch))
		effect.midiMessage (static_cast<uint8_t> (channel), 0xA0, static_cast<uint8_t> (pitch),
		                    static_cast<uint8_t> (pressure));
}

} // namespace Vire2VUR3
