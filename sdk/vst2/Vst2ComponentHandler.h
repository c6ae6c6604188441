// What a wrapped plug-in reports through IComponentHandler (edits from its
// editor, restarts) and IUnitHandler, passed on to the wrapper that owns this.
#pragma once

#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <atomic>

namespace Steinberg {
namespace Vst {

class Vst2ComponentHandler : public IComponentHandler, public IUnitHandler
{
public:
	class Listener
	{
	public:
		virtual ~Listener () = default;
		virtual tresult onBeginEdit (ParamID id) = 0;
		virtual tresult onPerformEdit (ParamID id, ParamValue value) = 0;
		virtual tresult onEndEdit (ParamID id) = 0;
		virtual tresult onRestart (int32 flags) = 0;
		virtual void onProgramListChanged () = 0;
	};

	// Created with one reference, owned by the caller.
	explicit Vst2ComponentHandler (Listener* listener) : listener (listener) {}

	// After this the handler answers kResultFalse (the plug-in may still hold it).
	void detach () { listener = nullptr; }

	tresult PLUGIN_API beginEdit (ParamID id) override;
	tresult PLUGIN_API performEdit (ParamID id, ParamValue valueNormalized) override;
	tresult PLUGIN_API endEdit (ParamID id) override;
	tresult PLUGIN_API restartComponent (int32 flags) override;

	tresult PLUGIN_API notifyUnitSelection (UnitID unitId) override;
	tresult PLUGIN_API notifyProgramListChange (ProgramListID listId, int32 programIndex) override;

	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) override;
	uint32 PLUGIN_API addRef () override;
	uint32 PLUGIN_API release () override;

private:
	virtual ~Vst2ComponentHandler () = default;

	Listener* listener;
	std::atomic<uint32> refCount {1};
};

} // namespace Vst
} // namespace Steinberg
