// The editor of a VST 3 edit controller, built from a UI description. Controls
// are bound to parameters by tag both ways.
#pragma once

#include "public.sdk/source/vst/vstguieditor.h"
#include "public.sdk/source/vst/vstparameters.h"
#include "vstgui/lib/controls/ccontrol.h"
#include "vstgui/uidescription/icontroller.h"
#include "vstgui/uidescription/uidescription.h"
#include <map>
#include <string>
#include <vector>

namespace VSTGUI {

class VST3Editor;
class COptionMenu;
class ParameterBinding;

//------------------------------------------------------------------------
// What an edit controller may add to its editor; every operation has a default.
class VST3EditorDelegate
{
public:
	virtual ~VST3EditorDelegate () = default;

	virtual CView* createCustomView (UTF8StringPtr /*name*/, const UIAttributes& /*attributes*/,
	                                 const IUIDescription* /*description*/, VST3Editor* /*editor*/)
	{
		return nullptr;
	}
	virtual CView* verifyView (CView* view, const UIAttributes& /*attributes*/,
	                           const IUIDescription* /*description*/, VST3Editor* /*editor*/)
	{
		return view;
	}
	virtual bool findParameter (const CPoint& /*pos*/, Steinberg::Vst::ParamID& /*paramID*/, VST3Editor* /*editor*/)
	{
		return false;
	}
	virtual bool isPrivateParameter (const Steinberg::Vst::ParamID /*paramID*/) { return false; }
	virtual void didOpen (VST3Editor* /*editor*/) {}
	virtual void willClose (VST3Editor* /*editor*/) {}
	virtual COptionMenu* createContextMenu (const CPoint& /*pos*/, VST3Editor* /*editor*/) { return nullptr; }
	virtual IController* createSubController (UTF8StringPtr /*name*/, const IUIDescription* /*description*/,
	                                          VST3Editor* /*editor*/)
	{
		return nullptr;
	}
};

//------------------------------------------------------------------------
class VST3Editor : public Steinberg::Vst::VSTGUIEditor, public IController
{
public:
	VST3Editor (Steinberg::Vst::EditController* controller, UTF8StringPtr templateName, UTF8StringPtr xmlFile);
	VST3Editor (UIDescription* desc, Steinberg::Vst::EditController* controller, UTF8StringPtr templateName,
	            UTF8StringPtr xmlFile = nullptr);

	// Shows another template at the next timer tick.
	bool exchangeView (UTF8StringPtr templateName);
	void requestRecreateView ();
	bool isRecreateViewPending () const { return doCreateView; }
	void enableTooltips (bool state);
	UIDescription* getUIDescription () const { return description; }
	const std::string& getTemplateName () const { return viewName; }
	VST3EditorDelegate* getDelegate () const { return delegate; }

	// Moves every bound control to its parameter's current value (done at every tick).
	void syncControlsFromParameters ();
	// The control bound to a parameter (the first one), or null.
	CControl* findControlForParameter (Steinberg::Vst::ParamID id) const;

	// VSTGUIEditorInterface
	int32_t getKnobMode () const override;

	// IController
	void valueChanged (CControl* pControl) override;
	void controlBeginEdit (CControl* pControl) override;
	void controlEndEdit (CControl* pControl) override;
	void controlTagWillChange (CControl* pControl) override;
	void controlTagDidChange (CControl* pControl) override;
	int32_t getTagForName (UTF8StringPtr name, int32_t registeredTag) const override;
	IControlListener* getControlListener (UTF8StringPtr name) override;
	CView* createView (const UIAttributes& attributes, const IUIDescription* description) override;
	CView* verifyView (CView* view, const UIAttributes& attributes, const IUIDescription* description) override;
	IController* createSubController (UTF8StringPtr name, const IUIDescription* description) override;

	CMessageResult notify (CBaseObject* sender, IdStringPtr message) override;

protected:
	~VST3Editor () override;
	void init ();
	void recreateView ();
	bool createFrameContent ();
	void bindControl (CControl* control);
	void unbindControl (CControl* control);
	void unbindAll ();
	ParameterBinding* findBinding (int32_t tag) const;

	bool PLUGIN_API open (void* parent, const PlatformType& type) override;
	void PLUGIN_API close () override;

	UIDescription* description {nullptr};
	VST3EditorDelegate* delegate {nullptr};
	std::map<int32_t, ParameterBinding*> parameterBindings;
	// A control's call may reach a host that closes the editor there: bindings unbound during
	// such a call are deleted once it has returned.
	int32_t controlCallDepth {0};
	std::vector<ParameterBinding*> unboundDuringCall;
	struct ControlCallScope;
	std::string viewName;
	std::string xmlFile;
	bool tooltipsEnabled {true};
	bool doCreateView {false};
};

} // namespace VSTGUI
