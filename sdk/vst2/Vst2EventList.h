// The event list handed to IAudioProcessor::process by the VST 2 wrapper;
// fixed capacity, so the audio thread never allocates.
#pragma once

#include "pluginterfaces/vst/ivstevents.h"

namespace Steinberg {
namespace Vst {

class Vst2EventList : public IEventList
{
public:
	static constexpr int32 kMaxEvents = 1024;

	void clear () { eventCount = 0; }

	int32 PLUGIN_API getEventCount () override { return eventCount; }
	tresult PLUGIN_API getEvent (int32 index, Event& e) override;
	// kResultFalse once the list is full.
	tresult PLUGIN_API addEvent (Event& e) override;

	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) override;
	uint32 PLUGIN_API addRef () override { return 1; }
	uint32 PLUGIN_API release () override { return 1; }

private:
	int32 eventCount {0};
	Event events[kMaxEvents] {};
};

} // namespace Vst
} // namespace Steinberg
