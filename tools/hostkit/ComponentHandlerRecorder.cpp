#include "hostkit/ComponentHandlerRecorder.h"

namespace Tarnwick {
namespace HostKit {

using namespace Steinberg;
using namespace Steinberg::Vst;

size_t ComponentHandlerRecorder::count (HandlerCall::Kind kind) const
{
	size_t n = 0;
	for (const HandlerCall& call : recorded)
		n += call.kind == kind ? 1 : 0;
	return n;
}

size_t ComponentHandlerRecorder::countRestarts (int32 flags) const
{
	size_t n = 0;
	for (const HandlerCall& call : recorded)
		n += (call.kind == HandlerCall::kRestartComponent && (call.flags & flags) == flags) ? 1 : 0;
	return n;
}

size_t ComponentHandlerRecorder::countEdits (HandlerCall::Kind kind, ParamID id) const
{
	size_t n = 0;
	for (const HandlerCall& call : recorded)
		n += (call.kind == kind && call.id == id) ? 1 : 0;
	return n;
}

tresult PLUGIN_API ComponentHandlerRecorder::beginEdit (ParamID id)
{
	recorded.push_back ({HandlerCall::kBeginEdit, id, 0.0, 0});
	return kResultOk;
}

tresult PLUGIN_API ComponentHandlerRecorder::performEdit (ParamID id, ParamValue valueNormalized)
{
	recorded.push_back ({HandlerCall::kPerformEdit, id, valueNormalized, 0});
	return kResultOk;
}

tresult PLUGIN_API ComponentHandlerRecorder::endEdit (ParamID id)
{
	recorded.push_back ({HandlerCall::kEndEdit, id, 0.0, 0});
	return kResultOk;
}

tresult PLUGIN_API ComponentHandlerRecorder::restartComponent (int32 flags)
{
	recorded.push_back ({HandlerCall::kRestartComponent, 0, 0.0, flags});
	return kResultOk;
}

tresult PLUGIN_API ComponentHandlerRecorder::notifyUnitSelection (UnitID unitId)
{
	recorded.push_back ({HandlerCall::kNotifyUnitSelection, static_cast<ParamID> (unitId), 0.0, 0});
	return kResultOk;
}

tresult PLUGIN_API ComponentHandlerRecorder::notifyProgramListChange (ProgramListID listId,
                                                                      int32 programIndex)
{
	recorded.push_back (
	    {HandlerCall::kNotifyProgramListChange, static_cast<ParamID> (listId), 0.0, programIndex});
	return kResultOk;
}

tresult PLUGIN_API ComponentHandlerRecorder::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IComponentHandler)
	QUERY_INTERFACE (iid, obj, IComponentHandler::iid, IComponentHandler)
	QUERY_INTERFACE (iid, obj, IUnitHandler::iid, IUnitHandler)
	*obj = nullptr;
	return kNoInterface;
}

uint32 PLUGIN_API ComponentHandlerRecorder::addRef ()
{
	return static_cast<uint32> (++refCount);
}

uint32 PLUGIN_API ComponentHandlerRecorder::release ()
{
	// Owned by the host object; never deletes itself.
	if (refCount > 1)
		--refCount;
	return static_cast<uint32> (refCount);
}

} // namespace HostKit
} // namespace Tarnwick
