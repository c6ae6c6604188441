// The MIDI controllers every effect answers, and the controls an effect assigns
// to controller numbers. The VST 3 adapter publishes the targets as its own
// parameters (the host maps controllers to them); the LV2 adapter reads the
// controllers from its MIDI input and hands them over the same way.
#pragma once

#include <cstdint>

class CPlugIn;

namespace Vire2VUR3 {

// Targets of the controllers the adapter handles itself (also the VST 3 parameter ids).
enum MidiControllerTarget : uint32_t
{
	kPitchBendTarget = 2048,
	kModWheelTarget = 2049,
	kMidiVolumeTarget = 2050,
	kMidiPanTarget = 2051,
	kMidiExpressionTarget = 2052,
	kSustainPedalTarget = 2053,
	kChannelPressureTarget = 2054,
	kAllNotesOffTarget = 2055
};

// Controller numbers past 0..127 that stand for channel pressure and pitch bend.
constexpr int kChannelPressureController = 128;
constexpr int kPitchBendController = 129;

// The target of controller `number`: one of the targets above, or the position of the
// control assigned to it (the last such control). False when nothing answers it.
bool findMidiControllerTarget (const CPlugIn& effect, int number, uint32_t& target);

// Hands a normalized value (0..1) of one of the targets above to the effect. False,
// doing nothing, for any other target.
bool applyMidiControllerValue (CPlugIn& effect, uint32_t target, double value);

} // namespace Vire2VUR3
