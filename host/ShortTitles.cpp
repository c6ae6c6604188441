#include "ShortTitles.h"

#include "ParameterText.h"

#include <cstring>

namespace Vire2VUR3 {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

struct ShortTitle
{
	const char* title;
	const char* shortTitle;
};

// Titles that fit stay as they are.
constexpr ShortTitle kShortTitles[] = {
    {"Feedback", "Feedbk"},
    {"Resonance", "Reso"},
    {"Delay Ratio", "DlyRat"},
    {"Delay State", "DlyStat"},
    {"VectorJoystick X", "JoyX"},
    {"VectorJoystick Y", "JoyY"},
    {"PitchBend", "PBend"},
    {"MIDI Vol", "MidiVol"},
    {"MIDI Pan", "MidiPan"},
    {"MIDI Mod Wheel", "ModWhl"},
    {"MIDI Expression", "Expr"},
    {"MIDI Channel Pressure", "ChPress"},
    {"MIDI Sustain Pedal", "Sustain"},
    {"All Notes Off", "NoteOff"},
    {"Factory Presets", "Presets"},
};

bool titleIs (const String128 title, const char* text)
{
	size_t i = 0;
	for (; text[i] != 0; ++i)
		if (title[i] != static_cast<TChar> (static_cast<unsigned char> (text[i])))
			return false;
	return title[i] == 0;
}

} // namespace

void assignShortTitles (ParameterContainer& parameters)
{
	const int32 count = parameters.getParameterCount ();
	for (int32 i = 0; i < count; ++i)
	{
		Parameter* parameter = parameters.getParameterByIndex (i);
		if (!parameter)
			continue;
		ParameterInfo& info = parameter->getInfo ();
		for (const ShortTitle& entry : kShortTitles)
			if (titleIs (info.title, entry.title))
				copyUtf8 (entry.shortTitle, info.shortTitle, 128);
	}
}

} // namespace Vire2VUR3
