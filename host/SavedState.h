// The Processor's saved state: a little-endian stream of the version, each
// control's value in its variable's type, the bypass flag and the joystick
// position. Read as a whole and checked before anything is applied, so that a
// truncated, corrupt or foreign stream changes nothing.
#pragma once

#include "pluginterfaces/base/ibstream.h"

#include <vector>

class CPlugIn;

namespace Vire2VUR3 {

class SavedState
{
public:
	// Writes the current state of effect (version 1). controlValues, when given, holds the plain
	// value to save for each control by position instead of the effect's own.
	static bool write (Steinberg::IBStream* stream, const CPlugIn& effect, bool bypass,
	                   const float* controlValues = nullptr);

	// Reads a whole stream laid out for effect's controls. False, with this
	// object left unusable, for a short or unknown stream or a value that is
	// not a number. Values outside a control's range are clamped into it; the
	// joystick position into -1..1.
	bool read (Steinberg::IBStream* stream, const CPlugIn& effect);

	Steinberg::int64 version = 0;
	// One entry per position; hasValue is false where the control is missing
	// or its variable type has no field.
	std::vector<double> controlValues;
	std::vector<bool> hasValue;
	bool bypass = false;
	// Only version 1 and later carry the joystick.
	bool hasJoystick = false;
	float joystickX = 0.f;
	float joystickY = 0.f;
};

} // namespace Vire2VUR3
