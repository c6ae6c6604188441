// The Processor's editor side: createView and the VST3EditorDelegate operations
// through which the UI description reaches the framework's views and the effect.
#include "host/Processor.h"

#include "CPadControllerVx.h"
#include "CVexaCustomView.h"
#include "CustomViewFactory.h"
#include "PadSubControllerName.h"
#include "VST3EditorVx.h"

#include "pluginterfaces/gui/iplugview.h"

#include <cstring>

namespace Vire2VUR3 {

using namespace VSTGUI;

Steinberg::IPlugView* PLUGIN_API Processor::createView (Steinberg::FIDString name)
{
	if (!effect || !name || std::strcmp (name, Steinberg::Vst::ViewType::kEditor) != 0 || !effect->hasEditor)
		return nullptr;

	GuiMessage query;
	std::memset (&query, 0, sizeof (query));
	query.messageCode = kGuiQueryOwnEditor;
	query.ownEditorAnswer = false;
	effect->handleGuiMessage (&query);
	if (query.ownEditorAnswer)
	{
		Steinberg::ViewRect rect (0, 0, 100, 100);
		auto* view = new CVexaCustomView (this, &rect);
		view->effect = effect;
		return view;
	}

	auto* editor = new VST3EditorVx (this, "Editor", "vexa.uidesc");
	editor->knobMode = effect->options.knobMode;
	editor->effect = effect;
	const int count = effect->controlCount ();
	for (int i = 0; i < count; ++i)
	{
		if (const ControlDescriptor* d = effect->controlAt (i))
			editor->editorControls.appendControl (*d);
	}
	return editor;
}

CView* Processor::createCustomView (UTF8StringPtr name, const UIAttributes& attributes,
                                    const IUIDescription* description, VST3Editor* /*editor*/)
{
	if (!effect)
		return nullptr;
	return CustomViewFactory (effect, delegateMessage).create (name, attributes, description);
}

IController* Processor::createSubController (UTF8StringPtr name, const IUIDescription* /*description*/,
                                             VST3Editor* editor)
{
	if (!effect || !name)
		return nullptr;
	IController* base = editor;
	const std::string controllerName (name);

	if (controllerName == "VectorJoystick")
	{
		Steinberg::Vst::Parameter* x = getParameterObject (kJoystickXId);
		Steinberg::Vst::Parameter* y = getParameterObject (kJoystickYId);
		if (!x || !y)
			return nullptr;
		return new PadController (base, this, x, y);
	}

	int32_t xId = 0;
	int32_t yId = 0;
	const bool padName = controllerName.find ("Joystick_") != std::string::npos ||
	                     controllerName.find ("TrackPad_") != std::string::npos;
	if (!padName || !PadSubControllerName::parse (controllerName, xId, yId))
		return nullptr;
	// A pad over a parameter that does not exist would have nothing to follow.
	Steinberg::Vst::Parameter* x = getParameterObject (static_cast<Steinberg::Vst::ParamID> (xId));
	Steinberg::Vst::Parameter* y = getParameterObject (static_cast<Steinberg::Vst::ParamID> (yId));
	if (!x || !y)
		return nullptr;
	return new CPadControllerVx (base, this, x, y);
}

// Open (code 0) and close (code 1) go out on the delegate's kept record.
static void sendOpenOrClose (CPlugIn* effect, GuiMessage& record, uint32_t code)
{
	record.messageCode = code;
	record.viewName = "";
	record.editorPart = nullptr;
	record.listener = nullptr;
	record.ownEditorAnswer = false;
	effect->handleGuiMessage (&record);
}

void Processor::didOpen (VST3Editor* editor)
{
	if (effect && editor)
		sendOpenOrClose (effect, delegateMessage, kGuiDidOpen);
}

void Processor::willClose (VST3Editor* /*editor*/)
{
	if (effect)
		sendOpenOrClose (effect, delegateMessage, kGuiWillClose);
}

Steinberg::tresult Processor::receiveText (const Steinberg::char8* text)
{
	if (!effect || !text)
		return Steinberg::kResultOk;
	if (std::strcmp (text, "VSTGUITimerPing") == 0)
	{
		// The editor's timer runs outside the host's calls: a restart still owed goes now.
		pendingRestart.onTimer ();
		delegateMessage.messageCode = kGuiTimerPing;
		effect->handleGuiMessage (&delegateMessage);
	}
	else if (std::strcmp (text, "RecreateView") == 0)
	{
		sendOpenOrClose (effect, delegateMessage, kGuiDidOpen);
	}
	return Steinberg::kResultOk;
}

} // namespace Vire2VUR3
