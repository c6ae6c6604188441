#include "CKickButtonVx.h"

namespace VSTGUI {

CKickButtonVx::CKickButtonVx (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                              const CPoint& offset)
: CKickButton (size, listener, tag, background, offset)
{
}

CKickButtonVx::~CKickButtonVx () = default;

CMouseEventResult CKickButtonVx::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!buttons.isLeftButton ())
		return kMouseEventNotHandled;
	value = 1.f;
	fEntryState = 1.f;
	beginEdit ();
	if ((kickMode == kSendOnPressAndRelease || kickMode == kSendOnPress) && value != 0.f)
		valueChanged ();
	if (isDirty ())
		invalid ();
	return onMouseMoved (where, buttons);
}

CMouseEventResult CKickButtonVx::onMouseUp (CPoint& /*where*/, const CButtonState& /*buttons*/)
{
	value = getMin ();
	if (kickMode == kSendOnPressAndRelease || kickMode == kSendOnRelease)
		valueChanged ();
	if (isDirty ())
		invalid ();
	endEdit ();
	return kMouseEventHandled;
}

} // namespace VSTGUI
