#include "MidiControllers.h"

#include "effect/CPlugIn.h"

namespace Vire2VUR3 {

namespace {

uint8_t midiDataFromNormalized (double value)
{
	return static_cast<uint8_t> (static_cast<float> (value) * 127.f);
}

} // namespace

bool findMidiControllerTarget (const CPlugIn& effect, int number, uint32_t& target)
{
	switch (number)
	{
		case 1: target = kModWheelTarget; return true;
		case 7: target = kMidiVolumeTarget; return true;
		case 10: target = kMidiPanTarget; return true;
		case 11: target = kMidiExpressionTarget; return true;
		case 64: target = kSustainPedalTarget; return true;
		case 123: target = kAllNotesOffTarget; return true;
		case kChannelPressureController: target = kChannelPressureTarget; return true;
		case kPitchBendController: target = kPitchBendTarget; return true;
		default: break;
	}
	bool found = false;
	const int count = effect.controlCount ();
	for (int i = 0; i < count; ++i)
	{
		const ControlDescriptor* d = effect.controlAt (i);
		if (d && d->midiControlEnabled && number >= 0 && d->midiControlNumber == static_cast<uint32_t> (number))
		{
			target = static_cast<uint32_t> (i);
			found = true;
		}
	}
	return found;
}

bool applyMidiControllerValue (CPlugIn& effect, uint32_t target, double v)
{
	switch (target)
	{
		case kPitchBendTarget:
		{
			const double bend = 2. * v - 1.;
			const int32_t bendInt = bend == -1. ? -8192 : static_cast<int32_t> (bend * 8191.);
			effect.midiPitchBend (0, bendInt, static_cast<float> (bend));
			return true;
		}
		case kModWheelTarget: effect.midiModWheel (0, midiDataFromNormalized (v)); return true;
		case kMidiVolumeTarget: effect.midiMessage (0, 7, midiDataFromNormalized (v), 0); return true;
		case kMidiPanTarget: effect.midiMessage (0, 10, midiDataFromNormalized (v), 0); return true;
		case kMidiExpressionTarget: effect.midiMessage (0, 11, midiDataFromNormalized (v), 0); return true;
		case kSustainPedalTarget: effect.midiMessage (0, 64, v > 0.5 ? 127 : 0, 0); return true;
		case kChannelPressureTarget: effect.midiMessage (0, 208, midiDataFromNormalized (v), 0); return true;
		case kAllNotesOffTarget: effect.midiNoteOff (0, 0, 0, true); return true;
		default: return false;
	}
}

} // namespace Vire2VUR3
