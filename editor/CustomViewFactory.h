// Builds the views a UI description asks for by custom-view name: the framework's
// kick buttons, pads, units edits and labels, step selectors and meters, or, for any other name,
// whatever the effect makes of a code-3 GuiMessage.
#pragma once

#include "effect/CPlugIn.h"
#include "effect/GuiMessage.h"

#include "vstgui/lib/cview.h"
#include "vstgui/uidescription/iuidescription.h"
#include "vstgui/uidescription/uiattributes.h"

#include <string>

namespace Vire2VUR3 {

class ViewAttributeReader;

class CustomViewFactory
{
public:
	// record: the delegate's reused GuiMessage for views the effect builds.
	CustomViewFactory (CPlugIn* effect, GuiMessage& record) : effect (effect), record (record) {}

	// Null when the name is empty, a required attribute is missing, or the effect declines.
	VSTGUI::CView* create (const char* name, const VSTGUI::UIAttributes& attributes,
	                       const VSTGUI::IUIDescription* description);

	// Removes trailing blanks (space, tab, newline) from text; leading blanks stay.
	static std::string trimTrailingBlanks (const std::string& text);
	// "_H<height>_Z<rest>" in an analog meter's name; text that is no number reads 0.
	static void parseAnalogMarkers (const std::string& name, double& frameHeight, double& restFrame);

private:
	VSTGUI::CView* createKickButton (const std::string& name, const ViewAttributeReader& reader);
	VSTGUI::CView* createPad (const std::string& name, const ViewAttributeReader& reader);
	VSTGUI::CView* createStepSelector (const ViewAttributeReader& reader);
	VSTGUI::CView* createUnitsView (bool editable, const ViewAttributeReader& reader);
	VSTGUI::CView* createMeter (const std::string& name, bool analogMeter, const ViewAttributeReader& reader);
	VSTGUI::CView* askEffect (const std::string& name, const ViewAttributeReader& reader);

	CPlugIn* effect;
	GuiMessage& record;
};

} // namespace Vire2VUR3
