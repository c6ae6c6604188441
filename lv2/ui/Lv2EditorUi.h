// Tarnwick's editor as an LV2 X11 UI: the VST 3 editor of an edit controller of its own
// (the Processor, which draws the same pictures with the same knobs), embedded in the
// host's parent window and driven by the host's idle calls.
#pragma once

#include "Lv2UiController.h"

#include "EmbeddedView.h"

#include <lv2/ui/ui.h>

#include <memory>

namespace Vire2VUR3 {
class Processor;
}

namespace TarnwickLv2 {

class Lv2EditorUi
{
public:
	// Null without a parent window or when the editor cannot open in it.
	static Lv2EditorUi* create (LV2UI_Write_Function write, LV2UI_Controller controller, LV2UI_Widget* widget,
	                            const LV2_Feature* const* features);
	~Lv2EditorUi ();

	void portEvent (uint32_t port, uint32_t size, uint32_t format, const void* buffer);
	// Pumps the editor's window events and timers; 0 while the editor is open.
	int idle ();

	// The host's scale factor for the editor (0 when the host passes none or one outside 1..4:
	// the editor then takes the desktop's).
	static float hostScaleFactor (const LV2_Feature* const* features);

private:
	Lv2EditorUi () = default;
	bool open (void* parent, const LV2UI_Resize* resize, float scale, LV2UI_Widget* widget);

	Vire2VUR3::Processor* processor = nullptr;
	Lv2UiController* controller = nullptr;
	std::unique_ptr<Steinberg::Vst::EmbeddedView> view;
};

// Hands the host's scale factor to the editor view; 0 leaves the view its own.
void applyScaleFactor (Steinberg::IPlugView* view, float scale);

} // namespace TarnwickLv2
