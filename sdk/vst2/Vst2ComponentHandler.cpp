#include "Vst2ComponentHandler.h"

namespace Steinberg {
namespace Vst {

tresult PLUGIN_API Vst2ComponentHandler::beginEdit (ParamID id)
{
	return listener ? listener->onBeginEdit (id) : kResultFalse;
}

tresult PLUGIN_API Vst2ComponentHandler::performEdit (ParamID id, ParamValue valueNormalized)
{
	return listener ? listener->onPerformEdit (id, valueNormalized) : kResultFalse;
}

tresult PLUGIN_API Vst2ComponentHandler::endEdit (ParamID id)
{
	return listener ? listener->onEndEdit (id) : kResultFalse;
}

tresult PLUGIN_API Vst2ComponentHandler::restartComponent (int32 flags)
{
	return listener ? listener->onRestart (flags) : kResultFalse;
}

tresult PLUGIN_API Vst2ComponentHandler::notifyUnitSelection (UnitID)
{
	return kResultOk;
}

tresult PLUGIN_API Vst2ComponentHandler::notifyProgramListChange (ProgramListID, int32)
{
	if (listener == nullptr)
		return kResultFalse;
	listener->onProgramListChanged ();
	return kResultOk;
}

tresult PLUGIN_API Vst2ComponentHandler::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IComponentHandler)
	QUERY_INTERFACE (iid, obj, IComponentHandler::iid, IComponentHandler)
	QUERY_INTERFACE (iid, obj, IUnitHandler::iid, IUnitHandler)
	*obj = nullptr;
	return kNoInterface;
}

uint32 PLUGIN_API Vst2ComponentHandler::addRef ()
{
	return ++refCount;
}

uint32 PLUGIN_API Vst2ComponentHandler::release ()
{
	const uint32 left = --refCount;
	if (left == 0)
		delete this;
	return left;
}

} // namespace Vst
} // namespace Steinberg
