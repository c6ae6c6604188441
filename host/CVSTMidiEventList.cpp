#include "CVSTMidiEventList.h"

#include "MidiEventDelivery.h"

namespace Vire2VUR3 {

using namespace Steinberg;
using namespace Steinberg::Vst;

CVSTMidiEventList::CVSTMidiEventList (CPlugIn* theEffect)
: effect (theEffect), hostList (nullptr), cursor (0)
{
}

CVSTMidiEventList::~CVSTMidiEventList () = default;

void CVSTMidiEventList::beginBlock (IEventList* list)
{
	hostList = list;
	cursor = 0;
}

void CVSTMidiEventList::endBlock ()
{
	hostList = nullptr;
	cursor = 0;
}

int32_t CVSTMidiEventList::getEventCount ()
{
	if (!hostList)
		return 0;
	const int32 count = hostList->getEventCount ();
	return count > 0 ? count : 0;
}

bool CVSTMidiEventList::fireMidiEvents (int32_t sampleOffset)
{
	if (!hostList || !effect)
		return false;
	Event event {};
	if (hostList->getEvent (cursor, event) != kResultOk || event.sampleOffset != sampleOffset)
		return false;
	do
	{
		deliverMidiEvent (*effect, event);
		++cursor;
	} while (hostList->getEvent (cursor, event) == kResultOk && event.sampleOffset == sampleOffset);
	return true;
}

} // namespace Vire2VUR3
