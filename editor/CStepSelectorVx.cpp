#include "CStepSelectorVx.h"

#include "EditorLayout.h"
#include "Palette.h"
#include "Slot.h"
#include "TrackedText.h"

#include "vstgui/lib/cdrawcontext.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>

namespace Vire2VUR3 {

using namespace VSTGUI;
namespace Artwork = Tarnwick::Artwork;

namespace {
// A little larger than the printed labels: the choice is the control's face.
constexpr double kTextSize = 11.0;
constexpr double kTracking = 0.4;
constexpr double kCornerRadius = 5.5;
constexpr double kChevronWidth = 5.0;

void chevron (cairo_t* cr, double cx, double tipY, double direction)
{
	cairo_move_to (cr, cx - kChevronWidth * 0.5, tipY + direction * 2.5);
	cairo_line_to (cr, cx, tipY);
	cairo_line_to (cr, cx + kChevronWidth * 0.5, tipY + direction * 2.5);
}
} // namespace

CStepSelectorVx::CStepSelectorVx (const CRect& size, IControlListener* listener, int32_t tag)
: CParamDisplay (size, nullptr, kNoFrame)
{
	setListener (listener);
	setTag (tag);
	setTransparency (true);
	setWheelInc (1.f);
}

std::string CStepSelectorVx::shownText ()
{
	std::string text;
	if (!valueToString || !valueToString (value, text, this))
		text.clear ();
	return text;
}

void CStepSelectorVx::setValue (float val)
{
	CControl::setValue (std::round (std::clamp (val, getMin (), getMax ())));
}

void CStepSelectorVx::stepTo (float choice)
{
	const float before = value;
	setValue (choice);
	if (value == before)
		return;
	valueChanged ();
	invalid ();
}

void CStepSelectorVx::draw (CDrawContext* context)
{
	setDirty (false);
	cairo_t* cr = context->getCairo ();
	if (!cr)
		return;
	cairo_save (cr);
	// The slot of a switch beside it: the same inset, height and top.
	const double x = size.left + Artwork::kSwitchSlotInset;
	const double w = size.getWidth () - 2.0 * Artwork::kSwitchSlotInset;
	const double h = Artwork::kSwitchSlotHeight;
	const double y = size.top + Artwork::slotTop (static_cast<int> (size.getHeight ()));
	Artwork::paintSlot (cr, x, y, w, h, kCornerRadius);

	// Up and down marks at the right end: the choice steps both ways.
	const double markX = x + w - 7.0;
	const double cy = y + h * 0.5;
	cairo_set_line_width (cr, 1.2);
	cairo_set_line_cap (cr, CAIRO_LINE_CAP_ROUND);
	cairo_set_line_join (cr, CAIRO_LINE_JOIN_ROUND);
	const Artwork::Rgba& muted = Artwork::Palette::kMuted;
	cairo_set_source_rgba (cr, muted.r, muted.g, muted.b, value < getMax () ? 0.9 : 0.3);
	chevron (cr, markX, cy - 5.0, 1.0);
	cairo_stroke (cr);
	cairo_set_source_rgba (cr, muted.r, muted.g, muted.b, value > getMin () ? 0.9 : 0.3);
	chevron (cr, markX, cy + 5.0, -1.0);
	cairo_stroke (cr);

	const std::string text = shownText ();
	if (!text.empty ())
	{
		cairo_select_font_face (cr, "DejaVu Sans Condensed", CAIRO_FONT_SLANT_NORMAL,
		                        CAIRO_FONT_WEIGHT_BOLD);
		Artwork::useTextOptions (cr, kTextSize);
		const double centre = x + (w - 12.0) * 0.5 + 2.0;
		const double baseline = cy + 4.0;
		cairo_set_source_rgba (cr, 0.0, 0.0, 0.0, 0.6);
		Artwork::showTrackedText (cr, text.c_str (), centre, baseline + 1.0, kTracking);
		const Artwork::Rgba& amber = Artwork::Palette::kAmber;
		cairo_set_source_rgba (cr, amber.r, amber.g, amber.b, 1.0);
		Artwork::showTrackedText (cr, text.c_str (), centre, baseline, kTracking);
	}
	cairo_restore (cr);
}

CMouseEventResult CStepSelectorVx::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!buttons.isLeftButton ())
		return kMouseEventNotHandled;
	if (checkDefaultValue (buttons))
		return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
	beginEdit ();
	dragging = true;
	dragStartY = where.y;
	dragStartValue = value;
	return kMouseEventHandled;
}

CMouseEventResult CStepSelectorVx::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (!dragging || !buttons.isLeftButton ())
		return kMouseEventNotHandled;
	// Up is the longer note; whole choices only, so a small tremor changes nothing.
	const double steps = std::trunc ((dragStartY - where.y) / kPixelsPerStep);
	stepTo (dragStartValue + static_cast<float> (steps));
	return kMouseEventHandled;
}

CMouseEventResult CStepSelectorVx::onMouseUp (CPoint& /*where*/, const CButtonState& /*buttons*/)
{
	if (dragging)
	{
		dragging = false;
		endEdit ();
	}
	return kMouseEventHandled;
}

bool CStepSelectorVx::onWheel (const CPoint& /*where*/, const CMouseWheelAxis& axis,
                               const float& distance, const CButtonState& /*buttons*/)
{
	if (!getMouseEnabled () || axis != kMouseWheelAxisY || distance == 0.f)
		return false;
	beginEdit ();
	stepTo (value + (distance > 0.f ? 1.f : -1.f));
	endEdit ();
	return true;
}

} // namespace Vire2VUR3
