#include "EmbeddedView.h"

#include "IdlePlugFrame.h"

namespace Steinberg {
namespace Vst {

EmbeddedView::EmbeddedView (IEditController* controller, IdlePlugFrame* frame)
: controller (controller), frame (frame)
{
}

EmbeddedView::~EmbeddedView ()
{
	idling = false;
	close ();
	if (closedInIdle)
		takeDown (closedInIdle);
	view = nullptr;
	frame->release ();
}

bool EmbeddedView::ensureView ()
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

bool EmbeddedView::isAvailable ()
{
	return ensureView ();
}

bool EmbeddedView::getSize (ViewRect& size)
{
	return ensureView () && view->getSize (&size) == kResultOk;
}

bool EmbeddedView::open (void* parentWindow)
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

bool EmbeddedView::close ()
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

void EmbeddedView::takeDown (IPtr<IPlugView>& closing)
{
	closing->removed ();
	closing->setFrame (nullptr);
	closing = nullptr;
	// Handlers the view forgot to unregister must never be called again (unless a new view
	// has been opened meanwhile, whose handlers these are too).
	if (!attached)
		frame->dropAllHandlers ();
}

void EmbeddedView::idle ()
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
