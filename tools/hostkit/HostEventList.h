// The events a host hands to one process call, with fixed capacity.
#pragma once

#include "pluginterfaces/vst/ivstevents.h"

#include <vector>

namespace Tarnwick {
namespace HostKit {

class HostEventList : public Steinberg::Vst::IEventList
{
public:
	explicit HostEventList (Steinberg::int32 capacity = 512);
	virtual ~HostEventList () = default;

	void clear () { count = 0; }
	bool addNoteOn (Steinberg::int32 sampleOffset, Steinberg::int16 channel, Steinberg::int16 pitch,
	                float velocity, Steinberg::int32 noteId = -1);
	bool addNoteOff (Steinberg::int32 sampleOffset, Steinberg::int16 channel, Steinberg::int16 pitch,
	                 float velocity, Steinberg::int32 noteId = -1);

	Steinberg::int32 PLUGIN_API getEventCount () override { return count; }
	Steinberg::tresult PLUGIN_API getEvent (Steinberg::int32 index, Steinberg::Vst::Event& e) override;
	// false (kResultFalse) when full.
	Steinberg::tresult PLUGIN_API addEvent (Steinberg::Vst::Event& e) override;

	Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID iid, void** obj) override;
	Steinberg::uint32 PLUGIN_API addRef () override { return 1; }
	Steinberg::uint32 PLUGIN_API release () override { return 1; }

private:
	Steinberg::int32 count = 0;
	std::vector<Steinberg::Vst::Event> events;
};

} // namespace HostKit
} // namespace Tarnwick
