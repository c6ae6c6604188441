#include "vstguieditor.h"

#include "vstgui/lib/platform/linux/x11desktopscale.h"

#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/gui/iplugview.h"
#include <cmath>
#include <cstring>

namespace Steinberg {
namespace Vst {

namespace {
// Repaint and timer period until setIdleRate says otherwise.
constexpr uint32_t kDefaultIdleRate = 100;
constexpr double kMinScaleFactor = 1.;
constexpr double kMaxScaleFactor = 4.;
} // namespace

VSTGUIEditor::VSTGUIEditor (void* controller, ViewRect* size)
: EditorView (static_cast<EditController*> (controller), size)
, layoutWidth (rect.getWidth ())
, layoutHeight (rect.getHeight ())
{
	timer = new VSTGUI::CVSTGUITimer (static_cast<VSTGUI::CBaseObject*> (this), kDefaultIdleRate, false);
}

VSTGUIEditor::VSTGUIEditor (EditController* controller, ViewRect* size)
: EditorView (controller, size), layoutWidth (rect.getWidth ()), layoutHeight (rect.getHeight ())
{
	timer = new VSTGUI::CVSTGUITimer (static_cast<VSTGUI::CBaseObject*> (this), kDefaultIdleRate, false);
}

tresult PLUGIN_API VSTGUIEditor::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, IPlugViewContentScaleSupport::iid, IPlugViewContentScaleSupport)
	return EditorView::queryInterface (iid, obj);
}

ViewRect VSTGUIEditor::scaledRect () const
{
	return ViewRect (0, 0, VSTGUI::scaledLength (layoutWidth, scaleFactor),
	                 VSTGUI::scaledLength (layoutHeight, scaleFactor));
}

void VSTGUIEditor::setLayoutSize (int32 width, int32 height)
{
	layoutWidth = width;
	layoutHeight = height;
	setRect (scaledRect ());
}

void VSTGUIEditor::settleScaleFactor ()
{
	if (scaleSettled)
		return;
	scaleSettled = true;
	scaleFactor = VSTGUI::desktopScaleFactor ();
	setRect (scaledRect ());
	if (frame)
		frame->setScaleFactor (scaleFactor);
}

double VSTGUIEditor::getScaleFactor ()
{
	settleScaleFactor ();
	return scaleFactor;
}

void VSTGUIEditor::keepScaleAtOne ()
{
	scalable = false;
	scaleSettled = true;
	scaleFactor = 1.;
	setRect (scaledRect ());
}

bool VSTGUIEditor::setScaleFactor (double factor)
{
	if (!std::isfinite (factor) || factor < kMinScaleFactor || factor > kMaxScaleFactor)
		return false;
	if (!scalable)
		return factor == 1.;
	scaleSettled = true;
	if (factor == scaleFactor)
		return true;
	scaleFactor = factor;
	ViewRect r = scaledRect ();
	setRect (r);
	if (frame)
		frame->setScaleFactor (factor);
	// The host's window follows; it answers with onSize, which our size already matches.
	if (plugFrame && isAttached ())
		plugFrame->resizeView (this, &r);
	return true;
}

tresult PLUGIN_API VSTGUIEditor::setContentScaleFactor (ScaleFactor factor)
{
	return setScaleFactor (factor) ? kResultTrue : kResultFalse;
}

VSTGUIEditor::~VSTGUIEditor ()
{
	if (timer)
	{
		timer->stop ();
		timer->forget ();
		timer = nullptr;
	}
}

void VSTGUIEditor::setIdleRate (int32 millisec)
{
	if (timer && millisec > 0)
		timer->setFireTime (static_cast<uint32_t> (millisec));
}

int32 VSTGUIEditor::getIdleRate () const
{
	return timer ? static_cast<int32> (timer->getFireTime ()) : 0;
}

bool VSTGUIEditor::beforeSizeChange (const VSTGUI::CRect& newSize, const VSTGUI::CRect& /*oldSize*/)
{
	// The frame follows its content; the host learns the size through getSize.
	setLayoutSize (static_cast<int32> (newSize.getWidth ()), static_cast<int32> (newSize.getHeight ()));
	return true;
}

int32_t VSTGUIEditor::getKnobMode () const
{
	return static_cast<int32_t> (EditController::getHostKnobMode ());
}

bool VSTGUIEditor::beginEdit (int32_t /*index*/)
{
	// Edits reach the host through the controls' listener.
	return false;
}

bool VSTGUIEditor::endEdit (int32_t /*index*/)
{
	return false;
}

VSTGUI::CMessageResult VSTGUIEditor::notify (VSTGUI::CBaseObject* /*sender*/, VSTGUI::IdStringPtr message)
{
	if (message == VSTGUI::CVSTGUITimer::kMsgTimer)
	{
		if (frame)
			frame->idle ();
		return VSTGUI::kMessageNotified;
	}
	return VSTGUI::kMessageUnknown;
}

tresult PLUGIN_API VSTGUIEditor::isPlatformTypeSupported (FIDString type)
{
	if (type && std::strcmp (type, kPlatformTypeX11EmbedWindowID) == 0)
		return kResultTrue;
	return kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::attached (void* parent, FIDString type)
{
	if (isAttached () || !parent || isPlatformTypeSupported (type) != kResultTrue)
		return kResultFalse;
	settleScaleFactor ();
	if (!open (parent, VSTGUI::kX11EmbedWindowID))
		return kResultFalse;
	if (frame)
	{
		const int32 w = static_cast<int32> (frame->getWidth ());
		const int32 h = static_cast<int32> (frame->getHeight ());
		if (w > 0 && h > 0 && (w != layoutWidth || h != layoutHeight))
		{
			setLayoutSize (w, h);
			ViewRect vr = rect;
			if (plugFrame)
				plugFrame->resizeView (this, &vr);
		}
	}
	if (timer)
		timer->start ();
	return EditorView::attached (parent, type);
}

tresult PLUGIN_API VSTGUIEditor::removed ()
{
	if (timer)
		timer->stop ();
	if (isAttached ())
		close ();
	return EditorView::removed ();
}

tresult PLUGIN_API VSTGUIEditor::onSize (ViewRect* newSize)
{
	if (!newSize)
		return kInvalidArgument;
	settleScaleFactor ();
	// A fixed-size editor: only its own size is accepted.
	if (newSize->getWidth () == rect.getWidth () && newSize->getHeight () == rect.getHeight ())
		return kResultTrue;
	return kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::getSize (ViewRect* size)
{
	if (!size)
		return kInvalidArgument;
	settleScaleFactor ();
	*size = rect;
	return kResultTrue;
}

tresult PLUGIN_API VSTGUIEditor::checkSizeConstraint (ViewRect* r)
{
	if (!r)
		return kInvalidArgument;
	settleScaleFactor ();
	r->right = r->left + rect.getWidth ();
	r->bottom = r->top + rect.getHeight ();
	return kResultTrue;
}

tresult PLUGIN_API VSTGUIEditor::onWheel (float /*distance*/)
{
	// Wheel events come from the window itself.
	return kResultFalse;
}

Linux::IRunLoop* VSTGUIEditor::getRunLoop () const
{
	if (!plugFrame)
		return nullptr;
	Linux::IRunLoop* runLoop = nullptr;
	if (plugFrame->queryInterface (Linux::IRunLoop::iid, reinterpret_cast<void**> (&runLoop)) != kResultTrue ||
	    !runLoop)
		return nullptr;
	// The host owns its run loop for as long as the frame: the frame takes its own reference.
	runLoop->release ();
	return runLoop;
}

VSTGUI::X11FrameConfig VSTGUIEditor::getFrameConfig () const
{
	VSTGUI::X11FrameConfig config;
	config.runLoop = getRunLoop ();
	config.owner = const_cast<VSTGUIEditor*> (this)->unknownCast ();
	return config;
}

void VSTGUIEditor::idle ()
{
	VSTGUI::idle ();
}

} // namespace Vst
} // namespace Steinberg
