// The product's editor: VSTGUI's VST3Editor built from vexa.uidesc, plus the
// effect's knob mode, a tick to the effect every 50 ms, the dependent-control
// feedback of the effect after every edit, and the value of the control under
// the mouse (or being turned) shown in place of its printed label.
#pragma once

#include "effect/CPlugIn.h"
#include "effect/ControlList.h"

#include "vstgui/lib/cframe.h"
#include "vstgui/plugin-bindings/vst3editor.h"

#include <string>
#include <vector>

namespace Vire2VUR3 {

class CValueReadoutVx;

class VST3EditorVx : public VSTGUI::VST3Editor, public VSTGUI::IMouseObserver
{
public:
	VST3EditorVx (Steinberg::Vst::EditController* controller, VSTGUI::UTF8StringPtr templateName,
	              VSTGUI::UTF8StringPtr xmlFile);

	int32_t getKnobMode () const override;
	bool beforeSizeChange (const VSTGUI::CRect& newSize, const VSTGUI::CRect& oldSize) override;
	VSTGUI::CMessageResult notify (VSTGUI::CBaseObject* sender, VSTGUI::IdStringPtr message) override;
	void valueChanged (VSTGUI::CControl* pControl) override;
	void controlBeginEdit (VSTGUI::CControl* pControl) override;
	void controlEndEdit (VSTGUI::CControl* pControl) override;

	// IMouseObserver
	void onMouseEntered (VSTGUI::CView* view, VSTGUI::CFrame* frame) override;
	void onMouseExited (VSTGUI::CView* view, VSTGUI::CFrame* frame) override;

	// The text a control's readout shows now: empty while its label shows.
	std::string readoutText (int32_t tag) const;
	// The host's text of a parameter value with its units ("350.00 mSec", "Delay").
	std::string displayText (int32_t tag, double normalized) const;

	// Sets the controls the effect makes depend on controlId (its getDependentUpdates)
	// and reports them to the host.
	void applyDependentUpdates (uint32_t controlId, float plainValue, bool flag);

	// Snapshot of the effect's controls, in list order, taken when the editor is made.
	ControlList editorControls;
	int32_t knobMode {3};
	CPlugIn* effect {nullptr};

protected:
	~VST3EditorVx () override;
	bool PLUGIN_API open (void* parent, const VSTGUI::PlatformType& type) override;
	void PLUGIN_API close () override;

private:
	struct Readout
	{
		VSTGUI::CControl* control;
		CValueReadoutVx* view;
	};
	// One readout over the label of every control the layout prints a label for.
	void addReadouts ();
	void removeReadouts ();
	void updateReadout (VSTGUI::CControl* control);
	void updateReadouts ();

	std::vector<Readout> readouts;
	VSTGUI::CControl* hovered {nullptr};

	// True when pControl is a text edit whose text its parameter cannot read.
	bool isRejectedTextEdit (VSTGUI::CControl* pControl) const;
	int32_t findEditorPosition (uint32_t controlId) const;
};

} // namespace Vire2VUR3
