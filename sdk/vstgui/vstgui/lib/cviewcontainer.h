#pragma once

#include "cview.h"
#include <vector>

namespace VSTGUI {

class CGradient;

enum CBackgroundDrawStyle
{
	kDrawBackgroundStroked = 0,
	kDrawBackgroundFilled,
	kDrawBackgroundFilledAndStroked
};

//------------------------------------------------------------------------
// A view holding child views, drawn in the order they were added (later on top).
// Mouse events go to the topmost child under the mouse; the child that took a
// mouse down gets the moves and the up.
class CViewContainer : public CView
{
public:
	explicit CViewContainer (const CRect& size);
	CViewContainer (const CViewContainer& other);
	~CViewContainer () override;

	virtual bool addView (CView* pView);
	virtual bool addView (CView* pView, const CRect& mouseableArea, bool mouseEnabled = true);
	virtual bool removeView (CView* pView, bool withForget = true);
	virtual bool removeAll (bool withForget = true);
	virtual bool isChild (CView* pView) const;
	uint32_t getNbViews () const { return static_cast<uint32_t> (children.size ()); }
	CView* getView (uint32_t index) const;
	virtual CView* getViewAt (const CPoint& where) const;
	// Every descendant (depth first) of type T.
	template <typename T>
	void getChildViewsOfType (std::vector<T*>& result, bool deep = true) const;

	void setBackgroundColor (const CColor& color);
	const CColor& getBackgroundColor () const { return backgroundColor; }
	void setBackgroundColorDrawStyle (CBackgroundDrawStyle style);
	CBackgroundDrawStyle getBackgroundColorDrawStyle () const { return backgroundColorDrawStyle; }
	void setBackgroundOffset (const CPoint& p) { backgroundOffset = p; }
	const CPoint& getBackgroundOffset () const { return backgroundOffset; }
	void setBackgroundGradient (CGradient* g);

	void draw (CDrawContext* context) override;
	void drawRect (CDrawContext* context, const CRect& updateRect) override;
	virtual void drawBackgroundRect (CDrawContext* context, const CRect& rect);
	bool isDirty () const override;

	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	bool onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance, const CButtonState& buttons) override;
	using CView::onWheel;

	bool attached (CView* parent) override;
	bool removed (CView* parent) override;
	CViewContainer* asViewContainer () override { return this; }
	CPoint& localToFrame (CPoint& point) const override;
	CPoint& frameToLocal (CPoint& point) const override;
	// Takes a rectangle in this container's own coordinates.
	void invalidRect (const CRect& rect) override;
	void invalid () override { invalidRect (CRect (0, 0, getWidth (), getHeight ())); }

	CView* newCopy () const override { return new CViewContainer (*this); }

protected:
	std::vector<SharedPointer<CView>> children;
	SharedPointer<CView> mouseDownView;
	CColor backgroundColor {kBlackCColor};
	CBackgroundDrawStyle backgroundColorDrawStyle {kDrawBackgroundFilledAndStroked};
	CPoint backgroundOffset;
	SharedPointer<CGradient> backgroundGradient;
};

template <typename T>
void CViewContainer::getChildViewsOfType (std::vector<T*>& result, bool deep) const
{
	for (const auto& child : children)
	{
		if (auto typed = dynamic_cast<T*> (child.get ()))
			result.push_back (typed);
		if (deep)
		{
			if (auto container = child->asViewContainer ())
				container->getChildViewsOfType<T> (result, deep);
		}
	}
}

} // namespace VSTGUI
