#include "hostkit/HostEventList.h"

namespace Tarnwick {
namespace HostKit {

using namespace Steinberg;
using namespace Steinberg::Vst;

HostEventList::HostEventList (int32 capacity)
: events (static_cast<size_t> (capacity > 0 ? capacity : 0))
{
}

bool HostEventList::addNoteOn (int32 sampleOffset, int16 channel, int16 pitch, float velocity,
                               int32 noteId)
{
	Event e {};
	e.busIndex = 0;
	e.sampleOffset = sampleOffset;
	e.type = Event::kNoteOnEvent;
	e.noteOn.channel = channel;
	e.noteOn.pitch = pitch;
	e.noteOn.velocity = velocity;
	e.noteOn.noteId = noteId;
	return addEvent (e) == kResultOk;
}

bool HostEventList::addNoteOff (int32 sampleOffset, int16 channel, int16 pitch, float velocity,
                                int32 noteId)
{
	Event e {};
	e.busIndex = 0;
	e.sampleOffset = sampleOffset;
	e.type = Event::kNoteOffEvent;
	e.noteOff.channel = channel;
	e.noteOff.pitch = pitch;
	e.noteOff.velocity = velocity;
	e.noteOff.noteId = noteId;
	return addEvent (e) == kResultOk;
}

tresult PLUGIN_API HostEventList::getEvent (int32 index, Event& e)
{
	if (index < 0 || index >= count)
		return kResultFalse;
	e = events[static_cast<size_t> (index)];
	return kResultOk;
}

tresult PLUGIN_API HostEventList::addEvent (Event& e)
{
	if (count >= static_cast<int32> (events.size ()))
		return kResultFalse;
	events[static_cast<size_t> (count)] = e;
	++count;
	return kResultOk;
}

tresult PLUGIN_API HostEventList::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IEventList)
	QUERY_INTERFACE (iid, obj, IEventList::iid, IEventList)
	*obj = nullptr;
	return kNoInterface;
}

} // namespace HostKit
} // namespace Tarnwick
