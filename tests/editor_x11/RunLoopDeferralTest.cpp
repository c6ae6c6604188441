// An editor closed from inside one of its own run-loop callbacks: the host is iterating
// its handlers then, so the editor must not unregister them until the host has returned.
#include <gtest/gtest.h> // before Xlib, whose macros (None, Bool) clash with it

#include "X11TestWindow.h"

#include "hostkit/HostPlugFrame.h"
#include "hostkit/HostRunLoop.h"
#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/cvstguitimer.h"
#include "vstgui/plugin-bindings/vst3editor.h"

using namespace Steinberg;
using Tarnwick::HostKit::HostPlugFrame;
using Tarnwick::HostKit::HostRunLoop;

namespace {

const char* kDescription = R"(<vstgui-ui-description version="1">
  <template name="Editor" class="CViewContainer" origin="0, 0" size="120, 80" background-color="#336699ff"/>
</vstgui-ui-description>)";

// Counts every registration call, and which of them came while the loop was dispatching.
class WatchingRunLoop : public HostRunLoop
{
public:
	tresult PLUGIN_API unregisterEventHandler (Linux::IEventHandler* handler) override
	{
		++unregistrations;
		return HostRunLoop::unregisterEventHandler (handler);
	}
	tresult PLUGIN_API unregisterTimer (Linux::ITimerHandler* handler) override
	{
		++unregistrations;
		return HostRunLoop::unregisterTimer (handler);
	}
	int unregistrations {0};
};

// Closes itself (as a host reacting to it would) on its third timer tick.
class SelfClosingEditor : public VSTGUI::VST3Editor
{
public:
	SelfClosingEditor (Vst::EditController* c, VSTGUI::UIDescription* d) : VST3Editor (d, c, "Editor") {}
	VSTGUI::CMessageResult notify (VSTGUI::CBaseObject* sender, VSTGUI::IdStringPtr message) override
	{
		auto result = VST3Editor::notify (sender, message);
		if (message == VSTGUI::CVSTGUITimer::kMsgTimer && ++ticks == 3 && isAttached ())
		{
			removed ();
			closedInsideCallback = true;
		}
		return result;
	}
	int ticks {0};
	bool closedInsideCallback {false};
};

} // namespace

TEST (RunLoopDeferral, HandlersOfAnEditorClosedInsideACallbackGoAfterTheHostReturns)
{
	if (!X11Test::haveDisplay ())
		GTEST_SKIP () << "no DISPLAY: run under xvfb-run";
	auto controller = new Vst::EditController ();
	auto description = VSTGUI::owned (new VSTGUI::UIDescription (kDescription, std::strlen (kDescription)));
	WatchingRunLoop runLoop;
	HostPlugFrame frame (&runLoop);
	X11Test::TestWindow window (120, 80);
	auto editor = new SelfClosingEditor (controller, description);
	editor->setIdleRate (20);
	editor->setFrame (&frame);
	ASSERT_EQ (editor->attached (reinterpret_cast<void*> (window.id ()), kPlatformTypeX11EmbedWindowID), kResultTrue);
	EXPECT_EQ (runLoop.eventHandlerCount (), 1u);

	window.pump (&runLoop, 300);
	ASSERT_TRUE (editor->closedInsideCallback);
	EXPECT_FALSE (editor->isAttached ());
	// Closed inside our own callback: nothing was unregistered while the host iterated.
	EXPECT_EQ (runLoop.unregistrations, 0);
	// Left registered, the handlers are inert: more loop passes do no harm.
	size_t ticksBefore = static_cast<size_t> (editor->ticks);
	window.pump (&runLoop, 100);
	EXPECT_EQ (static_cast<size_t> (editor->ticks), ticksBefore);
	// The next call from outside the loop finishes the job.
	VSTGUI::idle ();
	EXPECT_EQ (runLoop.unregistrations, 2);
	EXPECT_EQ (runLoop.eventHandlerCount (), 0u);
	EXPECT_EQ (runLoop.timerCount (), 0u);

	// And the editor opens again normally.
	ASSERT_EQ (editor->attached (reinterpret_cast<void*> (window.id ()), kPlatformTypeX11EmbedWindowID), kResultTrue);
	window.pump (&runLoop, 50);
	editor->removed ();
	EXPECT_EQ (runLoop.eventHandlerCount (), 0u);
	editor->setFrame (nullptr);
	editor->release ();
	controller->release ();
}
