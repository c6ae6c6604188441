// The editor's traffic to the effect while it is open in a real X window: the
// product's Processor in-process, with its effect counting the GuiMessages it gets.
#include <gtest/gtest.h> // before Xlib, whose macros (None, Bool) clash with it

#include "X11TestWindow.h"

#include "Processor.h"
#include "effect/CStDelayFil.h"
#include "effect/GuiMessage.h"
#include "hostkit/HostPlugFrame.h"
#include "hostkit/HostRunLoop.h"
#include "vstgui/lib/cbitmap.h"

#include <algorithm>
#include <vector>

using namespace Steinberg;
using Tarnwick::HostKit::HostPlugFrame;
using Tarnwick::HostKit::HostRunLoop;

namespace {

class CountingEffect : public CStDelayFil
{
public:
	void* handleGuiMessage (GuiMessage* message) override
	{
		codes.push_back (message->messageCode);
		return CStDelayFil::handleGuiMessage (message);
	}
	int count (uint32_t code) const { return static_cast<int> (std::count (codes.begin (), codes.end (), code)); }
	std::vector<uint32_t> codes;
};

class CountingProcessor : public Vire2VUR3::Processor
{
public:
	CountingEffect* counting {nullptr};

protected:
	CPlugIn* createEffect () override
	{
		counting = new CountingEffect ();
		return counting;
	}
};

class GuiMessageX11 : public ::testing::Test
{
protected:
	void SetUp () override
	{
		if (!X11Test::haveDisplay ())
			GTEST_SKIP () << "no DISPLAY: run under xvfb-run";
		VSTGUI::CBitmap::setResourceBasePath (TARNWICK_TEST_RESOURCES);
		processor = new CountingProcessor ();
		ASSERT_EQ (processor->initialize (nullptr), kResultOk);
		ASSERT_NE (processor->counting, nullptr);
	}
	void TearDown () override
	{
		if (processor)
		{
			processor->terminate ();
			processor->release ();
		}
		VSTGUI::CBitmap::setResourceBasePath ("");
	}
	CountingProcessor* processor {nullptr};
};

} // namespace

TEST_F (GuiMessageX11, TimerPingsAboutTwentyTimesASecondBetweenOpenAndClose)
{
	HostRunLoop runLoop;
	HostPlugFrame frame (&runLoop);
	X11Test::TestWindow window (485, 270);
	IPtr<IPlugView> view = owned (processor->createView ("editor"));
	ASSERT_TRUE (view);
	view->setFrame (&frame);
	CountingEffect* effect = processor->counting;
	effect->codes.clear ();
	ASSERT_EQ (view->attached (reinterpret_cast<void*> (window.id ()), kPlatformTypeX11EmbedWindowID), kResultTrue);
	ASSERT_FALSE (effect->codes.empty ());
	EXPECT_EQ (effect->codes.front (), kGuiDidOpen);
	EXPECT_EQ (effect->count (kGuiDidOpen), 1);

	window.pump (&runLoop, 1000);
	int pings = effect->count (kGuiTimerPing);
	// 50 ms ticks: about twenty in a second (a loaded machine may lose a few).
	EXPECT_GE (pings, 12);
	EXPECT_LE (pings, 21);

	EXPECT_EQ (view->removed (), kResultOk);
	EXPECT_EQ (effect->codes.back (), kGuiWillClose);
	EXPECT_EQ (effect->count (kGuiWillClose), 1);
	window.pump (&runLoop, 200);
	EXPECT_EQ (effect->count (kGuiTimerPing), pings);
	view->setFrame (nullptr);

	// Open again: the same sequence.
	effect->codes.clear ();
	view->setFrame (&frame);
	ASSERT_EQ (view->attached (reinterpret_cast<void*> (window.id ()), kPlatformTypeX11EmbedWindowID), kResultTrue);
	window.pump (&runLoop, 300);
	EXPECT_EQ (effect->count (kGuiDidOpen), 1);
	EXPECT_GE (effect->count (kGuiTimerPing), 3);
	view->removed ();
	EXPECT_EQ (effect->count (kGuiWillClose), 1);
	view->setFrame (nullptr);
	EXPECT_EQ (runLoop.eventHandlerCount (), 0u);
	EXPECT_EQ (runLoop.timerCount (), 0u);
}

TEST_F (GuiMessageX11, WithoutARunLoopTheIdleEntryDrivesTheEditor)
{
	HostPlugFrame frame (nullptr);
	X11Test::TestWindow window (485, 270);
	IPtr<IPlugView> view = owned (processor->createView ("editor"));
	ASSERT_TRUE (view);
	view->setFrame (&frame);
	CountingEffect* effect = processor->counting;
	effect->codes.clear ();
	ASSERT_EQ (view->attached (reinterpret_cast<void*> (window.id ()), kPlatformTypeX11EmbedWindowID), kResultTrue);
	// Nothing drives the timer on its own.
	window.pump (nullptr, 150);
	EXPECT_EQ (effect->count (kGuiTimerPing), 0);
	// A wrapper's idle calls do.
	for (int i = 0; i < 30; ++i)
	{
		VSTGUI::idle ();
		window.pump (nullptr, 10);
	}
	EXPECT_GE (effect->count (kGuiTimerPing), 2);
	view->removed ();
	view->setFrame (nullptr);
	VSTGUI::idle ();
}
