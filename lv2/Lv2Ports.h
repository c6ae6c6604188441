// The plug-in's port indices: stereo audio in and out, one control input per
// control (in control-list order), the enable switch (bypass) and the MIDI input.
#pragma once

#include "effect/CStDelayFil.h"

#include <cstdint>

namespace TarnwickLv2 {

enum PortIndex : uint32_t
{
	kAudioInLeft = 0,
	kAudioInRight = 1,
	kAudioOutLeft = 2,
	kAudioOutRight = 3,
	kFirstControlPort = 4,
	kEnabledPort = kFirstControlPort + CStDelayFil::kControlCount,
	kMidiInPort,
	kPortCount
};

inline uint32_t controlPort (int position)
{
	return kFirstControlPort + static_cast<uint32_t> (position);
}

} // namespace TarnwickLv2
