// A kick button that reports its value on press, on release, or both.
#pragma once

#include "vstgui/lib/controls/ckickbutton.h"

namespace VSTGUI {

class CKickButtonVx : public CKickButton
{
public:
	enum KickMode : int32_t
	{
		kSendOnPressAndRelease = 0,
		kSendOnRelease = 1,
		kSendOnPress = 2
	};

	CKickButtonVx (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
	               const CPoint& offset = CPoint (0, 0));
	~CKickButtonVx () override;

	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;

	int32_t kickMode {kSendOnPressAndRelease};
};

} // namespace VSTGUI
