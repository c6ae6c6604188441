#include "Vst2ParameterChanges.h"

namespace Steinberg {
namespace Vst {

void Vst2ParamValueQueue::reset (ParamID id)
{
	paramId = id;
	pointCount = 0;
}

tresult PLUGIN_API Vst2ParamValueQueue::getPoint (int32 index, int32& sampleOffset, ParamValue& value)
{
	if (index < 0 || index >= pointCount)
		return kInvalidArgument;
	sampleOffset = points[index].offset;
	value = points[index].value;
	return kResultOk;
}

tresult PLUGIN_API Vst2ParamValueQueue::addPoint (int32 sampleOffset, ParamValue value, int32& index)
{
	int32 pos = pointCount;
	while (pos > 0 && points[pos - 1].offset > sampleOffset)
		--pos;
	if (pos > 0 && points[pos - 1].offset == sampleOffset)
	{
		points[pos - 1].value = value;
		index = pos - 1;
		return kResultOk;
	}
	if (pointCount == kMaxPoints)
	{
		if (pos < pointCount)
			return kResultFalse;
		points[pointCount - 1] = {sampleOffset, value};
		index = pointCount - 1;
		return kResultOk;
	}
	for (int32 i = pointCount; i > pos; --i)
		points[i] = points[i - 1];
	points[pos] = {sampleOffset, value};
	++pointCount;
	index = pos;
	return kResultOk;
}

tresult PLUGIN_API Vst2ParamValueQueue::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IParamValueQueue)
	QUERY_INTERFACE (iid, obj, IParamValueQueue::iid, IParamValueQueue)
	*obj = nullptr;
	return kNoInterface;
}

//------------------------------------------------------------------------
Vst2ParameterChanges::Vst2ParameterChanges (int32 maxQueues)
: queues (static_cast<size_t> (maxQueues > 0 ? maxQueues : 1))
{
}

IParamValueQueue* PLUGIN_API Vst2ParameterChanges::getParameterData (int32 index)
{
	if (index < 0 || index >= queueCount)
		return nullptr;
	return &queues[static_cast<size_t> (index)];
}

IParamValueQueue* PLUGIN_API Vst2ParameterChanges::addParameterData (const ParamID& id, int32& index)
{
	for (int32 i = 0; i < queueCount; ++i)
	{
		if (queues[static_cast<size_t> (i)].getParameterId () == id)
		{
			index = i;
			return &queues[static_cast<size_t> (i)];
		}
	}
	if (queueCount >= static_cast<int32> (queues.size ()))
		return nullptr;
	index = queueCount++;
	queues[static_cast<size_t> (index)].reset (id);
	return &queues[static_cast<size_t> (index)];
}

bool Vst2ParameterChanges::addChange (ParamID id, int32 sampleOffset, ParamValue value)
{
	int32 index = 0;
	IParamValueQueue* queue = addParameterData (id, index);
	if (queue == nullptr)
		return false;
	int32 pointIndex = 0;
	return queue->addPoint (sampleOffset, value, pointIndex) == kResultOk;
}

tresult PLUGIN_API Vst2ParameterChanges::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IParameterChanges)
	QUERY_INTERFACE (iid, obj, IParameterChanges::iid, IParameterChanges)
	*obj = nullptr;
	return kNoInterface;
}

} // namespace Vst
} // namespace Steinberg
