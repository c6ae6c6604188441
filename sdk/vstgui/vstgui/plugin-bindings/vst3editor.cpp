#include "vst3editor.h"
#include "vst3padcontroller.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/controls/ctextedit.h"
#include "vstgui/lib/controls/ctextlabel.h"
#include "vstgui/lib/cvstguitimer.h"

#include "pluginterfaces/base/ustring.h"

#include <algorithm>

namespace VSTGUI {

using namespace Steinberg;
using namespace Steinberg::Vst;

//------------------------------------------------------------------------
// One parameter and the controls that show it.
class ParameterBinding
{
public:
	ParameterBinding (EditController* controller, Parameter* parameter)
	: controller (controller), parameter (parameter)
	{
		parameter->addRef ();
	}
	~ParameterBinding () { parameter->release (); }

	ParamID getId () const { return parameter->getInfo ().id; }
	Parameter* getParameter () const { return parameter; }
	std::vector<CControl*>& getControls () { return controls; }

	void beginEdit ()
	{
		if (editCount++ == 0)
			controller->beginEdit (getId ());
	}
	void endEdit ()
	{
		if (editCount == 0)
			return;
		if (--editCount == 0)
			controller->endEdit (getId ());
	}
	bool isEditing () const { return editCount > 0; }

	// Sets the controller's parameter and reports the change to the host.
	void performEdit (ParamValue value)
	{
		bool wrap = editCount == 0; // an edit outside begin/end still reaches the host as one
		if (wrap)
			beginEdit ();
		controller->setParamNormalized (getId (), value);
		controller->performEdit (getId (), value);
		if (wrap)
			endEdit ();
		lastShown = -1.;
	}

	// Moves the controls to the parameter's value when it changed (or always with force).
	void updateControls (bool force, CControl* except = nullptr)
	{
		ParamValue value = parameter->getNormalized ();
		if (!force && value == lastShown)
			return;
		lastShown = value;
		for (CControl* control : controls)
		{
			if (control == except || control->isEditing ())
				continue;
			updateControl (control, value);
		}
	}

	void updateControl (CControl* control, ParamValue value)
	{
		if (auto label = dynamic_cast<CTextLabel*> (control))
		{
			String128 text {};
			parameter->toString (value, text);
			UString128 ustr (text);
			char ascii[128] {};
			ustr.toAscii (ascii, sizeof (ascii));
			label->setText (ascii);
			control->setValueNormalized (static_cast<float> (value));
		}
		else
		{
			control->setValueNormalized (static_cast<float> (value));
		}
	}

private:
	EditController* controller;
	Parameter* parameter;
	std::vector<CControl*> controls;
	int32_t editCount {0};
	ParamValue lastShown {-1.};
};

//------------------------------------------------------------------------
VST3Editor::VST3Editor (EditController* controller, UTF8StringPtr templateName, UTF8StringPtr xmlFile)
: VSTGUIEditor (controller), viewName (templateName ? templateName : ""), xmlFile (xmlFile ? xmlFile : "")
{
	description = new UIDescription (CResourceDescription (this->xmlFile.c_str ()));
	init ();
}

VST3Editor::VST3Editor (UIDescription* desc, EditController* controller, UTF8StringPtr templateName,
                        UTF8StringPtr xmlFile)
: VSTGUIEditor (controller), viewName (templateName ? templateName : ""), xmlFile (xmlFile ? xmlFile : "")
{
	description = desc;
	if (description)
		description->remember ();
	init ();
}

VST3Editor::~VST3Editor ()
{
	controlCallDepth = 0;
	// Released by a host that never removed it: the window and the host's handlers go now.
	if (frame)
		close ();
	unbindAll ();
	for (ParameterBinding* binding : unboundDuringCall)
		delete binding;
	if (description)
		description->forget ();
}

void VST3Editor::init ()
{
	delegate = dynamic_cast<VST3EditorDelegate*> (controller);
	// A fallback size, for a description without the template.
	ViewRect r (0, 0, 100, 100);
	if (description)
	{
		description->parse ();
		CPoint size;
		const UIAttributes* attributes = description->getViewAttributes (viewName.c_str ());
		if (attributes && attributes->getPointAttribute ("size", size) && size.x >= 1 && size.y >= 1 &&
		    size.x <= 16384 && size.y <= 16384)
			r = ViewRect (0, 0, static_cast<int32> (size.x), static_cast<int32> (size.y));
	}
	setLayoutSize (r.getWidth (), r.getHeight ());
}

bool VST3Editor::exchangeView (UTF8StringPtr templateName)
{
	if (!description || !templateName || !description->getViewAttributes (templateName))
		return false;
	viewName = templateName;
	requestRecreateView ();
	return true;
}

void VST3Editor::requestRecreateView ()
{
	doCreateView = true;
}

void VST3Editor::enableTooltips (bool state)
{
	tooltipsEnabled = state;
	if (frame)
		frame->enableTooltips (state);
}

int32_t VST3Editor::getKnobMode () const
{
	return VSTGUIEditor::getKnobMode ();
}

ParameterBinding* VST3Editor::findBinding (int32_t tag) const
{
	auto it = parameterBindings.find (tag);
	return it == parameterBindings.end () ? nullptr : it->second;
}

CControl* VST3Editor::findControlForParameter (ParamID id) const
{
	auto binding = findBinding (static_cast<int32_t> (id));
	if (!binding || binding->getControls ().empty ())
		return nullptr;
	return binding->getControls ().front ();
}

void VST3Editor::bindControl (CControl* control)
{
	if (!control || !controller || control->getTag () < 0)
		return;
	int32_t tag = control->getTag ();
	if (delegate && delegate->isPrivateParameter (static_cast<ParamID> (tag)))
		return;
	ParameterBinding* binding = findBinding (tag);
	if (!binding)
	{
		Parameter* parameter = controller->getParameterObject (static_cast<ParamID> (tag));
		if (!parameter)
			return;
		binding = new ParameterBinding (controller, parameter);
		parameterBindings[tag] = binding;
	}
	auto& controls = binding->getControls ();
	if (std::find (controls.begin (), controls.end (), control) == controls.end ())
		controls.push_back (control);
	// A reset to the default (double-click, Ctrl-click) goes to the parameter's default.
	const double defaultValue = binding->getParameter ()->getInfo ().defaultNormalizedValue;
	control->setDefaultValue (control->getMin () +
	                          static_cast<float> (defaultValue) * control->getRange ());
	// A parameter display (not a label, which gets its text set) prints the parameter's text
	// for its value, taken over its own range.
	auto display = dynamic_cast<CParamDisplay*> (control);
	if (display && !dynamic_cast<CTextLabel*> (control))
	{
		IPtr<Parameter> parameter (binding->getParameter ());
		display->setValueToStringFunction (
		    [parameter] (float value, std::string& result, CParamDisplay* d) {
			    const float range = d->getRange ();
			    const ParamValue normalized = range > 0.f ? (value - d->getMin ()) / range : value;
			    String128 text {};
			    parameter->toString (normalized, text);
			    char ascii[128] {};
			    UString128 (text).toAscii (ascii, sizeof (ascii));
			    result = ascii;
			    return true;
		    });
	}
	binding->updateControl (control, binding->getParameter ()->getNormalized ());
}

void VST3Editor::unbindControl (CControl* control)
{
	for (auto it = parameterBindings.begin (); it != parameterBindings.end (); ++it)
	{
		auto& controls = it->second->getControls ();
		auto pos = std::find (controls.begin (), controls.end (), control);
		if (pos == controls.end ())
			continue;
		if (control->isEditing ())
			it->second->endEdit ();
		controls.erase (pos);
		if (controls.empty ())
		{
			delete it->second;
			parameterBindings.erase (it);
		}
		return;
	}
}

struct VST3Editor::ControlCallScope
{
	explicit ControlCallScope (VST3Editor& editor) : editor (editor) { ++editor.controlCallDepth; }
	~ControlCallScope ()
	{
		if (--editor.controlCallDepth > 0)
			return;
		for (ParameterBinding* binding : editor.unboundDuringCall)
			delete binding;
		editor.unboundDuringCall.clear ();
	}
	VST3Editor& editor;
};

void VST3Editor::unbindAll ()
{
	for (auto& entry : parameterBindings)
	{
		// An edit cut short by closing still ends for the host.
		while (entry.second->isEditing ())
			entry.second->endEdit ();
		if (controlCallDepth > 0)
		{
			// Its controls may be gone by the time the call returns: it shows nothing more.
			entry.second->getControls ().clear ();
			unboundDuringCall.push_back (entry.second);
		}
		else
			delete entry.second;
	}
	parameterBindings.clear ();
}

namespace {
void syncPadControllers (CView* view)
{
	if (auto pad = dynamic_cast<PadController*> (view->getViewController ()))
		pad->updatePadFromParameters ();
	if (auto container = view->asViewContainer ())
	{
		for (uint32_t i = 0; i < container->getNbViews (); ++i)
			syncPadControllers (container->getView (i));
	}
}
} // namespace

void VST3Editor::syncControlsFromParameters ()
{
	for (auto& entry : parameterBindings)
		entry.second->updateControls (false);
	if (frame)
		syncPadControllers (frame);
}

void VST3Editor::valueChanged (CControl* pControl)
{
	if (!pControl)
		return;
	ControlCallScope call (*this);
	ParameterBinding* binding = findBinding (pControl->getTag ());
	if (!binding)
		return;
	auto& controls = binding->getControls ();
	if (std::find (controls.begin (), controls.end (), pControl) == controls.end ())
		return;
	ParamValue value = pControl->getValueNormalized ();
	if (auto edit = dynamic_cast<CTextEdit*> (pControl))
	{
		String128 text {};
		UString128 ustr ("");
		ustr.fromAscii (edit->getText ().data ());
		ustr.copyTo (text, 128);
		if (controller->getParamValueByString (binding->getId (), text, value) != kResultTrue)
		{
			binding->updateControls (true);
			return;
		}
	}
	binding->performEdit (value);
	binding->updateControls (true, pControl);
}

void VST3Editor::controlBeginEdit (CControl* pControl)
{
	ControlCallScope call (*this);
	if (auto binding = pControl ? findBinding (pControl->getTag ()) : nullptr)
		binding->beginEdit ();
}

void VST3Editor::controlEndEdit (CControl* pControl)
{
	ControlCallScope call (*this);
	if (auto binding = pControl ? findBinding (pControl->getTag ()) : nullptr)
		binding->endEdit ();
}

void VST3Editor::controlTagWillChange (CControl* pControl)
{
	if (pControl)
		unbindControl (pControl);
}

void VST3Editor::controlTagDidChange (CControl* pControl)
{
	if (pControl && pControl->isAttached ())
		bindControl (pControl);
}

int32_t VST3Editor::getTagForName (UTF8StringPtr /*name*/, int32_t registeredTag) const
{
	return registeredTag;
}

IControlListener* VST3Editor::getControlListener (UTF8StringPtr /*name*/)
{
	return this;
}

CView* VST3Editor::createView (const UIAttributes& attributes, const IUIDescription* desc)
{
	if (!delegate)
		return nullptr;
	auto name = attributes.getAttributeValue ("custom-view-name");
	if (!name || name->empty ())
		return nullptr;
	return delegate->createCustomView (name->c_str (), attributes, desc, this);
}

CView* VST3Editor::verifyView (CView* view, const UIAttributes& attributes, const IUIDescription* desc)
{
	if (delegate)
		view = delegate->verifyView (view, attributes, desc, this);
	if (auto control = dynamic_cast<CControl*> (view))
		bindControl (control);
	return view;
}

IController* VST3Editor::createSubController (UTF8StringPtr name, const IUIDescription* desc)
{
	return delegate ? delegate->createSubController (name, desc, this) : nullptr;
}

bool VST3Editor::createFrameContent ()
{
	if (!frame || !description)
		return false;
	CView* view = description->createView (viewName.c_str (), this);
	if (!view)
		return false;
	CRect r = view->getViewSize ();
	view->setViewSize (CRect (0, 0, r.getWidth (), r.getHeight ()), false);
	frame->setSize (r.getWidth (), r.getHeight ());
	frame->addView (view);
	return true;
}

void VST3Editor::recreateView ()
{
	doCreateView = false;
	if (!frame)
		return;
	unbindAll ();
	frame->removeAll ();
	createFrameContent ();
	frame->invalid ();
}

CMessageResult VST3Editor::notify (CBaseObject* sender, IdStringPtr message)
{
	if (message == CVSTGUITimer::kMsgTimer)
	{
		if (doCreateView)
			recreateView ();
		// Host-side changes (automation, programs, restored state) show at this repaint.
		syncControlsFromParameters ();
	}
	return VSTGUIEditor::notify (sender, message);
}

bool PLUGIN_API VST3Editor::open (void* parent, const PlatformType& type)
{
	if (frame)
		return false;
	frame = new CFrame (CRect (0, 0, getLayoutWidth (), getLayoutHeight ()), this);
	frame->setScaleFactor (getScaleFactor ());
	frame->setTransparency (true);
	frame->enableTooltips (tooltipsEnabled);
	doCreateView = false;
	// A description that cannot be read leaves the window empty.
	createFrameContent ();

	X11FrameConfig config = getFrameConfig ();
	if (!frame->open (parent, type, &config))
	{
		unbindAll ();
		frame->removeAll ();
		frame->forget ();
		frame = nullptr;
		return false;
	}
	if (delegate)
		delegate->didOpen (this);
	return true;
}

void PLUGIN_API VST3Editor::close ()
{
	if (delegate)
		delegate->willClose (this);
	unbindAll ();
	if (frame)
	{
		CFrame* f = frame;
		frame = nullptr;
		f->removeAll ();
		f->close ();
	}
}

} // namespace VSTGUI
