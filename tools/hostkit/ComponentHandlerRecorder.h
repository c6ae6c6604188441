// The host's IComponentHandler (and IUnitHandler): records every call the plug-in makes.
#pragma once

#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <vector>

namespace Tarnwick {
namespace HostKit {

struct HandlerCall
{
	enum Kind
	{
		kBeginEdit,
		kPerformEdit,
		kEndEdit,
		kRestartComponent,
		kNotifyUnitSelection,
		kNotifyProgramListChange
	};
	Kind kind;
	Steinberg::Vst::ParamID id;          // parameter id, or program list id
	Steinberg::Vst::ParamValue value;    // performEdit value
	Steinberg::int32 flags;              // restartComponent flags, or program index
};

class ComponentHandlerRecorder : public Steinberg::Vst::IComponentHandler,
                                 public Steinberg::Vst::IUnitHandler
{
public:
	ComponentHandlerRecorder () = default;
	virtual ~ComponentHandlerRecorder () = default;

	const std::vector<HandlerCall>& calls () const { return recorded; }
	void clear () { recorded.clear (); }
	// Number of recorded calls of a kind (and, when given, with that restart flag set / that id).
	size_t count (HandlerCall::Kind kind) const;
	size_t countRestarts (Steinberg::int32 flags) const;
	size_t countEdits (HandlerCall::Kind kind, Steinberg::Vst::ParamID id) const;

	// IComponentHandler
	Steinberg::tresult PLUGIN_API beginEdit (Steinberg::Vst::ParamID id) override;
	Steinberg::tresult PLUGIN_API performEdit (Steinberg::Vst::ParamID id,
	                                           Steinberg::Vst::ParamValue valueNormalized) override;
	Steinberg::tresult PLUGIN_API endEdit (Steinberg::Vst::ParamID id) override;
	Steinberg::tresult PLUGIN_API restartComponent (Steinberg::int32 flags) override;

	// IUnitHandler
	Steinberg::tresult PLUGIN_API notifyUnitSelection (Steinberg::Vst::UnitID unitId) override;
	Steinberg::tresult PLUGIN_API notifyProgramListChange (Steinberg::Vst::ProgramListID listId,
	                                                       Steinberg::int32 programIndex) override;

	Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID iid, void** obj) override;
	Steinberg::uint32 PLUGIN_API addRef () override;
	Steinberg::uint32 PLUGIN_API release () override;

	// Outstanding references the plug-in holds (0 once it let go).
	Steinberg::int32 referencesHeld () const { return refCount - 1; }

private:
	Steinberg::int32 refCount = 1;
	std::vector<HandlerCall> recorded;
};

} // namespace HostKit
} // namespace Tarnwick
