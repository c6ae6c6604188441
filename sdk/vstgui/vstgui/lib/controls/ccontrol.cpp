#include "ccontrol.h"
#include "../cbitmap.h"
#include "../cframe.h"
#include <cmath>

namespace VSTGUI {

IdStringPtr CControl::kMessageValueChanged = "kMessageValueChanged";
IdStringPtr CControl::kMessageBeginEdit = "kMessageBeginEdit";
IdStringPtr CControl::kMessageEndEdit = "kMessageEndEdit";

CControl::CControl (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background)
: CView (size), listener (listener), tag (tag)
{
	setBackground (background);
}

CControl::CControl (const CControl& c)
: CView (c)
, listener (c.listener)
, tag (c.tag)
, oldValue (c.oldValue)
, defaultValue (c.defaultValue)
, value (c.value)
, vmin (c.vmin)
, vmax (c.vmax)
, wheelInc (c.wheelInc)
{
}

CControl::~CControl () = default;

void CControl::setValue (float val)
{
	if (std::isnan (val))
		return;
	if (val < vmin)
		val = vmin;
	else if (val > vmax)
		val = vmax;
	if (val != value)
		value = val;
}

void CControl::setValueNormalized (float val)
{
	if (val > 1.f)
		val = 1.f;
	else if (val < 0.f)
		val = 0.f;
	setValue (getRange () * val + getMin ());
}

float CControl::getValueNormalized () const
{
	float range = getRange ();
	if (range == 0.f)
		return 0.f;
	return (value - getMin ()) / range;
}

void CControl::bounceValue ()
{
	if (value > vmax)
		value = vmax;
	else if (value < vmin)
		value = vmin;
}

bool CControl::checkDefaultValue (CButtonState button)
{
	// Control-click (Linux/Windows convention) and a double-click reset to the default.
	if (button.isLeftButton () &&
	    (button.getModifierState () == kControl || button.isDoubleClick ()))
	{
		float defValue = getDefaultValue ();
		if (defValue != getValue ())
		{
			beginEdit ();
			setValue (defValue);
			valueChanged ();
			endEdit ();
			invalid ();
		}
		return true;
	}
	return false;
}

void CControl::setTag (int32_t val)
{
	if (listener)
		listener->controlTagWillChange (this);
	tag = val;
	if (listener)
		listener->controlTagDidChange (this);
}

void CControl::beginEdit ()
{
	// Nested begin/end pairs report only the outermost.
	if (++editing == 1)
	{
		if (listener)
			listener->controlBeginEdit (this);
		if (auto frame = getFrame ())
		{
			if (auto editor = frame->getEditor ())
				editor->beginEdit (tag);
		}
	}
}

void CControl::endEdit ()
{
	if (editing <= 0)
		return;
	if (--editing == 0)
	{
		if (auto frame = getFrame ())
		{
			if (auto editor = frame->getEditor ())
				editor->endEdit (tag);
		}
		if (listener)
			listener->controlEndEdit (this);
	}
}

void CControl::valueChanged ()
{
	if (listener)
		listener->valueChanged (this);
}

bool CControl::isDirty () const
{
	return oldValue != value || CView::isDirty ();
}

void CControl::setDirty (bool val)
{
	CView::setDirty (val);
	if (val)
	{
		if (value != -1.f)
			oldValue = -1.f;
		else
			oldValue = 0.f;
	}
	else
		oldValue = value;
}

void IMultiBitmapControl::autoComputeHeightOfOneImage ()
{
	CBitmap* bitmap = multiBitmapBackground ();
	if (bitmap && subPixmaps > 0)
		heightOfOneImage = bitmap->getHeight () / subPixmaps;
}

} // namespace VSTGUI
