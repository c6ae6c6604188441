// The UI module's one export: the LV2 UI descriptor of Tarnwick's editor. No exception
// leaves it.
// The Processor header must come before anything that pulls in the edit-controller interface.
#include "host/Processor.h"

#include "Lv2EditorUi.h"

#include "TarnwickLv2Uris.h"

#include <cstring>

namespace TarnwickLv2 {

namespace {

Lv2EditorUi* self (LV2UI_Handle handle)
{
	return static_cast<Lv2EditorUi*> (handle);
}

LV2UI_Handle instantiate (const LV2UI_Descriptor*, const char* pluginUri, const char*, LV2UI_Write_Function write,
                          LV2UI_Controller controller, LV2UI_Widget* widget, const LV2_Feature* const* features)
{
	if (!pluginUri || std::strcmp (pluginUri, TARNWICK_LV2_URI) != 0)
		return nullptr;
	try
	{
		return Lv2EditorUi::create (write, controller, widget, features);
	}
	catch (...)
	{
		return nullptr;
	}
}

void cleanup (LV2UI_Handle handle)
{
	try
	{
		delete self (handle);
	}
	catch (...)
	{
	}
}

void portEvent (LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format, const void* buffer)
{
	try
	{
		self (handle)->portEvent (port, size, format, buffer);
	}
	catch (...)
	{
	}
}

int idle (LV2UI_Handle handle)
{
	try
	{
		return self (handle)->idle ();
	}
	catch (...)
	{
		return 1;
	}
}

const LV2UI_Idle_Interface idleInterface = {idle};

const void* extensionData (const char* uri)
{
	if (uri && std::strcmp (uri, LV2_UI__idleInterface) == 0)
		return &idleInterface;
	return nullptr;
}

const LV2UI_Descriptor descriptor = {TARNWICK_LV2_UI_URI, instantiate, cleanup, portEvent, extensionData};

} // namespace

} // namespace TarnwickLv2

extern "C" LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor (uint32_t index)
{
	return index == 0 ? &TarnwickLv2::descriptor : nullptr;
}
