// The module's editor opened by a VST 2 host in its own X11 window, driven
// only by the host's idle calls; a knob dragged with the (fake) mouse reaches
// the host's automate callback. Needs an X display (the test is registered a
// second time under xvfb-run) and a module built with its editor.
#include "Vst2TestHost.h"

#include <gtest/gtest.h>

#include "DesktopScaleAnnouncer.h" // after gtest: Xlib's macros clash with it
#include "X11TestWindow.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <dlfcn.h>
#include <thread>

using namespace Vst2Test;

namespace {

using EntryPoint = vst_effect* (*) (vst_host_callback);

struct XDisplayCloser
{
	void operator() (Display* d) const { XCloseDisplay (d); }
};

void pump (vst_effect* e, Display* display, int rounds)
{
	for (int i = 0; i < rounds; ++i)
	{
		dispatch (e, Abi::kEffEditIdle);
		XSync (display, False);
		std::this_thread::sleep_for (std::chrono::milliseconds (5));
	}
}

TEST (Vst2ModuleEditor, KnobDragInTheEditorReachesTheHostAutomateCallback)
{
	void* library = dlopen (TARNWICK_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
	ASSERT_NE (library, nullptr) << dlerror ();
	auto entry = reinterpret_cast<EntryPoint> (dlsym (library, "VSTPluginMain"));
	ASSERT_NE (entry, nullptr);

	Vst2TestHost host;
	vst_effect* e = entry (host.callback ());
	ASSERT_NE (e, nullptr);
	struct Closer
	{
		vst_effect* e;
		~Closer () { dispatch (e, Abi::kEffClose); }
	} closer {e};

	if ((e->flags & Abi::kFlagHasEditor) == 0)
		GTEST_SKIP () << "module built without its editor";
	std::unique_ptr<Display, XDisplayCloser> display (X11Test::openDisplay ());
	if (!display)
		GTEST_SKIP () << "no X display (run under xvfb-run)";
	int eventBase = 0, errorBase = 0, major = 0, minor = 0;
	if (!XTestQueryExtension (display.get (), &eventBase, &errorBase, &major, &minor))
		GTEST_SKIP () << "X server without XTEST";

	vst_rect* rect = nullptr;
	ASSERT_EQ (dispatch (e, Abi::kEffEditGetRect, 0, 0, &rect), 1);
	ASSERT_NE (rect, nullptr);
	EXPECT_EQ (rect->right - rect->left, 485);
	EXPECT_EQ (rect->bottom - rect->top, 270);

	Display* d = display.get ();
	const Window parent = XCreateSimpleWindow (d, DefaultRootWindow (d), 0, 0, 485, 270, 0, 0, 0);
	XMapRaised (d, parent);
	XSync (d, False);
	resume (e, 44100.f, 256);
	ASSERT_EQ (dispatch (e, Abi::kEffEditOpen, 0, 0, reinterpret_cast<void*> (static_cast<uintptr_t> (parent))), 1);
	pump (e, d, 40);

	// Drag the "Wet/Dry" knob (origin 263, 174, size 79; in the middle of its range) with the mouse.
	int rootX = 0, rootY = 0;
	Window child = 0;
	XTranslateCoordinates (d, parent, DefaultRootWindow (d), 0, 0, &rootX, &rootY, &child);
	const int centreX = rootX + 263 + 39, centreY = rootY + 174 + 39;
	XTestFakeMotionEvent (d, -1, centreX + 20, centreY + 20, CurrentTime);
	pump (e, d, 4);
	XTestFakeButtonEvent (d, 1, True, CurrentTime);
	pump (e, d, 4);
	for (int step = 1; step <= 10; ++step)
	{
		XTestFakeMotionEvent (d, -1, centreX + 20 - 4 * step, centreY + 20 - 6 * step, CurrentTime);
		pump (e, d, 2);
	}
	XTestFakeButtonEvent (d, 1, False, CurrentTime);
	pump (e, d, 20);

	const auto automate = host.callsOf (Abi::kHostAutomate);
	ASSERT_FALSE (automate.empty ()) << "no edit reached the host";
	EXPECT_EQ (automate.back ().index, 6);
	EXPECT_EQ (automate.back ().opt, e->get_parameter (e, 6));
	EXPECT_NE (e->get_parameter (e, 6), 0.5f);
	EXPECT_GE (host.count (Abi::kHostBeginEdit), 1);
	EXPECT_GE (host.count (Abi::kHostEndEdit), 1);

	EXPECT_EQ (dispatch (e, Abi::kEffEditClose), 1);
	pump (e, d, 5); // idle after closing touches nothing
	// Opening a second time works as well.
	ASSERT_EQ (dispatch (e, Abi::kEffEditOpen, 0, 0, reinterpret_cast<void*> (static_cast<uintptr_t> (parent))), 1);
	pump (e, d, 10);
	EXPECT_EQ (dispatch (e, Abi::kEffEditClose), 1);
	XDestroyWindow (d, parent);
	XSync (d, False);
}

} // namespace

TEST (Vst2ModuleEditor, EditGetRectReportsTheDesktopScale)
{
	std::unique_ptr<Display, XDisplayCloser> display (X11Test::openDisplay ());
	if (!display)
		GTEST_SKIP () << "no X display (run under xvfb-run)";
	void* library = dlopen (TARNWICK_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
	ASSERT_NE (library, nullptr) << dlerror ();
	auto entry = reinterpret_cast<EntryPoint> (dlsym (library, "VSTPluginMain"));
	ASSERT_NE (entry, nullptr);

	// A desktop at 200 %: no VST 2 host can say so, the desktop does.
	X11Test::XftDpiResource desktop (192);
	Vst2TestHost host;
	vst_effect* e = entry (host.callback ());
	ASSERT_NE (e, nullptr);
	struct Closer
	{
		vst_effect* e;
		~Closer () { dispatch (e, Abi::kEffClose); }
	} closer {e};
	if ((e->flags & Abi::kFlagHasEditor) == 0)
		GTEST_SKIP () << "module built without its editor";

	vst_rect* rect = nullptr;
	ASSERT_EQ (dispatch (e, Abi::kEffEditGetRect, 0, 0, &rect), 1);
	ASSERT_NE (rect, nullptr);
	EXPECT_EQ (rect->right - rect->left, 970);
	EXPECT_EQ (rect->bottom - rect->top, 540);

	Display* d = display.get ();
	const Window parent = XCreateSimpleWindow (d, DefaultRootWindow (d), 0, 0, 970, 540, 0, 0, 0);
	XMapRaised (d, parent);
	XSync (d, False);
	ASSERT_EQ (dispatch (e, Abi::kEffEditOpen, 0, 0, reinterpret_cast<void*> (static_cast<uintptr_t> (parent))), 1);
	pump (e, d, 10);
	Window root = 0, up = 0;
	Window* children = nullptr;
	unsigned int count = 0;
	XWindowAttributes child {};
	if (XQueryTree (d, parent, &root, &up, &children, &count) && count > 0)
		XGetWindowAttributes (d, children[count - 1], &child);
	if (children)
		XFree (children);
	EXPECT_EQ (child.width, 970);
	EXPECT_EQ (child.height, 540);
	EXPECT_EQ (dispatch (e, Abi::kEffEditClose), 1);
	XDestroyWindow (d, parent);
	XSync (d, False);
}
