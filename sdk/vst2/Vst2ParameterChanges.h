// Parameter changes handed to IAudioProcessor::process by the VST 2 wrapper.
// All storage is reserved at construction: filling and clearing them on the
// audio thread allocates nothing.
#pragma once

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <vector>

namespace Steinberg {
namespace Vst {

class Vst2ParamValueQueue : public IParamValueQueue
{
public:
	static constexpr int32 kMaxPoints = 64;

	void reset (ParamID id);

	ParamID PLUGIN_API getParameterId () override { return paramId; }
	int32 PLUGIN_API getPointCount () override { return pointCount; }
	tresult PLUGIN_API getPoint (int32 index, int32& sampleOffset, ParamValue& value) override;
	// Keeps the points ordered by offset; a point at an offset already present
	// replaces its value. When full, the latest point is overwritten so the final
	// value of a burst is never lost.
	tresult PLUGIN_API addPoint (int32 sampleOffset, ParamValue value, int32& index) override;

	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) override;
	uint32 PLUGIN_API addRef () override { return 1; }
	uint32 PLUGIN_API release () override { return 1; }

private:
	struct Point
	{
		int32 offset;
		ParamValue value;
	};

	ParamID paramId {kNoParamId};
	int32 pointCount {0};
	Point points[kMaxPoints] {};
};

class Vst2ParameterChanges : public IParameterChanges
{
public:
	explicit Vst2ParameterChanges (int32 maxQueues);

	void clear () { queueCount = 0; }

	int32 PLUGIN_API getParameterCount () override { return queueCount; }
	IParamValueQueue* PLUGIN_API getParameterData (int32 index) override;
	IParamValueQueue* PLUGIN_API addParameterData (const ParamID& id, int32& index) override;

	// Adds one point for id; false when there is no room.
	bool addChange (ParamID id, int32 sampleOffset, ParamValue value);

	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) override;
	uint32 PLUGIN_API addRef () override { return 1; }
	uint32 PLUGIN_API release () override { return 1; }

private:
	std::vector<Vst2ParamValueQueue> queues;
	int32 queueCount {0};
};

} // namespace Vst
} // namespace Steinberg
