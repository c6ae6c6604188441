#include "CustomViewFactory.h"

#include "CKickButtonVx.h"
#include "CStepSelectorVx.h"
#include "CTextEditVx.h"
#include "CTextLabelVx.h"
#include "CVuMeterVx.h"
#include "CXYPadVx.h"
#include "ViewAttributeReader.h"

#include "vstgui/lib/cbitmap.h"

#include <cstdlib>
#include <cstring>

namespace Vire2VUR3 {

using namespace VSTGUI;

std::string CustomViewFactory::trimTrailingBlanks (const std::string& text)
{
	size_t end = text.size ();
	while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\n'))
		--end;
	return text.substr (0, end);
}

void CustomViewFactory::parseAnalogMarkers (const std::string& name, double& frameHeight, double& restFrame)
{
	frameHeight = 0.0;
	restFrame = 0.0;
	const size_t h = name.find ("_H");
	const size_t z = name.find ("_Z");
	if (h != std::string::npos)
	{
		const size_t count = (z != std::string::npos && z > h) ? z - h - 2 : std::string::npos;
		frameHeight = std::atof (name.substr (h + 2, count).c_str ());
	}
	if (z != std::string::npos)
		restFrame = std::atof (name.substr (z + 2).c_str ());
}

CView* CustomViewFactory::create (const char* name, const UIAttributes& attributes, const IUIDescription* description)
{
	if (!effect || !name || name[0] == 0)
		return nullptr;
	const std::string viewName (name);
	ViewAttributeReader reader (attributes, description);

	if (viewName == "VexaKickButton" || viewName == "VexaKickButtonD" || viewName == "VexaKickButtonU" ||
	    viewName == "VexaKickButtonDU")
		return createKickButton (viewName, reader);
	if (viewName == "TrackPad" || viewName == "Joystick")
		return createPad (viewName, reader);
	if (viewName == "UnitsEdit")
		return createUnitsView (true, reader);
	if (viewName == "UnitsLabel")
		return createUnitsView (false, reader);
	if (viewName == "StepSelector")
		return createStepSelector (reader);

	// A meter that lacks one of its images or its LED count falls through to the
	// later rows (in the end, to the effect).
	const bool meterComplete = reader.hasAll ({"size", "origin", "bitmap", "off-bitmap", "num-led"});
	if (viewName.find ("AnalogMeterView") != std::string::npos && meterComplete)
		return createMeter (viewName, true, reader);
	if ((viewName == "MeterView" || viewName == "InvertedMeterView") && meterComplete)
		return createMeter (viewName, false, reader);

	return askEffect (viewName, reader);
}

CView* CustomViewFactory::createKickButton (const std::string& name, const ViewAttributeReader& reader)
{
	CRect r;
	CPoint offset;
	if (!reader.rect (r) || !reader.has ("bitmap") || !reader.hasNonEmpty ("control-tag") ||
	    !reader.point ("background-offset", offset) || !reader.getDescription ())
		return nullptr;
	SharedPointer<CBitmap> bitmap = owned (reader.loadBitmap ("bitmap"));
	auto* button = new CKickButtonVx (r, reader.listener (), reader.tag (), bitmap, offset);
	if (name == "VexaKickButtonDU")
		button->kickMode = CKickButtonVx::kSendOnPressAndRelease;
	else if (name == "VexaKickButtonD")
		button->kickMode = CKickButtonVx::kSendOnPress;
	else
		button->kickMode = CKickButtonVx::kSendOnRelease;
	return button;
}

CView* CustomViewFactory::createStepSelector (const ViewAttributeReader& reader)
{
	CRect r;
	if (!reader.rect (r) || !reader.hasNonEmpty ("control-tag") || !reader.getDescription ())
		return nullptr;
	return new CStepSelectorVx (r, reader.listener (), reader.tag ());
}

CView* CustomViewFactory::createPad (const std::string& name, const ViewAttributeReader& reader)
{
	CRect r;
	if (!reader.rect (r) || !reader.hasAll ({"back-color", "frame-color", "font-color", "frame-width",
	                                          "round-rect-radius", "style-round-rect", "style-no-frame"}))
		return nullptr;
	auto* pad = new CXYPadVx (r);
	pad->isJoystick = (name == "Joystick");
	pad->setBackColor (reader.colour ("back-color"));
	pad->setFrameColor (reader.colour ("frame-color"));
	pad->setFontColor (reader.colour ("font-color"));
	pad->setFrameWidth (reader.integer ("frame-width"));
	pad->setRoundRectRadius (reader.integer ("round-rect-radius"));
	int32_t style = pad->getStyle ();
	if (reader.flag ("style-round-rect"))
		style |= kRoundRectStyle;
	else
		style &= ~kRoundRectStyle;
	if (reader.flag ("style-no-frame"))
		style |= kNoFrame;
	else
		style &= ~kNoFrame;
	pad->setStyle (style);
	return pad;
}

CView* CustomViewFactory::createUnitsView (bool editable, const ViewAttributeReader& reader)
{
	CRect r;
	const std::string* title = reader.text ("title");
	if (!reader.rect (r) || !title || !reader.hasNonEmpty ("control-tag") || !reader.getDescription ())
		return nullptr;
	const int32_t tag = reader.tag ();
	ControlDescriptor* descriptor = effect->controlAt (tag);
	if (!descriptor)
		return nullptr;
	// The descriptor keeps the trimmed text as well.
	const std::string units = trimTrailingBlanks (descriptor->unitsText ? descriptor->unitsText : "");
	descriptor->setUnitsText (units.c_str ());

	SharedPointer<CBitmap> bitmap = owned (reader.loadBitmap ("bitmap"));
	if (editable)
	{
		auto* edit = new CTextEditVx (r, reader.listener (), tag, title->c_str (), bitmap, 0);
		edit->unitsSuffix = units;
		return edit;
	}
	auto* label = new CTextLabelVx (r, title->c_str (), bitmap, 0);
	label->unitsSuffix = units;
	return label;
}

CView* CustomViewFactory::createMeter (const std::string& name, bool analogMeter, const ViewAttributeReader& reader)
{
	CRect r;
	if (!reader.rect (r))
		return nullptr;
	SharedPointer<CBitmap> on = owned (reader.loadBitmap ("bitmap"));
	SharedPointer<CBitmap> off = owned (reader.loadBitmap ("off-bitmap"));
	const int32_t leds = reader.integer ("num-led");
	const bool inverted = analogMeter ? name.find ("InvertedAnalogMeterView") != std::string::npos
	                                  : name == "InvertedMeterView";
	auto* meter = new CVuMeterVx (r, on, off, leds, inverted, analogMeter, CVuMeter::kVertical);
	if (analogMeter)
	{
		double frameHeight = 0.0;
		double restFrame = 0.0;
		parseAnalogMarkers (name, frameHeight, restFrame);
		meter->setFrameHeight (frameHeight);
		meter->setFrameCount (static_cast<double> (leds));
		meter->setRestFrame (restFrame);
	}

	// Ballistics come from the control whose name the control-tag attribute gives;
	// without one the meter shows its values unsmoothed.
	const std::string* controlName = reader.text ("control-tag");
	if (controlName)
	{
		const int count = effect->controlCount ();
		for (int i = 0; i < count; ++i)
		{
			const ControlDescriptor* d = effect->controlAt (i);
			if (!d || !d->controlName || *controlName != d->controlName)
				continue;
			if (analogMeter && !d->meterVariable)
				continue;
			meter->getDetector ().init (20.f, d->meterAttackMs, d->meterReleaseMs, true,
			                            static_cast<int32_t> (d->meterMode), d->meterLogScale);
			meter->getDetector ().reset ();
		}
	}
	return meter;
}

CView* CustomViewFactory::askEffect (const std::string& name, const ViewAttributeReader& reader)
{
	record.messageCode = kGuiCreateCustomView;
	record.viewName = name.c_str ();
	if (reader.hasNonEmpty ("control-tag") && reader.getDescription ())
	{
		record.controlTag = reader.tag ();
		record.listener = reader.listener ();
	}
	else
	{
		record.listener = nullptr;
	}

	CPoint origin;
	CPoint size;
	reader.point ("origin", origin);
	reader.point ("size", size);
	record.viewRect[0] = static_cast<int32_t> (origin.x);
	record.viewRect[1] = static_cast<int32_t> (origin.y);
	record.viewRect[2] = static_cast<int32_t> (origin.x + size.x);
	record.viewRect[3] = static_cast<int32_t> (origin.y + size.y);
	CPoint offset;
	reader.point ("background-offset", offset);
	record.backgroundOffset[0] = static_cast<int32_t> (offset.x);
	record.backgroundOffset[1] = static_cast<int32_t> (offset.y);

	// Texts and colours live here until the effect has answered.
	std::string bitmap, handleBitmap, offBitmap;
	if (reader.has ("bitmap"))
		bitmap = *reader.text ("bitmap") + ".png";
	if (reader.has ("handle-bitmap"))
		handleBitmap = *reader.text ("handle-bitmap") + ".png";
	else if (reader.has ("off-bitmap"))
		offBitmap = *reader.text ("off-bitmap") + ".png";
	const std::string orientation = reader.has ("orientation") ? *reader.text ("orientation") : std::string ();
	record.bitmap = bitmap.c_str ();
	record.handleBitmap = handleBitmap.c_str ();
	record.offBitmap = offBitmap.c_str ();
	record.orientation = orientation.c_str ();

	GuiColour back {}, frameColour {}, font {};
	auto fill = [&reader] (const char* attribute, GuiColour& storage) -> GuiColour* {
		if (!reader.hasNonEmpty (attribute))
			return nullptr;
		const CColor c = reader.colour (attribute);
		storage = GuiColour {c.red, c.green, c.blue, c.alpha};
		return &storage;
	};
	record.backColour = fill ("back-color", back);
	record.frameColour = fill ("frame-color", frameColour);
	record.fontColour = fill ("font-color", font);

	record.frameWidth = reader.integer ("frame-width");
	record.roundRectRadius = reader.integer ("round-rect-radius");
	record.heightOfOneImage = reader.integer ("height-of-one-image");
	record.subImages = reader.integer ("sub-pixmaps");
	record.noFrame = reader.flag ("style-no-frame");
	record.roundRect = reader.flag ("style-round-rect");
	record.editorPart = nullptr;
	record.parentWindow = nullptr;
	record.instanceHandle = nullptr;
	record.connector = nullptr;
	record.platformType = nullptr;
	record.ownEditorAnswer = false;
	record.ownEditorWidth = 0;
	record.ownEditorHeight = 0;

	void* result = effect->handleGuiMessage (&record);

	// The texts die with this call; leave no pointer to them in the kept record.
	record.viewName = nullptr;
	record.bitmap = record.handleBitmap = record.offBitmap = record.orientation = nullptr;
	record.backColour = record.frameColour = record.fontColour = nullptr;
	return static_cast<CView*> (result);
}

} // namespace Vire2VUR3
