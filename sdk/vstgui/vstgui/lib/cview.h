#pragma once

#include "cbuttonstate.h"
#include "ccolor.h"
#include "crect.h"
#include <map>
#include <string>

namespace VSTGUI {

class CBitmap;
class CDrawContext;
class CFrame;
class CViewContainer;
class IController;

//------------------------------------------------------------------------
// Base of every view: a rectangle in its parent's coordinates that draws itself
// and may answer mouse events.
class CView : public CBaseObject
{
public:
	explicit CView (const CRect& size);
	CView (const CView& view);
	~CView () override;

	// Drawing
	virtual void draw (CDrawContext* context);
	virtual void drawRect (CDrawContext* context, const CRect& updateRect);
	virtual bool checkUpdate (const CRect& updateRect) const { return updateRect.rectOverlap (size); }
	virtual void setDirty (bool val = true);
	virtual bool isDirty () const { return dirty; }
	virtual void invalid () { invalidRect (size); }
	virtual void invalidRect (const CRect& rect);

	// Mouse
	virtual CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseEntered (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseExited (CPoint& where, const CButtonState& buttons);
	virtual bool onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance, const CButtonState& buttons);
	virtual bool onWheel (const CPoint& where, const float& distance, const CButtonState& buttons);
	virtual void setMouseEnabled (bool bEnable = true) { mouseEnabled = bEnable; }
	virtual bool getMouseEnabled () const { return mouseEnabled; }
	virtual void setMouseableArea (const CRect& rect) { mouseableArea = rect; }
	virtual CRect& getMouseableArea (CRect& rect) const;
	virtual bool hitTest (const CPoint& where, const CButtonState& buttons = -1);

	// Size
	const CRect& getViewSize () const { return size; }
	virtual void setViewSize (const CRect& rect, bool invalid = true);
	CCoord getWidth () const { return size.getWidth (); }
	CCoord getHeight () const { return size.getHeight (); }
	virtual CPoint& localToFrame (CPoint& point) const;
	virtual CPoint& frameToLocal (CPoint& point) const;

	// Appearance
	virtual void setBackground (CBitmap* background);
	CBitmap* getBackground () const { return background; }
	virtual void setTransparency (bool val) { transparent = val; }
	bool getTransparency () const { return transparent; }
	virtual void setVisible (bool state);
	bool isVisible () const { return visible; }
	virtual void setAlphaValue (float alpha) { alphaValue = alpha; }
	float getAlphaValue () const { return alphaValue; }

	// Parents
	virtual bool attached (CView* parent);
	virtual bool removed (CView* parent);
	bool isAttached () const { return attachedToParent; }
	CView* getParentView () const { return parentView; }
	CFrame* getFrame () const { return parentFrame; }
	void setParentView (CView* parent) { parentView = parent; }
	void setParentFrame (CFrame* frame) { parentFrame = frame; }
	virtual CViewContainer* asViewContainer () { return nullptr; }

	// Extra attributes a description or editor attaches to a view, by name.
	void setAttribute (const std::string& name, const std::string& value) { attributes[name] = value; }
	const std::string* getAttribute (const std::string& name) const;

	// A sub-controller that lives as long as this view (owned: forgotten or deleted with it).
	void setViewController (IController* controller);
	IController* getViewController () const { return viewController; }

	virtual CView* newCopy () const { return new CView (*this); }

protected:
	CRect size;
	CRect mouseableArea;
	CFrame* parentFrame {nullptr};
	CView* parentView {nullptr};
	SharedPointer<CBitmap> background;
	bool dirty {false};
	bool mouseEnabled {true};
	bool transparent {false};
	bool visible {true};
	bool attachedToParent {false};
	float alphaValue {1.f};
	std::map<std::string, std::string> attributes;
	IController* viewController {nullptr};
};

} // namespace VSTGUI
