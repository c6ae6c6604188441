// Reads the two parameter ids from a pad sub-controller name such as
// "Joystick_X5_Y6" or "TrackPad_X12_Y13".
#pragma once

#include <cstdint>
#include <string>

namespace Vire2VUR3 {

struct PadSubControllerName
{
	// False when "_X" and "_Y" are missing or out of order.
	static bool parse (const std::string& name, int32_t& xId, int32_t& yId);
};

} // namespace Vire2VUR3
