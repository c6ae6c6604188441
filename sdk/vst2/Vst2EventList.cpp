#include "Vst2EventList.h"

namespace Steinberg {
namespace Vst {

tresult PLUGIN_API Vst2EventList::getEvent (int32 index, Event& e)
{
	if (index < 0 || index >= eventCount)
		return kInvalidArgument;
	e = events[index];
	return kResultOk;
}

tresult PLUGIN_API Vst2EventList::addEvent (Event& e)
{
	if (eventCount >= kMaxEvents)
		return kResultFalse;
	events[eventCount++] = e;
	return kResultOk;
}

tresult PLUGIN_API Vst2EventList::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IEventList)
	QUERY_INTERFACE (iid, obj, IEventList::iid, IEventList)
	*obj = nullptr;
	return kNoInterface;
}

} // namespace Vst
} // namespace Steinberg
