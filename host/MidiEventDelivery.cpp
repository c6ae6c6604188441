#include "MidiEventDelivery.h"

#include "effect/CPlugIn.h"

namespace Vire2VUR3 {

using namespace Steinberg::Vst;

namespace {

bool isMidiChannel (int32_t channel) { return channel >= 0 && channel < 16; }
bool isMidiData (int32_t value) { return value >= 0 && value < 128; }

// A host's 0..1 velocity or pressure as a 0..127 MIDI value (truncated).
uint32_t toMidiValue (float value)
{
	if (!(value > 0.f))
		return 0;
	if (value > 1.f)
		value = 1.f;
	return static_cast<uint32_t> (value * 127.f);
}

} // namespace

void deliverMidiEvent (CPlugIn& effect, const Event& event)
{
	switch (event.type)
	{
		case Event::kNoteOnEvent:
			if (isMidiChannel (event.noteOn.channel) && isMidiData (event.noteOn.pitch))
				effect.midiNoteOn (static_cast<uint32_t> (event.noteOn.channel),
				                   static_cast<uint32_t> (event.noteOn.pitch),
				                   toMidiValue (event.noteOn.velocity));
			break;
		case Event::kNoteOffEvent:
			if (isMidiChannel (event.noteOff.channel) && isMidiData (event.noteOff.pitch))
				effect.midiNoteOff (static_cast<uint32_t> (event.noteOff.channel),
				                    static_cast<uint32_t> (event.noteOff.pitch),
				                    toMidiValue (event.noteOff.velocity), false);
			break;
		case Event::kPolyPressureEvent:
			if (isMidiChannel (event.polyPressure.channel) && isMidiData (event.polyPressure.pitch))
				effect.midiMessage (static_cast<uint8_t> (event.polyPressure.channel), 0xA0,
				                    static_cast<uint8_t> (event.polyPressure.pitch),
				                    static_cast<uint8_t> (toMidiValue (event.polyPressure.pressure)));
			break;
		default:
			break;
	}
}

} // namespace Vire2VUR3
