#include "ParameterText.h"

#include "base/source/fstring.h"
#include "pluginterfaces/base/ustring.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace Vire2VUR3 {

using namespace Steinberg;

void printPlainValue (double value, int32 precision, Vst::String128 out)
{
	if (precision < 0)
		precision = 0;
	if (precision > 16)
		precision = 16;
	// Large enough for any double at 16 decimals; snprintf truncates safely anyway.
	char text[400];
	int length = std::snprintf (text, sizeof (text), "%.*f", static_cast<int> (precision), value);
	if (length < 0)
		length = 0;
	if (length > 127)
		length = 127;
	for (int k = 0; k < length; ++k)
		out[k] = static_cast<Vst::TChar> (static_cast<unsigned char> (text[k]));
	out[length] = 0;
}

void copyUtf8 (const char* text, Vst::TChar* out, int32 capacity)
{
	if (!out || capacity <= 0)
		return;
	out[0] = 0;
	if (!text || !text[0])
		return;
	String wide (text);
	wide.toWideString (kCP_Utf8);
	UString (out, capacity).assign (wide.text16 ());
}

bool scanPlainValue (const Vst::TChar* text, double& value)
{
	if (!text)
		return false;
	// Numbers are plain ASCII; anything else ends the scan.
	char ascii[128];
	int k = 0;
	for (; k < 127 && text[k] != 0; ++k)
	{
		if (text[k] > 0x7F)
			break;
		ascii[k] = static_cast<char> (text[k]);
	}
	ascii[k] = 0;
	char* end = nullptr;
	const double scanned = std::strtod (ascii, &end);
	if (end == ascii || !std::isfinite (scanned))
		return false;
	value = scanned;
	return true;
}

} // namespace Vire2VUR3
