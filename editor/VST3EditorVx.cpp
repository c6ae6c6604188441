#include "VST3EditorVx.h"

#include "CValueReadoutVx.h"
#include "EditorLayout.h"
#include "KnobStripPainter.h"

#include "vstgui/lib/controls/ctextedit.h"
#include "vstgui/lib/cvstguitimer.h"

#include "pluginterfaces/base/ustring.h"

#include <algorithm>
#include <cstring>

namespace Vire2VUR3 {

using namespace VSTGUI;

VST3EditorVx::VST3EditorVx (Steinberg::Vst::EditController* controller, UTF8StringPtr templateName,
                            UTF8StringPtr xmlFile)
: VST3Editor (controller, templateName, xmlFile)
{
	setIdleRate (50);
	KnobStripPainter::registerProductStrips ();
}

VST3EditorVx::~VST3EditorVx () = default;

int32_t VST3EditorVx::getKnobMode () const
{
	switch (knobMode)
	{
		case 0: return kCircularMode;
		case 1: return kRelativCircularMode;
		case 3:
		{
			// Follow the host's preference as it told the edit controller.
			const Steinberg::Vst::KnobMode host = Steinberg::Vst::EditController::getHostKnobMode ();
			if (host == 0)
				return kCircularMode;
			if (host == 1)
				return kRelativCircularMode;
			return kLinearMode;
		}
		default: return kLinearMode;
	}
}

bool VST3EditorVx::beforeSizeChange (const CRect& /*newSize*/, const CRect& /*oldSize*/)
{
	return true;
}

CMessageResult VST3EditorVx::notify (CBaseObject* sender, IdStringPtr message)
{
	Steinberg::Vst::EditController* controller = getController ();
	if (message == CVSTGUITimer::kMsgTimer && controller)
	{
		// Only what changed is drawn: the controls that moved and the readouts whose text did.
		controller->receiveText ("VSTGUITimerPing");
	}
	const bool recreatePending = isRecreateViewPending ();
	if (recreatePending && message == CVSTGUITimer::kMsgTimer)
		removeReadouts ();
	const CMessageResult result = VST3Editor::notify (sender, message);
	if (message == CVSTGUITimer::kMsgTimer && frame)
	{
		if (recreatePending && !isRecreateViewPending ())
			addReadouts ();
		// The host may move a parameter under the mouse.
		updateReadouts ();
	}
	// Tell the controller once the pending re-creation has actually happened.
	if (recreatePending && !isRecreateViewPending () && controller)
		controller->receiveText ("RecreateView");
	return result;
}

bool PLUGIN_API VST3EditorVx::open (void* parent, const PlatformType& type)
{
	if (!VST3Editor::open (parent, type))
		return false;
	if (frame)
	{
		addReadouts ();
		frame->registerMouseObserver (this);
	}
	return true;
}

void PLUGIN_API VST3EditorVx::close ()
{
	if (frame)
		frame->unregisterMouseObserver (this);
	removeReadouts ();
	VST3Editor::close ();
}

void VST3EditorVx::addReadouts ()
{
	removeReadouts ();
	CViewContainer* content =
	    frame && frame->getNbViews () > 0 ? frame->getView (0)->asViewContainer () : nullptr;
	if (!content || !description)
		return;
	std::vector<CControl*> controls;
	content->getChildViewsOfType<CControl> (controls, false);
	namespace Artwork = Tarnwick::Artwork;
	for (int i = 0; i < Artwork::kPlacementCount; ++i)
	{
		const Artwork::ControlPlacement& p = Artwork::kPlacements[i];
		const int32_t tag = description->getTagForName (p.tagName);
		auto control = std::find_if (controls.begin (), controls.end (),
		                             [tag] (CControl* c) { return c->getTag () == tag; });
		if (tag < 0 || control == controls.end ())
			continue;
		// A plate as wide as the control, over the printed label.
		const double baseline = Artwork::labelBaseline (i);
		const CRect plate (p.x + 4, baseline - 9.0, p.x + p.width - 4, baseline + 3.0);
		auto view = new CValueReadoutVx (plate, baseline);
		content->addView (view);
		readouts.push_back (Readout {*control, view});
	}
	updateReadouts ();
}

void VST3EditorVx::removeReadouts ()
{
	hovered = nullptr;
	for (const Readout& r : readouts)
	{
		if (CView* parent = r.view->getParentView ())
		{
			if (auto container = parent->asViewContainer ())
				container->removeView (r.view);
		}
	}
	readouts.clear ();
}

std::string VST3EditorVx::displayText (int32_t tag, double normalized) const
{
	Steinberg::Vst::EditController* controller = getController ();
	const auto id = static_cast<Steinberg::Vst::ParamID> (tag);
	Steinberg::Vst::Parameter* parameter =
	    controller && tag >= 0 ? controller->getParameterObject (id) : nullptr;
	if (!parameter)
		return std::string ();
	Steinberg::Vst::String128 text {};
	if (controller->getParamStringByValue (id, normalized, text) != Steinberg::kResultOk)
		return std::string ();
	char value[128] {};
	char units[128] {};
	Steinberg::UString (text, 128).toAscii (value, sizeof (value));
	Steinberg::UString (parameter->getInfo ().units, 128).toAscii (units, sizeof (units));
	std::string shown (value);
	if (units[0])
		shown += std::string (" ") + units;
	return shown;
}

std::string VST3EditorVx::readoutText (int32_t tag) const
{
	for (const Readout& r : readouts)
	{
		if (r.control->getTag () == tag)
			return r.view->getText ();
	}
	return std::string ();
}

void VST3EditorVx::updateReadout (CControl* control)
{
	for (const Readout& r : readouts)
	{
		if (r.control != control)
			continue;
		const bool shown = control == hovered || control->isEditing ();
		r.view->setText (shown ? displayText (control->getTag (), control->getValueNormalized ())
		                       : std::string ());
	}
}

void VST3EditorVx::updateReadouts ()
{
	for (const Readout& r : readouts)
		updateReadout (r.control);
}

void VST3EditorVx::onMouseEntered (CView* view, CFrame* /*frame*/)
{
	for (const Readout& r : readouts)
	{
		if (r.control == view)
		{
			hovered = r.control;
			updateReadout (r.control);
		}
	}
}

void VST3EditorVx::onMouseExited (CView* view, CFrame* /*frame*/)
{
	if (!hovered || hovered != view)
		return;
	CControl* left = hovered;
	hovered = nullptr;
	updateReadout (left);
}

void VST3EditorVx::controlBeginEdit (CControl* pControl)
{
	VST3Editor::controlBeginEdit (pControl);
	updateReadout (pControl);
}

void VST3EditorVx::controlEndEdit (CControl* pControl)
{
	VST3Editor::controlEndEdit (pControl);
	updateReadout (pControl);
}

bool VST3EditorVx::isRejectedTextEdit (CControl* pControl) const
{
	auto* edit = dynamic_cast<CTextEdit*> (pControl);
	Steinberg::Vst::EditController* controller = getController ();
	if (!edit || !controller)
		return false;
	const Steinberg::Vst::ParamID id = static_cast<Steinberg::Vst::ParamID> (pControl->getTag ());
	if (pControl->getTag () < 0 || !controller->getParameterObject (id))
		return false;
	Steinberg::Vst::String128 text = {0};
	Steinberg::UString (text, 128).fromAscii (edit->getText ().data ());
	Steinberg::Vst::ParamValue normalized = 0;
	return controller->getParamValueByString (id, text, normalized) != Steinberg::kResultTrue;
}

void VST3EditorVx::valueChanged (CControl* pControl)
{
	const bool rejected = isRejectedTextEdit (pControl);
	VST3Editor::valueChanged (pControl);
	updateReadout (pControl);
	if (rejected || !effect || !pControl)
		return;
	Steinberg::Vst::EditController* controller = getController ();
	if (!controller)
		return;
	const int32_t tag = pControl->getTag ();
	const double normalized = pControl->getValueNormalized ();
	const double plain = controller->normalizedParamToPlain (static_cast<Steinberg::Vst::ParamID> (tag), normalized);
	const ControlDescriptor* descriptor = effect->controlAt (tag);
	if (descriptor)
		applyDependentUpdates (descriptor->controlId, static_cast<float> (plain), false);
}

int32_t VST3EditorVx::findEditorPosition (uint32_t controlId) const
{
	const int count = editorControls.controlCount ();
	for (int i = 0; i < count; ++i)
	{
		const ControlDescriptor* d = editorControls.controlAt (i);
		if (d && d->controlId == controlId)
			return i;
	}
	return -1;
}

void VST3EditorVx::applyDependentUpdates (uint32_t controlId, float plainValue, bool flag)
{
	if (!effect)
		return;
	ControlUpdateNode* list = nullptr;
	if (effect->getDependentUpdates (controlId, plainValue, &list, flag))
	{
		Steinberg::Vst::EditController* controller = getController ();
		for (ControlUpdateNode* node = list; node && controller; node = node->next)
		{
			const int32_t position = findEditorPosition (node->controlId);
			if (position < 0)
				continue;
			const Steinberg::Vst::ParamID id = static_cast<Steinberg::Vst::ParamID> (position);
			const double normalized = controller->plainParamToNormalized (id, node->plainValue);
			controller->setParamNormalized (id, normalized);
			controller->performEdit (id, normalized);
		}
	}
	effect->freeUpdateList (&list);
	// Whatever the effect left in the list is ours to free.
	while (list)
	{
		ControlUpdateNode* next = list->next;
		delete list;
		list = next;
	}
}

} // namespace Vire2VUR3
