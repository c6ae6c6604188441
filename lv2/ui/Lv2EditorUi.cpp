// The Processor header must come before anything that pulls in the edit-controller interface.
#include "host/Processor.h"

#include "Lv2EditorUi.h"

#include "Lv2PlugFrame.h"


#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>

#include <X11/Xlib.h>

#include <cstring>

namespace TarnwickLv2 {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

const void* findFeature (const LV2_Feature* const* features, const char* uri)
{
	for (const LV2_Feature* const* f = features; f && *f; ++f)
		if ((*f)->URI && std::strcmp ((*f)->URI, uri) == 0)
			return (*f)->data;
	return nullptr;
}

// The window the editor made inside the parent: its newest child.
Window editorWindowIn (Window parent)
{
	Display* display = XOpenDisplay (nullptr);
	if (!display)
		return 0;
	Window root = 0;
	Window parentOfParent = 0;
	Window* children = nullptr;
	unsigned count = 0;
	Window newest = 0;
	if (XQueryTree (display, parent, &root, &parentOfParent, &children, &count) && count > 0)
		newest = children[count - 1];
	if (children)
		XFree (children);
	XCloseDisplay (display);
	return newest;
}

} // namespace

void applyScaleFactor (IPlugView* view, float scale)
{
	if (!view || !(scale >= 1.f))
		return;
	IPlugViewContentScaleSupport* scaling = nullptr;
	if (view->queryInterface (IPlugViewContentScaleSupport::iid, reinterpret_cast<void**> (&scaling)) == kResultOk &&
	    scaling)
	{
		scaling->setContentScaleFactor (scale);
		scaling->release ();
	}
}

float Lv2EditorUi::hostScaleFactor (const LV2_Feature* const* features)
{
	const auto* options = static_cast<const LV2_Options_Option*> (findFeature (features, LV2_OPTIONS__options));
	const auto* map = static_cast<const LV2_URID_Map*> (findFeature (features, LV2_URID__map));
	if (!options || !map || !map->map)
		return 0.f;
	const LV2_URID scaleKey = map->map (map->handle, LV2_UI__scaleFactor);
	const LV2_URID floatType = map->map (map->handle, LV2_ATOM__Float);
	for (const LV2_Options_Option* o = options; o->key != 0 || o->value != nullptr; ++o)
		if (o->key == scaleKey && o->type == floatType && o->size == sizeof (float) && o->value)
		{
			float scale = 0.f;
			std::memcpy (&scale, o->value, sizeof (float));
			return scale >= 1.f && scale <= 4.f ? scale : 0.f;
		}
	return 0.f;
}

Lv2EditorUi* Lv2EditorUi::create (LV2UI_Write_Function write, LV2UI_Controller hostController, LV2UI_Widget* widget,
                                  const LV2_Feature* const* features)
{
	void* parent = const_cast<void*> (findFeature (features, LV2_UI__parent));
	if (!parent)
		return nullptr;
	std::unique_ptr<Lv2EditorUi> ui (new Lv2EditorUi ());
	ui->processor = new Vire2VUR3::Processor ();
	if (ui->processor->initialize (nullptr) != kResultOk)
		return nullptr;
	ui->controller = new Lv2UiController (ui->processor, write, hostController);
	ui->processor->setComponentHandler (ui->controller);
	if (!ui->open (parent, static_cast<const LV2UI_Resize*> (findFeature (features, LV2_UI__resize)),
	               hostScaleFactor (features), widget))
		return nullptr;
	return ui.release ();
}

bool Lv2EditorUi::open (void* parent, const LV2UI_Resize* resize, float scale, LV2UI_Widget* widget)
{
	view = std::make_unique<EmbeddedView> (processor, new Lv2PlugFrame (resize));
	if (!view->isAvailable ())
		return false;
	applyScaleFactor (view->getView (), scale);
	if (!view->open (parent))
		return false;
	ViewRect size;
	if (resize && resize->ui_resize && view->getSize (size))
		resize->ui_resize (resize->handle, size.getWidth (), size.getHeight ());
	if (widget)
		*widget = reinterpret_cast<LV2UI_Widget> (editorWindowIn (reinterpret_cast<Window> (parent)));
	return true;
}

Lv2EditorUi::~Lv2EditorUi ()
{
	view.reset ();
	if (processor)
	{
		processor->setComponentHandler (nullptr);
		processor->terminate ();
		processor->release ();
	}
	if (controller)
		controller->release ();
}

void Lv2EditorUi::portEvent (uint32_t port, uint32_t size, uint32_t format, const void* buffer)
{
	if (format != 0 || size != sizeof (float) || !buffer)
		return;
	float value = 0.f;
	std::memcpy (&value, buffer, sizeof (float));
	controller->portEvent (port, value);
}

int Lv2EditorUi::idle ()
{
	if (view)
		view->idle ();
	return 0;
}

} // namespace TarnwickLv2
