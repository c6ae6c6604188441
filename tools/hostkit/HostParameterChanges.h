// The parameter changes a host hands to one process call, with fixed capacity (no allocation
// while a block is assembled).
#pragma once

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <vector>

namespace Tarnwick {
namespace HostKit {

class HostParamValueQueue : public Steinberg::Vst::IParamValueQueue
{
public:
	explicit HostParamValueQueue (Steinberg::int32 capacity = 64);
	virtual ~HostParamValueQueue () = default;

	void reset (Steinberg::Vst::ParamID id);

	Steinberg::Vst::ParamID PLUGIN_API getParameterId () override { return parameterId; }
	Steinberg::int32 PLUGIN_API getPointCount () override { return count; }
	Steinberg::tresult PLUGIN_API getPoint (Steinberg::int32 index, Steinberg::int32& sampleOffset,
	                                        Steinberg::Vst::ParamValue& value) override;
	// Points are kept in offset order; a point at an existing offset replaces its value.
	Steinberg::tresult PLUGIN_API addPoint (Steinberg::int32 sampleOffset,
	                                        Steinberg::Vst::ParamValue value,
	                                        Steinberg::int32& index) override;

	// Not reference counted: the owner keeps it alive for the block.
	Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID iid, void** obj) override;
	Steinberg::uint32 PLUGIN_API addRef () override { return 1; }
	Steinberg::uint32 PLUGIN_API release () override { return 1; }

private:
	struct Point
	{
		Steinberg::int32 offset;
		Steinberg::Vst::ParamValue value;
	};
	Steinberg::Vst::ParamID parameterId = 0;
	Steinberg::int32 count = 0;
	std::vector<Point> points;
};

class HostParameterChanges : public Steinberg::Vst::IParameterChanges
{
public:
	explicit HostParameterChanges (Steinberg::int32 maxParameters = 64,
	                               Steinberg::int32 maxPointsPerParameter = 64);
	virtual ~HostParameterChanges () = default;

	void clear () { count = 0; }
	// Adds a point to the parameter's queue (creating it); false when the capacity is exhausted.
	bool addChange (Steinberg::Vst::ParamID id, Steinberg::int32 sampleOffset,
	                Steinberg::Vst::ParamValue value);
	// Last value of the parameter in this block, if it has a queue with points.
	bool lastValue (Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue& value) const;

	Steinberg::int32 PLUGIN_API getParameterCount () override { return count; }
	Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData (Steinberg::int32 index) override;
	Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData (const Steinberg::Vst::ParamID& id,
	                                                               Steinberg::int32& index) override;

	Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID iid, void** obj) override;
	Steinberg::uint32 PLUGIN_API addRef () override { return 1; }
	Steinberg::uint32 PLUGIN_API release () override { return 1; }

private:
	Steinberg::int32 count = 0;
	std::vector<HostParamValueQueue> queues;
};

} // namespace HostKit
} // namespace Tarnwick
