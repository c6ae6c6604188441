#pragma once

#include "../vstguibase.h"

namespace VSTGUI {

class CControl;

class IControlListener
{
public:
	virtual ~IControlListener () = default;
	virtual void valueChanged (CControl* pControl) = 0;
	virtual int32_t controlModifierClicked (CControl* /*pControl*/, int32_t /*button*/) { return 0; }
	virtual void controlBeginEdit (CControl* /*pControl*/) {}
	virtual void controlEndEdit (CControl* /*pControl*/) {}
	virtual void controlTagWillChange (CControl* /*pControl*/) {}
	virtual void controlTagDidChange (CControl* /*pControl*/) {}
};

} // namespace VSTGUI
