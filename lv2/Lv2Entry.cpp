// The module's one export: the LV2 descriptor of Tarnwick. No exception leaves it.
#include "Lv2Plugin.h"
#include "TarnwickLv2Uris.h"

#include <lv2/core/lv2.h>

#include <cstring>

namespace TarnwickLv2 {

namespace {

Lv2Plugin* self (LV2_Handle instance)
{
	return static_cast<Lv2Plugin*> (instance);
}

LV2_Handle instantiate (const LV2_Descriptor*, double sampleRate, const char*, const LV2_Feature* const* features)
{
	try
	{
		return Lv2Plugin::create (sampleRate, features);
	}
	catch (...)
	{
		return nullptr;
	}
}

void connectPort (LV2_Handle instance, uint32_t port, void* data)
{
	self (instance)->connectPort (port, data);
}

void activate (LV2_Handle instance)
{
	self (instance)->activate ();
}

void run (LV2_Handle instance, uint32_t frames)
{
	self (instance)->run (frames);
}

void deactivate (LV2_Handle) {}

void cleanup (LV2_Handle instance)
{
	delete self (instance);
}

LV2_State_Status save (LV2_Handle instance, LV2_State_Store_Function store, LV2_State_Handle handle, uint32_t,
                       const LV2_Feature* const*)
{
	try
	{
		return self (instance)->save (store, handle);
	}
	catch (...)
	{
		return LV2_STATE_ERR_UNKNOWN;
	}
}

LV2_State_Status restore (LV2_Handle instance, LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle,
                          uint32_t, const LV2_Feature* const*)
{
	try
	{
		return self (instance)->restore (retrieve, handle);
	}
	catch (...)
	{
		return LV2_STATE_ERR_UNKNOWN;
	}
}

const LV2_State_Interface stateInterface = {save, restore};

const void* extensionData (const char* uri)
{
	if (uri && std::strcmp (uri, LV2_STATE__interface) == 0)
		return &stateInterface;
	return nullptr;
}

const LV2_Descriptor descriptor = {TARNWICK_LV2_URI, instantiate, connectPort, activate, run,
                                   deactivate,       cleanup,     extensionData};

} // namespace

} // namespace TarnwickLv2

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor (uint32_t index)
{
	return index == 0 ? &TarnwickLv2::descriptor : nullptr;
}
