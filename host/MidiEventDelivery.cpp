#include "MidiEventDelivery.h"

#include "adapter/MidiNotes.h"

namespace Vire2VUR3 {

using namespace Steinberg::Vst;

namespace {

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
			deliverNoteOn (effect, event.noteOn.channel, event.noteOn.pitch, toMidiValue (event.noteOn.velocity));
			break;
		case Event::kNoteOffEvent:
			deliverNoteOff (effect, event.noteOff.channel, event.noteOff.pitch, toMidiValue (event.noteOff.velocity));
			break;
		case Event::kPolyPressureEvent:
			deliverPolyPressure (effect, event.polyPressure.channel, event.polyPressure.pitch,
			                     toMidiValue (event.polyPressure.pressure));
			break;
		default:
			break;
	}
}

} // namespace Vire2VUR3
