#include "hostkit/HostParameterChanges.h"

namespace Tarnwick {
namespace HostKit {

using namespace Steinberg;
using namespace Steinberg::Vst;

HostParamValueQueue::HostParamValueQueue (int32 capacity)
: points (static_cast<size_t> (capacity > 0 ? capacity : 1))
{
}

void HostParamValueQueue::reset (ParamID id)
{
	parameterId = id;
	count = 0;
}

tresult PLUGIN_API HostParamValueQueue::getPoint (int32 index, int32& sampleOffset, ParamValue& value)
{
	if (index < 0 || index >= count)
		return kResultFalse;
	sampleOffset = points[static_cast<size_t> (index)].offset;
	value = points[static_cast<size_t> (index)].value;
	return kResultTrue;
}

tresult PLUGIN_API HostParamValueQueue::addPoint (int32 sampleOffset, ParamValue value, int32& index)
{
	int32 position = 0;
	while (position < count && points[static_cast<size_t> (position)].offset < sampleOffset)
		++position;
	if (position < count && points[static_cast<size_t> (position)].offset == sampleOffset)
	{
		points[static_cast<size_t> (position)].value = value;
		index = position;
		return kResultTrue;
	}
	if (count >= static_cast<int32> (points.size ()))
		return kResultFalse;
	for (int32 i = count; i > position; --i)
		points[static_cast<size_t> (i)] = points[static_cast<size_t> (i - 1)];
	points[static_cast<size_t> (position)] = {sampleOffset, value};
	++count;
	index = position;
	return kResultTrue;
}

tresult PLUGIN_API HostParamValueQueue::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IParamValueQueue)
	QUERY_INTERFACE (iid, obj, IParamValueQueue::iid, IParamValueQueue)
	*obj = nullptr;
	return kNoInterface;
}

HostParameterChanges::HostParameterChanges (int32 maxParameters, int32 maxPointsPerParameter)
: queues (static_cast<size_t> (maxParameters > 0 ? maxParameters : 1),
          HostParamValueQueue (maxPointsPerParameter))
{
}

bool HostParameterChanges::addChange (ParamID id, int32 sampleOffset, ParamValue value)
{
	int32 index = 0;
	IParamValueQueue* queue = addParameterData (id, index);
	if (queue == nullptr)
		return false;
	int32 pointIndex = 0;
	return queue->addPoint (sampleOffset, value, pointIndex) == kResultTrue;
}

bool HostParameterChanges::lastValue (ParamID id, ParamValue& value) const
{
	for (int32 i = 0; i < count; ++i)
	{
		auto& queue = const_cast<HostParamValueQueue&> (queues[static_cast<size_t> (i)]);
		if (queue.getParameterId () != id || queue.getPointCount () == 0)
			continue;
		int32 offset = 0;
		return queue.getPoint (queue.getPointCount () - 1, offset, value) == kResultTrue;
	}
	return false;
}

IParamValueQueue* PLUGIN_API HostParameterChanges::getParameterData (int32 index)
{
	if (index < 0 || index >= count)
		return nullptr;
	return &queues[static_cast<size_t> (index)];
}

IParamValueQueue* PLUGIN_API HostParameterChanges::addParameterData (const ParamID& id, int32& index)
{
	for (int32 i = 0; i < count; ++i)
	{
		if (queues[static_cast<size_t> (i)].getParameterId () == id)
		{
			index = i;
			return &queues[static_cast<size_t> (i)];
		}
	}
	if (count >= static_cast<int32> (queues.size ()))
		return nullptr;
	index = count;
	queues[static_cast<size_t> (count)].reset (id);
	++count;
	return &queues[static_cast<size_t> (index)];
}

tresult PLUGIN_API HostParameterChanges::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IParameterChanges)
	QUERY_INTERFACE (iid, obj, IParameterChanges::iid, IParameterChanges)
	*obj = nullptr;
	return kNoInterface;
}

} // namespace HostKit
} // namespace Tarnwick
