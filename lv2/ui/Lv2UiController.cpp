// The Processor header must come before anything that pulls in the edit-controller interface.
#include "host/Processor.h"

#include "Lv2UiController.h"

#include "Lv2Ports.h"


#include <cmath>

namespace TarnwickLv2 {

using namespace Steinberg;
using namespace Steinberg::Vst;

Lv2UiController::Lv2UiController (IEditController* editController, LV2UI_Write_Function writeFunction,
                                  LV2UI_Controller host)
: controller (editController), write (writeFunction), hostController (host)
{
}

void Lv2UiController::writePort (uint32_t port, float value)
{
	if (write)
		write (hostController, port, sizeof (float), 0, &value);
}

void Lv2UiController::portEvent (uint32_t port, float value)
{
	if (!std::isfinite (value))
		return;
	if (controlPositionOfPort (port) >= 0)
	{
		const ParamID id = static_cast<ParamID> (controlPositionOfPort (port));
		controller->setParamNormalized (id, controller->plainParamToNormalized (id, value));
	}
	else if (port == kEnabledPort)
	{
		controller->setParamNormalized (Vire2VUR3::kBypassId, value > 0.f ? 0. : 1.);
	}
}

tresult PLUGIN_API Lv2UiController::performEdit (ParamID id, ParamValue normalized)
{
	if (id < static_cast<ParamID> (CStDelayFil::kControlCount))
		writePort (controlPort (static_cast<int> (id)),
		           static_cast<float> (controller->normalizedParamToPlain (id, normalized)));
	else if (id == Vire2VUR3::kBypassId)
		writePort (kEnabledPort, normalized > 0.5 ? 0.f : 1.f);
	return kResultOk;
}

tresult PLUGIN_API Lv2UiController::beginEdit (ParamID)
{
	return kResultOk;
}

tresult PLUGIN_API Lv2UiController::endEdit (ParamID)
{
	return kResultOk;
}

tresult PLUGIN_API Lv2UiController::restartComponent (int32)
{
	return kResultOk;
}

tresult PLUGIN_API Lv2UiController::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IComponentHandler)
	QUERY_INTERFACE (iid, obj, IComponentHandler::iid, IComponentHandler)
	*obj = nullptr;
	return kNoInterface;
}

uint32 PLUGIN_API Lv2UiController::addRef ()
{
	return ++refCount;
}

uint32 PLUGIN_API Lv2UiController::release ()
{
	const uint32 left = --refCount;
	if (left == 0)
		delete this;
	return left;
}

} // namespace TarnwickLv2
