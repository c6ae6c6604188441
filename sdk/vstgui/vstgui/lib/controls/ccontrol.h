#pragma once

#include "../cview.h"
#include "icontrollistener.h"

namespace VSTGUI {

//------------------------------------------------------------------------
// A view with a value between min and max, a tag and a listener that hears of edits.
class CControl : public CView
{
public:
	CControl (const CRect& size, IControlListener* listener = nullptr, int32_t tag = 0, CBitmap* background = nullptr);
	CControl (const CControl& c);
	~CControl () override;

	virtual void setValue (float val);
	virtual float getValue () const { return value; }
	virtual void setValueNormalized (float val);
	virtual float getValueNormalized () const;
	virtual void setMin (float val) { vmin = val; }
	virtual float getMin () const { return vmin; }
	virtual void setMax (float val) { vmax = val; }
	virtual float getMax () const { return vmax; }
	float getRange () const { return vmax - vmin; }
	virtual void setOldValue (float val) { oldValue = val; }
	virtual float getOldValue () const { return oldValue; }
	virtual void setDefaultValue (float val) { defaultValue = val; }
	virtual float getDefaultValue () const { return defaultValue; }
	virtual void setWheelInc (float val) { wheelInc = val; }
	virtual float getWheelInc () const { return wheelInc; }
	virtual void bounceValue ();
	virtual bool checkDefaultValue (CButtonState button);

	virtual void setTag (int32_t val);
	virtual int32_t getTag () const { return tag; }
	virtual void setListener (IControlListener* l) { listener = l; }
	IControlListener* getListener () const { return listener; }

	virtual void beginEdit ();
	virtual void endEdit ();
	bool isEditing () const { return editing > 0; }
	virtual void valueChanged ();

	bool isDirty () const override;
	void setDirty (bool val = true) override;

	CView* newCopy () const override { return new CControl (*this); }

	// Messages sent to the frame's observers (kept for code that compares them).
	static IdStringPtr kMessageValueChanged;
	static IdStringPtr kMessageBeginEdit;
	static IdStringPtr kMessageEndEdit;

protected:
	IControlListener* listener;
	int32_t tag;
	float oldValue {1.f};
	float defaultValue {0.5f};
	float value {0.f};
	float vmin {0.f};
	float vmax {1.f};
	float wheelInc {0.1f};
	int32_t editing {0};
};

// A control drawn from a vertical strip of equally tall images.
class IMultiBitmapControl
{
public:
	virtual ~IMultiBitmapControl () = default;
	virtual void setHeightOfOneImage (const CCoord& height) { heightOfOneImage = height; }
	virtual CCoord getHeightOfOneImage () const { return heightOfOneImage; }
	virtual void setNumSubPixmaps (int32_t num) { subPixmaps = num; }
	virtual int32_t getNumSubPixmaps () const { return subPixmaps; }
	virtual void autoComputeHeightOfOneImage ();

protected:
	CCoord heightOfOneImage {0.};
	int32_t subPixmaps {0};
	virtual CBitmap* multiBitmapBackground () const = 0;
};

} // namespace VSTGUI
