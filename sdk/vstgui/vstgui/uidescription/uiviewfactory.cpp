#include "uiviewfactory.h"
#include "icontroller.h"
#include "iuidescription.h"
#include "uiattributes.h"
#include "../lib/cviewcontainer.h"
#include "../lib/controls/canimknob.h"
#include "../lib/controls/cbuttons.h"
#include "../lib/controls/ctextedit.h"
#include "../lib/controls/cvumeter.h"
#include "../lib/controls/cxypad.h"

namespace VSTGUI {
namespace UIViewFactory {

namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.;

bool readColor (const UIAttributes& a, const char* name, const IUIDescription* d, CColor& c)
{
	auto v = a.getAttributeValue (name);
	return v && d && d->getColor (v->c_str (), c);
}

CBitmap* readBitmap (const UIAttributes& a, const char* name, const IUIDescription* d)
{
	auto v = a.getAttributeValue (name);
	if (!v || v->empty () || !d)
		return nullptr;
	return d->getBitmap (v->c_str ());
}

void applyViewAttributes (CView* view, const UIAttributes& a, const IUIDescription* d)
{
	CPoint origin (view->getViewSize ().left, view->getViewSize ().top);
	CPoint size (view->getViewSize ().getWidth (), view->getViewSize ().getHeight ());
	bool hasOrigin = a.getPointAttribute ("origin", origin);
	bool hasSize = a.getPointAttribute ("size", size);
	if (hasOrigin || hasSize)
		view->setViewSize (CRect (origin, size), false);
	bool b;
	if (a.getBooleanAttribute ("transparent", b))
		view->setTransparency (b);
	if (a.getBooleanAttribute ("mouse-enabled", b))
		view->setMouseEnabled (b);
	if (a.hasAttribute ("bitmap"))
		view->setBackground (readBitmap (a, "bitmap", d));
	double alpha;
	if (a.getDoubleAttribute ("opacity", alpha))
		view->setAlphaValue (static_cast<float> (alpha));
	if (auto tip = a.getAttributeValue ("tooltip"))
		view->setAttribute ("tooltip", *tip);
}

void applyContainerAttributes (CViewContainer* c, const UIAttributes& a, const IUIDescription* d)
{
	CColor color;
	if (readColor (a, "background-color", d, color))
		c->setBackgroundColor (color);
	if (auto style = a.getAttributeValue ("background-color-draw-style"))
	{
		if (*style == "stroked")
			c->setBackgroundColorDrawStyle (kDrawBackgroundStroked);
		else if (*style == "filled")
			c->setBackgroundColorDrawStyle (kDrawBackgroundFilled);
		else
			c->setBackgroundColorDrawStyle (kDrawBackgroundFilledAndStroked);
	}
	CPoint p;
	if (a.getPointAttribute ("background-offset", p))
		c->setBackgroundOffset (p);
	if (auto g = a.getAttributeValue ("background-gradient"))
	{
		if (d)
			c->setBackgroundGradient (d->getGradient (g->c_str ()));
	}
}

void applyControlAttributes (CControl* control, const UIAttributes& a, const IUIDescription* d)
{
	double v;
	if (a.getDoubleAttribute ("min-value", v))
		control->setMin (static_cast<float> (v));
	if (a.getDoubleAttribute ("max-value", v))
		control->setMax (static_cast<float> (v));
	if (a.getDoubleAttribute ("default-value", v))
		control->setDefaultValue (static_cast<float> (v));
	if (a.getDoubleAttribute ("wheel-inc-value", v))
		control->setWheelInc (static_cast<float> (v));
	if (auto tagName = a.getAttributeValue ("control-tag"))
	{
		if (!tagName->empty () && d)
		{
			int32_t tag = d->getTagForName (tagName->c_str ());
			if (tag != -1)
			{
				control->setListener (d->getControlListener (tagName->c_str ()));
				control->setTag (tag);
			}
		}
	}
}

void applyMultiBitmapAttributes (IMultiBitmapControl* m, const UIAttributes& a)
{
	double v;
	if (a.getDoubleAttribute ("height-of-one-image", v))
		m->setHeightOfOneImage (v);
	int32_t n;
	if (a.getIntegerAttribute ("sub-pixmaps", n))
		m->setNumSubPixmaps (n);
}

void applyKnobAttributes (CKnob* knob, const UIAttributes& a, const IUIDescription* d)
{
	double v;
	if (a.getDoubleAttribute ("angle-start", v))
		knob->setStartAngle (static_cast<float> (v * kDegToRad));
	if (a.getDoubleAttribute ("angle-range", v))
		knob->setRangeAngle (static_cast<float> (v * kDegToRad));
	if (a.getDoubleAttribute ("value-inset", v))
		knob->setInsetValue (v);
	if (a.getDoubleAttribute ("zoom-factor", v))
		knob->setZoomFactor (static_cast<float> (v));
	if (a.getDoubleAttribute ("handle-line-width", v))
		knob->setHandleLineWidth (v);
	if (a.getDoubleAttribute ("corona-inset", v))
		knob->setCoronaInset (v);
	CColor c;
	if (readColor (a, "corona-color", d, c))
		knob->setCoronaColor (c);
	if (readColor (a, "handle-color", d, c))
		knob->setColorHandle (c);
	if (readColor (a, "handle-shadow-color", d, c))
		knob->setColorShadowHandle (c);
	CPoint p;
	if (a.getPointAttribute ("background-offset", p))
		knob->setBackOffset (p);
	bool b;
	int32_t style = knob->getDrawStyle ();
	if (a.getBooleanAttribute ("circle-drawing", b))
		style = b ? (style | CKnob::kHandleCircleDrawing) : (style & ~CKnob::kHandleCircleDrawing);
	if (a.getBooleanAttribute ("corona-drawing", b))
		style = b ? (style | CKnob::kCoronaDrawing) : (style & ~CKnob::kCoronaDrawing);
	knob->setDrawStyle (style);
}

void applyParamDisplayAttributes (CParamDisplay* p, const UIAttributes& a, const IUIDescription* d)
{
	CColor c;
	if (readColor (a, "font-color", d, c))
		p->setFontColor (c);
	if (readColor (a, "back-color", d, c))
		p->setBackColor (c);
	if (readColor (a, "frame-color", d, c))
		p->setFrameColor (c);
	if (readColor (a, "shadow-color", d, c))
		p->setShadowColor (c);
	if (auto f = a.getAttributeValue ("font"))
	{
		if (d)
		{
			if (auto font = d->getFont (f->c_str ()))
				p->setFont (font);
		}
	}
	double v;
	if (a.getDoubleAttribute ("frame-width", v))
		p->setFrameWidth (v);
	if (a.getDoubleAttribute ("round-rect-radius", v))
		p->setRoundRectRadius (v);
	CPoint inset;
	if (a.getPointAttribute ("text-inset", inset))
		p->setTextInset (inset);
	if (auto align = a.getAttributeValue ("text-alignment"))
	{
		if (*align == "left")
			p->setHoriAlign (kLeftText);
		else if (*align == "right")
			p->setHoriAlign (kRightText);
		else
			p->setHoriAlign (kCenterText);
	}
	bool b;
	if (a.getBooleanAttribute ("antialias", b))
		p->setAntialias (b);
	int32_t style = p->getStyle ();
	const struct
	{
		const char* name;
		int32_t flag;
	} flags[] = {{"style-3D-in", k3DIn},         {"style-3D-out", k3DOut},       {"style-shadow-text", kShadowText},
	             {"style-no-text", kNoTextStyle}, {"style-no-draw", kNoDrawStyle}, {"style-no-frame", kNoFrame},
	             {"style-round-rect", kRoundRectStyle}};
	for (const auto& f : flags)
	{
		if (a.getBooleanAttribute (f.name, b))
			style = b ? (style | f.flag) : (style & ~f.flag);
	}
	p->setStyle (style);
}

} // namespace

void applyAttributes (CView* view, const UIAttributes& a, const IUIDescription* d)
{
	if (!view)
		return;
	applyViewAttributes (view, a, d);
	if (auto c = dynamic_cast<CViewContainer*> (view))
		applyContainerAttributes (c, a, d);
	if (auto control = dynamic_cast<CControl*> (view))
		applyControlAttributes (control, a, d);
	if (auto m = dynamic_cast<IMultiBitmapControl*> (view))
	{
		if (m->getHeightOfOneImage () <= 0.)
			m->setHeightOfOneImage (view->getHeight ());
		applyMultiBitmapAttributes (m, a);
	}
	if (auto knob = dynamic_cast<CKnob*> (view))
		applyKnobAttributes (knob, a, d);
	if (auto p = dynamic_cast<CParamDisplay*> (view))
		applyParamDisplayAttributes (p, a, d);
	if (auto label = dynamic_cast<CTextLabel*> (view))
	{
		if (auto title = a.getAttributeValue ("title"))
			label->setText (title->c_str ());
	}
	if (auto meter = dynamic_cast<CVuMeter*> (view))
	{
		if (a.hasAttribute ("off-bitmap"))
			meter->setOffBitmap (readBitmap (a, "off-bitmap", d));
		int32_t n;
		if (a.getIntegerAttribute ("num-led", n))
			meter->setNbLed (n);
		if (auto o = a.getAttributeValue ("orientation"))
			meter->setStyle (*o == "horizontal" ? CVuMeter::kHorizontal : CVuMeter::kVertical);
		double v;
		if (a.getDoubleAttribute ("decrease-step-value", v))
			meter->setDecreaseStepValue (static_cast<float> (v));
	}
	if (auto pad = dynamic_cast<CXYPad*> (view))
	{
		bool b;
		if (a.getBooleanAttribute ("stop-tracking-on-mouse-exit", b))
			pad->setStopTrackingOnMouseExit (b);
	}
}

CView* createView (const UIAttributes& a, const IUIDescription* d)
{
	auto cls = a.getAttributeValue ("class");
	if (!cls)
		return nullptr;
	const CRect empty (0, 0, 0, 0);
	CView* view = nullptr;
	if (*cls == "CViewContainer")
		view = new CViewContainer (empty);
	else if (*cls == "CView")
		view = new CView (empty);
	else if (*cls == "CControl")
		view = new CControl (empty);
	else if (*cls == "CKnob")
		view = new CKnob (empty, nullptr, -1);
	else if (*cls == "CAnimKnob")
		view = new CAnimKnob (empty, nullptr, -1, nullptr);
	else if (*cls == "COnOffButton")
		view = new COnOffButton (empty);
	else if (*cls == "CKickButton")
		view = new CKickButton (empty, nullptr, -1, nullptr);
	else if (*cls == "CParamDisplay")
		view = new CParamDisplay (empty);
	else if (*cls == "CTextLabel")
		view = new CTextLabel (empty);
	else if (*cls == "CTextEdit")
		view = new CTextEdit (empty, nullptr, -1);
	else if (*cls == "CXYPad")
		view = new CXYPad (empty);
	else if (*cls == "CVuMeter")
		view = new CVuMeter (empty, nullptr, nullptr, 100);
	if (!view)
		return nullptr;
	applyAttributes (view, a, d);
	return view;
}

} // namespace UIViewFactory
} // namespace VSTGUI
