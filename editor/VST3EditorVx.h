// The product's editor: VSTGUI's VST3Editor built from vexa.uidesc, plus the
// effect's knob mode, a repaint and a tick to the effect every 50 ms, and the
// dependent-control feedback of the effect after every edit.
#pragma once

#include "effect/CPlugIn.h"
#include "effect/ControlList.h"

#include "vstgui/plugin-bindings/vst3editor.h"

namespace Vire2VUR3 {

class VST3EditorVx : public VSTGUI::VST3Editor
{
public:
	VST3EditorVx (Steinberg::Vst::EditController* controller, VSTGUI::UTF8StringPtr templateName,
	              VSTGUI::UTF8StringPtr xmlFile);

	int32_t getKnobMode () const override;
	bool beforeSizeChange (const VSTGUI::CRect& newSize, const VSTGUI::CRect& oldSize) override;
	VSTGUI::CMessageResult notify (VSTGUI::CBaseObject* sender, VSTGUI::IdStringPtr message) override;
	void valueChanged (VSTGUI::CControl* pControl) override;

	// Sets the controls the effect makes depend on controlId (its getDependentUpdates)
	// and reports them to the host.
	void applyDependentUpdates (uint32_t controlId, float plainValue, bool flag);

	// Snapshot of the effect's controls, in list order, taken when the editor is made.
	ControlList editorControls;
	int32_t knobMode {3};
	CPlugIn* effect {nullptr};

protected:
	~VST3EditorVx () override;

private:
	// True when pControl is a text edit whose text its parameter cannot read.
	bool isRejectedTextEdit (VSTGUI::CControl* pControl) const;
	int32_t findEditorPosition (uint32_t controlId) const;
};

} // namespace Vire2VUR3
