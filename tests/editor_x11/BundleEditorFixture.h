// The real Tarnwick editor loaded from the built bundle, opened in a window of the test host.
#pragma once

#include <gtest/gtest.h> // before Xlib, whose macros (None, Bool) clash with it

#include "X11TestWindow.h"

#include "hostkit/HostKit.h"

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <dlfcn.h>
#include <memory>
#include <string>
#include <vector>

using namespace Tarnwick::HostKit;
using namespace Steinberg;
using X11Test::TestWindow;

// Layout facts of the product's editor.
constexpr int kEditorWidth = 485, kEditorHeight = 270;
constexpr int kCutoffCentreX = 261 + 39;
constexpr int kCutoffCentreY = 68 + 39;
constexpr int kDelayStateX = 48;
constexpr int kDelayStateY = 24;
constexpr int kDelayKnobLeft = 10, kDelayKnobTop = 172, kDelayKnobSize = 87;
constexpr int kCutoffLeft = 261, kCutoffTop = 68, kCutoffSize = 78;

class BundleEditorX11 : public ::testing::Test
{
protected:
	void SetUp () override
	{
		if (!X11Test::haveDisplay ())
			GTEST_SKIP () << "no DISPLAY: run under xvfb-run";
		// Keep the module mapped after the host unloads it, as most hosts do, so that the leak
		// checker can name the code behind whatever the editor leaves behind.
		dlopen ((std::string (TARNWICK_TEST_BUNDLE_PATH) + "/Contents/x86_64-linux/Tarnwick.so").c_str (),
		        RTLD_NOW | RTLD_NODELETE);
		ASSERT_TRUE (module.load (TARNWICK_TEST_BUNDLE_PATH)) << module.error ();
	}
	void TearDown () override
	{
		instances.clear ();
		module.unload ();
	}

	PluginInstance& newInstance ()
	{
		instances.push_back (std::make_unique<PluginInstance> (module));
		PluginInstance& instance = *instances.back ();
		EXPECT_TRUE (instance.create ()) << instance.error ();
		return instance;
	}

	// One open editor in its own window.
	struct OpenEditor
	{
		// The host's window is windowWidth x windowHeight; scale, when given, is set on the view
		// before attaching it, as hosts on HiDPI desktops do.
		OpenEditor (PluginInstance& instance, HostRunLoop* runLoop, int windowWidth = 485, int windowHeight = 270,
		            double scale = 0.)
		: window (windowWidth, windowHeight), frame (runLoop), runLoop (runLoop)
		{
			view = instance.createView ();
			if (!view || !window.isOpen ())
				return;
			if (scale > 0.)
				scaleResult = setContentScale (view, scale);
            // The mouse out of the way: a control under it shows its value, not its label.
            window.moveTo(windowWidth / 2, windowHeight + 40);
            view->setFrame (&frame);
			attachResult = view->attached (reinterpret_cast<void*> (window.id ()), kPlatformTypeX11EmbedWindowID);
			window.pump (runLoop, 150);
		}
		~OpenEditor () { close (); }
		void close ()
		{
			if (view)
			{
				if (attachResult == kResultTrue)
					view->removed ();
				view->setFrame (nullptr);
				view = nullptr;
			}
		}
		TestWindow window;
		HostPlugFrame frame;
		HostRunLoop* runLoop;
		IPtr<IPlugView> view;
		tresult attachResult {kResultFalse};
		tresult scaleResult {kResultFalse};
	};

	// Through the view's IPlugViewContentScaleSupport, as a host calls it.
	static tresult setContentScale (IPlugView* view, double scale)
	{
		FUnknownPtr<IPlugViewContentScaleSupport> scaling (view);
		if (!scaling)
			return kNoInterface;
		return scaling->setContentScaleFactor (static_cast<IPlugViewContentScaleSupport::ScaleFactor> (scale));
	}

	PluginModule module;
	std::vector<std::unique_ptr<PluginInstance>> instances;
};

