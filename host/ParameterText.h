// Text conversions shared by the adapter's parameter classes: plain values
// printed into, and scanned out of, the host's 128-unit UTF-16 strings.
#pragma once

#include "pluginterfaces/vst/vsttypes.h"

namespace Vire2VUR3 {

// Prints value with the given number of decimal places. Never writes past the
// 128 units, whatever the value.
void printPlainValue (double value, Steinberg::int32 precision, Steinberg::Vst::String128 out);

// Copies UTF-8 text into a UTF-16 buffer of the given capacity (in units),
// truncated and terminated.
void copyUtf8 (const char* text, Steinberg::Vst::TChar* out, Steinberg::int32 capacity);

// Reads a decimal number from the start of text (leading blanks allowed).
// False when there is none or it is not finite.
bool scanPlainValue (const Steinberg::Vst::TChar* text, double& value);

} // namespace Vire2VUR3
