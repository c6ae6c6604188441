#pragma once

#include "cviewcontainer.h"

namespace Steinberg { class FUnknown; namespace Linux { class IRunLoop; } }
typedef struct _cairo cairo_t;

namespace VSTGUI {

class CFrame;
class IPlatformFrame;

// The editor side a frame reports to (implemented by VSTGUIEditor).
class VSTGUIEditorInterface
{
public:
	virtual ~VSTGUIEditorInterface () = default;
	virtual void doIdleStuff () {}
	virtual int32_t getKnobMode () const { return -1; }
	virtual bool beforeSizeChange (const CRect& /*newSize*/, const CRect& /*oldSize*/) { return true; }
	virtual bool beginEdit (int32_t /*index*/) { return false; }
	virtual bool endEdit (int32_t /*index*/) { return false; }
	virtual CFrame* getFrame () const { return frame; }

protected:
	CFrame* frame {nullptr};
};

enum PlatformType
{
	kHWND,
	kWindowRef,
	kNSView,
	kUIView,
	kHWNDTopLevel,
	kX11EmbedWindowID,
	kDefaultNative = kX11EmbedWindowID
};

// Hears which view the mouse is over (the deepest mouse-enabled one), while no button is down.
class IMouseObserver
{
public:
	virtual ~IMouseObserver () = default;
	virtual void onMouseEntered (CView* view, CFrame* frame) = 0;
	virtual void onMouseExited (CView* view, CFrame* frame) = 0;
};

// Knob drag modes (getKnobMode).
enum
{
	kCircularMode = 0,
	kRelativCircularMode,
	kLinearMode
};

// How a frame reaches the host on Linux: its run loop, when it has one.
struct X11FrameConfig
{
	Steinberg::Linux::IRunLoop* runLoop {nullptr};
	// What the host holds (the editor's view): kept alive while the frame handles an event or a
	// tick, since a host may let go of it from inside an edit the frame's controls report.
	Steinberg::FUnknown* owner {nullptr};
};

//------------------------------------------------------------------------
// The top view: owns the platform window while open and collects the areas to repaint.
class CFrame : public CViewContainer
{
public:
	CFrame (const CRect& size, VSTGUIEditorInterface* editor);

	// Opens a child window of the given parent; false when the platform cannot.
	virtual bool open (void* parent, PlatformType type = kDefaultNative, const X11FrameConfig* config = nullptr);
	// Closes the window and forgets the frame (the caller's reference).
	virtual void close ();
	bool isOpen () const { return platformFrame != nullptr; }

	virtual bool setSize (CCoord width, CCoord height);
	bool setPosition (CCoord x, CCoord y);
	VSTGUIEditorInterface* getEditor () const { return editor; }
	// The editor's knob mode; circular when there is no editor or it has no preference.
	int32_t getKnobMode () const;
	void setEditor (VSTGUIEditorInterface* e) { editor = e; }
	void enableTooltips (bool state) { tooltipsEnabled = state; }
	bool tooltipsEnabledState () const { return tooltipsEnabled; }
	// Window pixels per unit of the frame (HiDPI): the window is the frame's size times the
	// factor and everything is drawn at that resolution; views keep their coordinates, and
	// mouse positions come back in them. False for a factor that is not positive and finite.
	bool setScaleFactor (double factor);
	double getScaleFactor () const { return scaleFactor; }

	void invalidRect (const CRect& rect) override;
	void invalid () override { invalidRect (getViewSize ()); }
	// Area waiting to be repainted (frame coordinates); empty when nothing is.
	const CRect& getInvalidArea () const { return invalidArea; }
	// The same as separate rectangles: two knobs far apart repaint as two small areas.
	const std::vector<CRect>& getInvalidRects () const { return invalidRects; }
	// Paints the waiting area into the window now (nothing without a window).
	void updateWindow ();
	// Draws the given area into a context of the whole frame.
	void drawFrameRect (CDrawContext* context, const CRect& rect);
	// Draws the given area (frame coordinates) at scale into cr, whose user space is in
	// pixels: the window and the offscreen pictures draw through here alike.
	void drawScaled (cairo_t* cr, double scale, const CRect& area);
	void clearInvalidArea ()
	{
		invalidArea = CRect ();
		invalidRects.clear ();
	}

	virtual void idle ();
	void setFocusView (CView* v) { focusView = v; }
	CView* getFocusView () const { return focusView; }

	// Entry points of the platform window (frame coordinates).
	CMouseEventResult platformOnMouseDown (CPoint& where, const CButtonState& buttons);
	CMouseEventResult platformOnMouseUp (CPoint& where, const CButtonState& buttons);
	CMouseEventResult platformOnMouseMoved (CPoint& where, const CButtonState& buttons);
	// The mouse left the window.
	void platformOnMouseExited ();
	bool platformOnWheel (const CPoint& where, const CMouseWheelAxis& axis, float distance, const CButtonState& buttons);

	void registerMouseObserver (IMouseObserver* observer);
	void unregisterMouseObserver (IMouseObserver* observer);
	CView* getMouseOverView () const { return mouseOverView; }
	bool removeAll (bool withForget = true) override;

	IPlatformFrame* getPlatformFrame () const { return platformFrame; }
	CPoint& localToFrame (CPoint& point) const override { return point; }
	CPoint& frameToLocal (CPoint& point) const override { return point; }
	bool attached (CView* parent) override;

protected:
	~CFrame () override;
	void setMouseOverView (CView* view);
	void releasePlatformFrame ();

	VSTGUIEditorInterface* editor;
	IPlatformFrame* platformFrame {nullptr};
	CView* focusView {nullptr};
	CRect invalidArea;
	std::vector<CRect> invalidRects;
	std::vector<IMouseObserver*> mouseObservers;
	SharedPointer<CView> mouseOverView;
	bool tooltipsEnabled {false};
	bool inMouseDown {false};
	double scaleFactor {1.};
};

// Pixels a length of the frame takes at scale (rounded to the nearest).
int32_t scaledLength (CCoord length, double scale);

//------------------------------------------------------------------------
// Offscreen drawing of a frame: the same views, drawn into a cairo image surface.
// The result holds premultiplied ARGB32 pixels (0xAARRGGBB per pixel).
struct COffscreenImage
{
	int32_t width {0};
	int32_t height {0};
	std::vector<uint32_t> pixels;
	uint32_t pixelAt (int32_t x, int32_t y) const { return pixels[static_cast<size_t> (y * width + x)]; }
};
bool renderFrame (CFrame* frame, double scale, COffscreenImage& result);
bool renderFrameToPNG (CFrame* frame, const std::string& path, double scale = 1.);

// Drives frames that have no host run loop and the timers that have no host timer:
// handles waiting window events, fires due timers and repaints. Safe to call at any time.
void idle ();

} // namespace VSTGUI
