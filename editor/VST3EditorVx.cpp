#include "VST3EditorVx.h"

#include "vstgui/lib/controls/ctextedit.h"
#include "vstgui/lib/cvstguitimer.h"

#include "pluginterfaces/base/ustring.h"

#include <cstring>

namespace Vire2VUR3 {

using namespace VSTGUI;

VST3EditorVx::VST3EditorVx (Steinberg::Vst::EditController* controller, UTF8StringPtr templateName,
                            UTF8StringPtr xmlFile)
: VST3Editor (controller, templateName, xmlFile)
{
	setIdleRate (50);
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
		controller->receiveText ("VSTGUITimerPing");
		if (frame)
		{
			frame->invalidRect (frame->getViewSize ());
			frame->setDirty (false);
		}
	}
	const bool recreatePending = isRecreateViewPending ();
	const CMessageResult result = VST3Editor::notify (sender, message);
	// Tell the controller once the pending re-creation has actually happened.
	if (recreatePending && !isRecreateViewPending () && controller)
		controller->receiveText ("RecreateView");
	return result;
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
