#include "CVexaCustomView.h"

#include "effect/GuiMessage.h"

#include <cstring>
#include <dlfcn.h>

namespace Vire2VUR3 {

using namespace VSTGUI;

CVexaCustomView::CVexaCustomView (Steinberg::Vst::EditController* controller, Steinberg::ViewRect* size)
: VSTGUIEditor (controller, size)
{
	// The effect draws its window itself, at its own size.
	keepScaleAtOne ();
}

CVexaCustomView::~CVexaCustomView ()
{
	// A host that never removed the view (or an open that failed) leaves the frame here.
	releaseFrame ();
}

const char* CVexaCustomView::platformTypeText (PlatformType type)
{
	switch (type)
	{
		case kHWND: return "HWND";
		case kWindowRef: return "HIView";
		case kNSView: return "NSView";
		case kUIView: return "UIView";
		case kHWNDTopLevel: return "HWND";
		case kX11EmbedWindowID: return "X11EmbedWindowID";
	}
	return "";
}

void* CVexaCustomView::moduleInstanceHandle ()
{
	Dl_info info;
	std::memset (&info, 0, sizeof (info));
	if (dladdr (reinterpret_cast<void*> (&CVexaCustomView::moduleInstanceHandle), &info) == 0)
		return nullptr;
	return info.dli_fbase;
}

void CVexaCustomView::releaseFrame ()
{
	if (!frame)
		return;
	CFrame* f = frame;
	frame = nullptr;
	if (f->getNbReference () == 1)
		f->close ();
	else
		f->forget ();
}

bool PLUGIN_API CVexaCustomView::open (void* parent, const PlatformType& platformType)
{
	// A second open without a close must not leak the first frame.
	releaseFrame ();
	frame = new CFrame (CRect (0, 0, 0, 0), this);
	frame->setTransparency (true);
	frame->enableTooltips (true);
	if (!effect)
		return false;

	systemWindow = parent;
	GuiMessage openMessage;
	std::memset (&openMessage, 0, sizeof (openMessage));
	openMessage.messageCode = kGuiOpenOwnEditor;
	openMessage.parentWindow = parent;
	openMessage.platformType = platformTypeText (platformType);
	openMessage.editorPart = static_cast<Steinberg::Vst::VSTGUIEditor*> (this);
	openMessage.connector = static_cast<CVSTParameterConnector*> (this);
	openMessage.instanceHandle = moduleInstanceHandle ();
	if (effect->handleGuiMessage (&openMessage) == nullptr)
		return false;

	Steinberg::Vst::EditController* controller = getController ();
	if (effect && controller)
	{
		const Steinberg::int32 count = controller->getParameterCount ();
		for (Steinberg::int32 i = 0; i < count; ++i)
		{
			GuiMessage valueMessage;
			std::memset (&valueMessage, 0, sizeof (valueMessage));
			valueMessage.messageCode = kGuiParameterChanged;
			valueMessage.parameterId = i;
			valueMessage.value = controller->getParamNormalized (static_cast<Steinberg::Vst::ParamID> (i));
			effect->handleGuiMessage (&valueMessage);
		}
	}
	frame->setSize (openMessage.ownEditorWidth, openMessage.ownEditorHeight);
	return true;
}

void PLUGIN_API CVexaCustomView::close ()
{
	if (effect)
	{
		GuiMessage closeMessage;
		std::memset (&closeMessage, 0, sizeof (closeMessage));
		closeMessage.messageCode = kGuiCloseOwnEditor;
		closeMessage.parentWindow = systemWindow;
		closeMessage.instanceHandle = moduleInstanceHandle ();
		effect->handleGuiMessage (&closeMessage);
		systemWindow = nullptr;
	}
	releaseFrame ();
}

void CVexaCustomView::guiBeginEdit (uint32_t parameterId)
{
	if (Steinberg::Vst::EditController* controller = getController ())
		controller->beginEdit (parameterId);
}

void CVexaCustomView::guiEndEdit (uint32_t parameterId)
{
	if (Steinberg::Vst::EditController* controller = getController ())
		controller->endEdit (parameterId);
}

void CVexaCustomView::guiSetParameter (uint32_t parameterId, float normalizedValue)
{
	if (Steinberg::Vst::EditController* controller = getController ())
	{
		controller->setParamNormalized (parameterId, normalizedValue);
		controller->performEdit (parameterId, static_cast<double> (normalizedValue));
	}
}

} // namespace Vire2VUR3
