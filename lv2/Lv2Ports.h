// The plug-in's port indices: stereo audio in and out, one control input per
// control of the first release (in control-list order), the enable switch (bypass),
// the MIDI input, then what was added later (the later controls, the time input for
// the host's tempo), so that the first release's ports keep their indices.
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
	kEnabledPort = kFirstControlPort + CStDelayFil::kFirstReleaseControlCount,
	kMidiInPort,
	kFirstLaterControlPort,
	kTimeInPort = kFirstLaterControlPort + CStDelayFil::kControlCount - CStDelayFil::kFirstReleaseControlCount,
	kPortCount
};

inline uint32_t controlPort (int position)
{
	if (position < CStDelayFil::kFirstReleaseControlCount)
		return kFirstControlPort + static_cast<uint32_t> (position);
	return kFirstLaterControlPort + static_cast<uint32_t> (position - CStDelayFil::kFirstReleaseControlCount);
}

// The control a port carries, or -1.
inline int controlPositionOfPort (uint32_t port)
{
	if (port >= kFirstControlPort && port < kEnabledPort)
		return static_cast<int> (port - kFirstControlPort);
	if (port >= kFirstLaterControlPort && port < kTimeInPort)
		return CStDelayFil::kFirstReleaseControlCount + static_cast<int> (port - kFirstLaterControlPort);
	return -1;
}

} // namespace TarnwickLv2
