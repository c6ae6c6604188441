#include "Vst2Editor.h"

#include "Vst2PlugFrame.h"

#include <algorithm>
#include <cstdint>

namespace Steinberg {
namespace Vst {

namespace {
int16_t clampToInt16 (int32 v)
{
	return static_cast<int16_t> (std::min<int32> (std::max<int32> (v, INT16_MIN), INT16_MAX));
}
} // namespace

Vst2Editor::Vst2Editor (IEditController* controller, vst_effect* effect, Vst2Abi::HostCallback hostCallback)
: controller (controller), frame (new Vst2PlugFrame (effect, hostCallback))
{
}

Vst2Editor::~Vst2Editor ()
{
	idling = false;
	close ();
	if (closedInIdle)
		takeDown (closedInIdle);
	view = nullptr;
	frame->release ();
}

bool Vst2Editor::ensureView ()
{
	if (view)
		return true;
	if (controller == nullptr)
		return false;
	IPtr<IPlugView> created = owned (controller->createView (ViewType::kEditor));
	if (!created || created->isPlatformTypeSupported (kPlatformTypeX11EmbedWindowID) != kResultTrue)
		return false;
	view = created;
	return true;
}

bool Vst2Editor::isAvailable ()
{
	return ensureView ();
}

bool Vst2Editor::getRect (vst_rect** out)
{
	if (out == nullptr)
		return false;
	rect = vst_rect {};
	*out = &rect;
	if (!ensureView ())
		return false;
	ViewRect size;
	if (view->getSize (&size) != kResultOk)
		return false;
	rect.top = 0;
	rect.left = 0;
	rect.bottom = clampToInt16 (size.getHeight ());
	rect.right = clampToInt16 (size.getWidth ());
	return true;
}

bool Vst2Editor::open (void* parentWindow)
{
	if (parentWindow == nullptr || attached)
		return false;
	if (!ensureView ())
		return false;
	view->setFrame (frame);
	if (view->attached (parentWindow, kPlatformTypeX11EmbedWindowID) != kResultOk)
	{
		view->setFrame (nullptr);
		view = nullptr;
		frame->dropAllHandlers ();
		return false;
	}
	attached = true;
	return true;
}

bool Vst2Editor::close ()
{
	if (!attached)
		return false;
	attached = false;
	if (idling)
	{
		// Closed from inside the editor's own event or timer handling (a host that closes it in
		// an edit callback): the editor is still on the stack, so it is taken down once the
		// idle call that runs the handler returns.
		closedInIdle = view;
		view = nullptr;
		return true;
	}
	// A fresh view for the next opening: views are not reused after removal.
	takeDown (view);
	return true;
}

void Vst2Editor::takeDown (IPtr<IPlugView>& closing)
{
	closing->removed ();
	closing->setFrame (nullptr);
	closing = nullptr;
	// Handlers the view forgot to unregister must never be called again (unless a new view
	// has been opened meanwhile, whose handlers these are too).
	if (!attached)
		frame->dropAllHandlers ();
}

void Vst2Editor::idle ()
{
	if (!attached || idling)
		return;
	idling = true;
	frame->idle ();
	idling = false;
	if (closedInIdle)
		takeDown (closedInIdle);
}

} // namespace Vst
} // namespace Steinberg
