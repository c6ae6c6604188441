#pragma once

#include "pluginterfaces/vst/vsttypes.h"

#include <string>

// UTF-16 text of the host interfaces as std::u16string, and ASCII test text into UTF-16.
inline std::u16string text16 (const Steinberg::Vst::TChar* text)
{
	std::u16string out;
	for (int k = 0; k < 128 && text[k]; ++k)
		out += static_cast<char16_t> (text[k]);
	return out;
}

inline std::u16string u16 (const std::string& ascii)
{
	return std::u16string (ascii.begin (), ascii.end ());
}

inline std::u16string displayText (const Steinberg::Vst::TChar* text)
{
	return text16 (text);
}
