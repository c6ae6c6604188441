// The real Tarnwick editor, loaded from the built bundle, in a real X server.
#include <gtest/gtest.h> // before Xlib, whose macros (None, Bool) clash with it

#include "BundleEditorFixture.h"

#include <cmath>

TEST_F (BundleEditorX11, ViewIsAFixed485By270X11Editor)
{
	PluginInstance& instance = newInstance ();
	IPtr<IPlugView> view = instance.createView ();
	ASSERT_TRUE (view);
	EXPECT_EQ (view->isPlatformTypeSupported (kPlatformTypeX11EmbedWindowID), kResultTrue);
	ViewRect r;
	ASSERT_EQ (view->getSize (&r), kResultTrue);
	EXPECT_EQ (r.getWidth (), 485);
	EXPECT_EQ (r.getHeight (), 270);
	EXPECT_EQ (view->canResize (), kResultFalse);
	ViewRect bigger (0, 0, 600, 400);
	EXPECT_NE (view->onSize (&bigger), kResultTrue);
}

TEST_F (BundleEditorX11, ChildWindowWithXEmbedInfoAndTheArtwork)
{
	PluginInstance& instance = newInstance ();
	HostRunLoop runLoop;
	OpenEditor editor (instance, &runLoop);
	ASSERT_EQ (editor.attachResult, kResultTrue);
	Window child = editor.window.pluginChild ();
	ASSERT_NE (child, 0u);
	XWindowAttributes a {};
	XGetWindowAttributes (editor.window.display (), child, &a);
	EXPECT_EQ (a.width, 485);
	EXPECT_EQ (a.height, 270);
	EXPECT_EQ (a.map_state, IsViewable);
	Atom info = XInternAtom (editor.window.display (), "_XEMBED_INFO", False);
	Atom type = 0;
	int format = 0;
	unsigned long items = 0, after = 0;
	unsigned char* data = nullptr;
	ASSERT_EQ (XGetWindowProperty (editor.window.display (), child, info, 0, 2, False, info, &type, &format, &items,
	                               &after, &data),
	           Success);
	EXPECT_EQ (items, 2u);
	if (data)
		XFree (data);
	EXPECT_EQ (runLoop.eventHandlerCount (), 1u);
	EXPECT_GE (runLoop.timerCount (), 1u);
	// The window shows the editor, not a black or empty area.
	auto shot = editor.window.screenshot ();
	int nonBlack = 0;
	for (uint32_t p : shot.pixels)
		nonBlack += p != 0;
	EXPECT_GT (nonBlack, 485 * 270 / 2);
	editor.close ();
	EXPECT_EQ (runLoop.eventHandlerCount (), 0u);
	EXPECT_EQ (runLoop.timerCount (), 0u);
}

TEST_F (BundleEditorX11, DraggingCutoffEditsParameter2)
{
	PluginInstance& instance = newInstance ();
	HostRunLoop runLoop;
	OpenEditor editor (instance, &runLoop);
	ASSERT_EQ (editor.attachResult, kResultTrue);
	double before = instance.getParamNormalized (2);
	instance.handler ().clear ();
	// Linear knob mode: 40 px of travel is a fifth of the range.
	int direction = before > 0.5 ? 1 : -1; // down when high, up when low
	editor.window.drag (kCutoffCentreX, kCutoffCentreY, kCutoffCentreX, kCutoffCentreY + direction * 40, 8, &runLoop);
	double after = instance.getParamNormalized (2);
	EXPECT_NEAR (after, before - direction * 0.2, 0.006);

	const auto& calls = instance.handler ().calls ();
	ASSERT_GE (calls.size (), 3u);
	EXPECT_EQ (calls.front ().kind, HandlerCall::kBeginEdit);
	EXPECT_EQ (calls.front ().id, 2u);
	EXPECT_EQ (calls.back ().kind, HandlerCall::kEndEdit);
	EXPECT_EQ (calls.back ().id, 2u);
	size_t performs = 0;
	for (size_t i = 1; i + 1 < calls.size (); ++i)
	{
		EXPECT_EQ (calls[i].kind, HandlerCall::kPerformEdit);
		EXPECT_EQ (calls[i].id, 2u);
		++performs;
	}
	EXPECT_GE (performs, 2u);
	EXPECT_NEAR (calls[calls.size () - 2].value, after, 1e-9);
}

TEST_F (BundleEditorX11, ClickingDelayStateTogglesParameter8)
{
	PluginInstance& instance = newInstance ();
	HostRunLoop runLoop;
	OpenEditor editor (instance, &runLoop);
	ASSERT_EQ (editor.attachResult, kResultTrue);
	double start = instance.getParamNormalized (8);
	instance.handler ().clear ();
	editor.window.click (kDelayStateX, kDelayStateY, &runLoop);
	EXPECT_EQ (instance.getParamNormalized (8), start < 0.5 ? 1. : 0.);
	EXPECT_EQ (instance.handler ().countEdits (HandlerCall::kBeginEdit, 8), 1u);
	EXPECT_EQ (instance.handler ().countEdits (HandlerCall::kPerformEdit, 8), 1u);
	EXPECT_EQ (instance.handler ().countEdits (HandlerCall::kEndEdit, 8), 1u);
	editor.window.click (kDelayStateX, kDelayStateY, &runLoop);
	EXPECT_EQ (instance.getParamNormalized (8), start);
}

TEST_F (BundleEditorX11, AHostChangeOfDelayMovesItsKnob)
{
	PluginInstance& instance = newInstance ();
	HostRunLoop runLoop;
	OpenEditor editor (instance, &runLoop);
	ASSERT_EQ (editor.attachResult, kResultTrue);
	instance.getController ()->setParamNormalized (0, 0.0);
	editor.window.pump (&runLoop, 200);
	auto low = editor.window.screenshot ();
	instance.getController ()->setParamNormalized (0, 1.0);
	editor.window.pump (&runLoop, 200);
	auto high = editor.window.screenshot ();
	EXPECT_GT (low.differences (high, kDelayKnobLeft, kDelayKnobTop, kDelayKnobSize, kDelayKnobSize), 100);
	EXPECT_EQ (low.differences (high, kCutoffLeft, kCutoffTop, kCutoffSize, kCutoffSize), 0);
	// Back to the first value: the same picture again.
	instance.getController ()->setParamNormalized (0, 0.0);
	editor.window.pump (&runLoop, 200);
	auto again = editor.window.screenshot ();
	EXPECT_EQ (low.differences (again, 0, 0, 485, 270), 0);
	// No edit was reported for a change the host made.
	EXPECT_EQ (instance.handler ().count (HandlerCall::kPerformEdit), 0u);
}

TEST_F (BundleEditorX11, OpenAndClose50Times)
{
	PluginInstance& instance = newInstance ();
	HostRunLoop runLoop;
	TestWindow window (485, 270);
	HostPlugFrame frame (&runLoop);
	for (int i = 0; i < 50; ++i)
	{
		IPtr<IPlugView> view = instance.createView ();
		ASSERT_TRUE (view);
		view->setFrame (&frame);
		ASSERT_EQ (view->attached (reinterpret_cast<void*> (window.id ()), kPlatformTypeX11EmbedWindowID), kResultTrue)
		    << i;
		window.pump (&runLoop, 15);
		EXPECT_EQ (runLoop.eventHandlerCount (), 1u);
		EXPECT_EQ (view->removed (), kResultOk);
		view->setFrame (nullptr);
		EXPECT_EQ (runLoop.eventHandlerCount (), 0u) << i;
		EXPECT_EQ (runLoop.timerCount (), 0u) << i;
		// The same view may also be attached again after a close.
		if (i % 10 == 0)
		{
			view->setFrame (&frame);
			ASSERT_EQ (view->attached (reinterpret_cast<void*> (window.id ()), kPlatformTypeX11EmbedWindowID), kResultTrue);
			window.pump (&runLoop, 15);
			view->removed ();
			view->setFrame (nullptr);
		}
	}
	window.pump (&runLoop, 20);
	EXPECT_EQ (runLoop.eventHandlerCount (), 0u);
}

TEST_F (BundleEditorX11, TwoInstancesAtOnce)
{
	PluginInstance& a = newInstance ();
	PluginInstance& b = newInstance ();
	HostRunLoop runLoop;
	{
		OpenEditor first (a, &runLoop);
		OpenEditor second (b, &runLoop);
		ASSERT_EQ (first.attachResult, kResultTrue);
		ASSERT_EQ (second.attachResult, kResultTrue);
		EXPECT_EQ (runLoop.eventHandlerCount (), 2u);
		double before = b.getParamNormalized (8);
		second.window.click (kDelayStateX, kDelayStateY, &runLoop);
		EXPECT_NE (b.getParamNormalized (8), before);
		EXPECT_EQ (a.handler ().count (HandlerCall::kPerformEdit), 0u);
		first.close ();
		second.window.pump (&runLoop, 100);
		EXPECT_EQ (runLoop.eventHandlerCount (), 1u);
		second.window.click (kDelayStateX, kDelayStateY, &runLoop);
		EXPECT_EQ (b.getParamNormalized (8), before);
	}
	EXPECT_EQ (runLoop.eventHandlerCount (), 0u);
	EXPECT_EQ (runLoop.timerCount (), 0u);
}

TEST_F (BundleEditorX11, AHostWithoutRunLoopGetsNoCrash)
{
	PluginInstance& instance = newInstance ();
	{
		OpenEditor editor (instance, nullptr);
		ASSERT_EQ (editor.attachResult, kResultTrue);
		// Nothing drives the editor, yet the window is not black: it shows the editor's picture.
		auto shot = editor.window.screenshot ();
		int nonBlack = 0;
		for (uint32_t p : shot.pixels)
			nonBlack += p != 0;
		EXPECT_GT (nonBlack, 485 * 270 / 2);
		editor.window.click (kDelayStateX, kDelayStateY, nullptr);
		editor.window.pump (nullptr, 100);
	}
	{
		// No frame at all.
		TestWindow window (485, 270);
		IPtr<IPlugView> view = instance.createView ();
		ASSERT_TRUE (view);
		if (view->attached (reinterpret_cast<void*> (window.id ()), kPlatformTypeX11EmbedWindowID) == kResultTrue)
		{
			window.pump (nullptr, 50);
			view->removed ();
		}
	}
	// A bad parent window id is refused, not fatal.
	IPtr<IPlugView> view = instance.createView ();
	HostRunLoop runLoop;
	HostPlugFrame frame (&runLoop);
	view->setFrame (&frame);
	EXPECT_NE (view->attached (reinterpret_cast<void*> (0x7ffffff0), kPlatformTypeX11EmbedWindowID), kResultTrue);
	EXPECT_EQ (runLoop.eventHandlerCount (), 0u);
	view->setFrame (nullptr);
}
