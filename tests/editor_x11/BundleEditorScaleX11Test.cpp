// The editor on HiDPI screens, loaded from the built bundle, in a real X server: the
// host's scale (IPlugViewContentScaleSupport) or the desktop's, the window's size and
// resolution, and the mouse at that scale.
#include <gtest/gtest.h> // before Xlib, whose macros (None, Bool) clash with it

#include "BundleEditorFixture.h"
#include "DesktopScaleAnnouncer.h"
#include "XSettingsBlock.h"

#include <cairo.h>
#include <cstdlib>
#include <filesystem>

namespace {

struct Size
{
	int width {0};
	int height {0};
};

Size pluginWindowSize (const TestWindow& window)
{
	XWindowAttributes a {};
	const Window child = window.pluginChild ();
	if (child == 0 || !XGetWindowAttributes (window.display (), child, &a))
		return {};
	return {a.width, a.height};
}

Size viewSize (IPlugView* view)
{
	ViewRect r;
	if (view->getSize (&r) != kResultTrue)
		return {};
	return {r.getWidth (), r.getHeight ()};
}

int channel (uint32_t pixel, int shift)
{
	return static_cast<int> ((pixel >> shift) & 0xFF);
}

// Each pixel of a 1x picture as a 2 x 2 block.
X11Test::Screenshot enlargedPixelByPixel (const X11Test::Screenshot& small)
{
	X11Test::Screenshot big;
	big.width = small.width * 2;
	big.height = small.height * 2;
	for (int y = 0; y < big.height; ++y)
		for (int x = 0; x < big.width; ++x)
			big.pixels.push_back (small.at (x / 2, y / 2));
	return big;
}

// Mean of each channel's difference between a 2x picture shrunk by 2 x 2 averages and a 1x one.
double meanDifferenceShrunk (const X11Test::Screenshot& big, const X11Test::Screenshot& small)
{
	double total = 0.;
	for (int y = 0; y < small.height; ++y)
		for (int x = 0; x < small.width; ++x)
			for (int shift : {0, 8, 16})
			{
				const int average = (channel (big.at (2 * x, 2 * y), shift) + channel (big.at (2 * x + 1, 2 * y), shift) +
				                     channel (big.at (2 * x, 2 * y + 1), shift) +
				                     channel (big.at (2 * x + 1, 2 * y + 1), shift) + 2) /
				                    4;
				total += std::abs (average - channel (small.at (x, y), shift));
			}
	return total / (3. * small.width * small.height);
}

// Pixels whose channels differ by more than a faint shade.
int clearlyDifferentPixels (const X11Test::Screenshot& a, const X11Test::Screenshot& b)
{
	int count = 0;
	for (size_t i = 0; i < a.pixels.size () && i < b.pixels.size (); ++i)
		for (int shift : {0, 8, 16})
			if (std::abs (channel (a.pixels[i], shift) - channel (b.pixels[i], shift)) > 24)
			{
				++count;
				break;
			}
	return count;
}

int nonBlackPixels (const X11Test::Screenshot& shot, int x0, int y0, int x1, int y1)
{
	int count = 0;
	for (int y = y0; y < y1; ++y)
		for (int x = x0; x < x1; ++x)
			count += shot.at (x, y) != 0;
	return count;
}

// The bundle's snapshot whose file name ends so ("_snapshot.png", "_snapshot_2.0x.png"),
// drawn offscreen at build time.
X11Test::Screenshot bundleSnapshot (const std::string& ending)
{
	X11Test::Screenshot shot;
	const std::filesystem::path folder = std::string (TARNWICK_TEST_BUNDLE_PATH) + "/Contents/Resources/Snapshots";
	std::error_code status;
	for (const auto& entry : std::filesystem::directory_iterator (folder, status))
	{
		const std::string name = entry.path ().filename ().string ();
		if (name.size () < ending.size () || name.compare (name.size () - ending.size (), ending.size (), ending) != 0)
			continue;
		cairo_surface_t* image = cairo_image_surface_create_from_png (entry.path ().c_str ());
		if (cairo_surface_status (image) == CAIRO_STATUS_SUCCESS)
		{
			shot.width = cairo_image_surface_get_width (image);
			shot.height = cairo_image_surface_get_height (image);
			const unsigned char* data = cairo_image_surface_get_data (image);
			const int stride = cairo_image_surface_get_stride (image);
			for (int y = 0; y < shot.height; ++y)
				for (int x = 0; x < shot.width; ++x)
					shot.pixels.push_back (reinterpret_cast<const uint32_t*> (data + y * stride)[x] & 0xFFFFFFu);
		}
		cairo_surface_destroy (image);
	}
	return shot;
}

using BundleEditorScaleX11 = BundleEditorX11;

} // namespace

TEST_F (BundleEditorScaleX11, AtScaleTwoTheWindowIs970By540DrawnAtThatResolution)
{
	HostRunLoop runLoop;
	X11Test::Screenshot single;
	{
		OpenEditor editor (newInstance (), &runLoop);
		ASSERT_EQ (editor.attachResult, kResultTrue);
		single = editor.window.screenshot ();
	}
	OpenEditor editor (newInstance (), &runLoop, 970, 540, 2.);
	ASSERT_EQ (editor.scaleResult, kResultTrue);
	ASSERT_EQ (editor.attachResult, kResultTrue);
	EXPECT_EQ (viewSize (editor.view).width, 970);
	EXPECT_EQ (viewSize (editor.view).height, 540);
	EXPECT_EQ (pluginWindowSize (editor.window).width, 970);
	EXPECT_EQ (pluginWindowSize (editor.window).height, 540);
	const X11Test::Screenshot twice = editor.window.screenshot ();
	ASSERT_EQ (twice.width, 970);
	// Drawn from the 2x artwork: fine edges the 1x picture's blocks do not have ...
	EXPECT_GT (clearlyDifferentPixels (twice, enlargedPixelByPixel (single)), 970 * 540 / 50);
	// ... yet the same picture when shrunk back.
	EXPECT_LT (meanDifferenceShrunk (twice, single), 3.);
	// The same drawings as the bundle's snapshots, pixel for pixel.
	const X11Test::Screenshot snapshot1x = bundleSnapshot ("_snapshot.png");
	const X11Test::Screenshot snapshot2x = bundleSnapshot ("_snapshot_2.0x.png");
	ASSERT_EQ (snapshot1x.width, 485);
	ASSERT_EQ (snapshot2x.width, 970);
	EXPECT_EQ (single.differences (snapshot1x, 0, 0, 485, 270), 0);
	EXPECT_EQ (twice.differences (snapshot2x, 0, 0, 970, 540), 0);
}

TEST_F (BundleEditorScaleX11, AtOneAndAHalfTheWindowIs728By405)
{
	HostRunLoop runLoop;
	OpenEditor editor (newInstance (), &runLoop, 728, 405, 1.5);
	ASSERT_EQ (editor.scaleResult, kResultTrue);
	ASSERT_EQ (editor.attachResult, kResultTrue);
	EXPECT_EQ (viewSize (editor.view).width, 728);
	EXPECT_EQ (viewSize (editor.view).height, 405);
	EXPECT_EQ (pluginWindowSize (editor.window).width, 728);
	EXPECT_EQ (pluginWindowSize (editor.window).height, 405);
	EXPECT_GT (nonBlackPixels (editor.window.screenshot (), 0, 0, 728, 405), 728 * 405 * 9 / 10);
	// Out of range: refused, nothing changes.
	for (double bad : {0.5, 4.5, 0.})
		EXPECT_EQ (setContentScale (editor.view, bad), kResultFalse) << bad;
	EXPECT_EQ (viewSize (editor.view).width, 728);
}

TEST_F (BundleEditorScaleX11, MouseAtScaleTwoMovesControlsAsAtScaleOne)
{
	HostRunLoop runLoop;
	double changeAtOne = 0.;
	{
		PluginInstance& instance = newInstance ();
		OpenEditor editor (instance, &runLoop);
		ASSERT_EQ (editor.attachResult, kResultTrue);
		const double before = instance.getParamNormalized (2);
		editor.window.drag (kCutoffCentreX, kCutoffCentreY, kCutoffCentreX, kCutoffCentreY + 30, 6, &runLoop);
		changeAtOne = instance.getParamNormalized (2) - before;
	}
	ASSERT_LT (changeAtOne, -0.1);

	PluginInstance& instance = newInstance ();
	OpenEditor editor (instance, &runLoop, 970, 540, 2.);
	ASSERT_EQ (editor.attachResult, kResultTrue);
	const double before = instance.getParamNormalized (2);
	editor.window.drag (2 * kCutoffCentreX, 2 * kCutoffCentreY, 2 * kCutoffCentreX, 2 * kCutoffCentreY + 60, 6,
	                    &runLoop);
	EXPECT_NEAR (instance.getParamNormalized (2) - before, changeAtOne, 1e-6);

	// The wheel over the knob where it is at this scale, not where it would be at 1x.
	const double beforeWheel = instance.getParamNormalized (2);
	auto wheelUpAt = [&] (int x, int y) {
		editor.window.moveTo (x, y);
		editor.window.pump (&runLoop, 30);
		editor.window.press (4);
		editor.window.release (4);
		editor.window.pump (&runLoop, 60);
	};
	wheelUpAt (kCutoffCentreX, kCutoffCentreY);
	EXPECT_EQ (instance.getParamNormalized (2), beforeWheel);
	wheelUpAt (2 * kCutoffCentreX, 2 * kCutoffCentreY);
	EXPECT_GT (instance.getParamNormalized (2), beforeWheel);

	const double state = instance.getParamNormalized (8);
	editor.window.click (2 * kDelayStateX, 2 * kDelayStateY, &runLoop);
	EXPECT_EQ (instance.getParamNormalized (8), state < 0.5 ? 1. : 0.);
	// The same spot at 1x coordinates is the top of the panel, not the switch.
	editor.window.click (kDelayStateX + 300, kDelayStateY, &runLoop);
	EXPECT_EQ (instance.getParamNormalized (8), state < 0.5 ? 1. : 0.);
}

TEST_F (BundleEditorScaleX11, ScaleChangeWhileOpenResizesRedrawsAndLasts)
{
	HostRunLoop runLoop;
	OpenEditor editor (newInstance (), &runLoop, 970, 540);
	ASSERT_EQ (editor.attachResult, kResultTrue);
	EXPECT_EQ (pluginWindowSize (editor.window).width, 485);
	EXPECT_EQ (nonBlackPixels (editor.window.screenshot (), 485, 270, 970, 540), 0);

	ASSERT_EQ (setContentScale (editor.view, 2.), kResultTrue);
	ASSERT_FALSE (editor.frame.resizeRequests ().empty ());
	EXPECT_EQ (editor.frame.resizeRequests ().back ().getWidth (), 970);
	EXPECT_EQ (editor.frame.resizeRequests ().back ().getHeight (), 540);
	editor.window.pump (&runLoop, 150);
	EXPECT_EQ (pluginWindowSize (editor.window).width, 970);
	EXPECT_EQ (pluginWindowSize (editor.window).height, 540);
	EXPECT_GT (nonBlackPixels (editor.window.screenshot (), 485, 270, 970, 540), 485 * 270 * 9 / 10);

	// Closed and opened again, the view keeps its scale.
	ASSERT_EQ (editor.view->removed (), kResultOk);
	EXPECT_EQ (editor.window.pluginChild (), 0u);
	EXPECT_EQ (runLoop.eventHandlerCount (), 0u);
	EXPECT_EQ (runLoop.timerCount (), 0u);
	ASSERT_EQ (editor.view->attached (reinterpret_cast<void*> (editor.window.id ()), kPlatformTypeX11EmbedWindowID),
	           kResultTrue);
	editor.window.pump (&runLoop, 100);
	EXPECT_EQ (viewSize (editor.view).width, 970);
	EXPECT_EQ (pluginWindowSize (editor.window).width, 970);
	EXPECT_EQ (pluginWindowSize (editor.window).height, 540);

	// And back to 1 while open.
	ASSERT_EQ (setContentScale (editor.view, 1.), kResultTrue);
	editor.window.pump (&runLoop, 100);
	EXPECT_EQ (pluginWindowSize (editor.window).width, 485);
	EXPECT_EQ (pluginWindowSize (editor.window).height, 270);
	editor.close ();
	EXPECT_EQ (editor.window.pluginChild (), 0u);
	EXPECT_EQ (runLoop.eventHandlerCount (), 0u);
	EXPECT_EQ (runLoop.timerCount (), 0u);
}

TEST_F (BundleEditorScaleX11, AHostThatSetsNoScaleGetsTheDesktops)
{
	PluginInstance& instance = newInstance ();
	EXPECT_EQ (viewSize (instance.createView ()).width, 485); // the test server announces nothing
	{
		X11Test::XftDpiResource resource (144);
		EXPECT_EQ (viewSize (instance.createView ()).width, 728);
		EXPECT_EQ (viewSize (instance.createView ()).height, 405);
		// The host's own word wins.
		IPtr<IPlugView> view = instance.createView ();
		ASSERT_EQ (setContentScale (view, 1.), kResultTrue);
		EXPECT_EQ (viewSize (view).width, 485);
	}
	{
		X11Test::XSettingsManager settings (XSettingsTest::Block ().integer ("Gdk/WindowScalingFactor", 2).data ());
		ASSERT_TRUE (settings.isOwner ());
		HostRunLoop runLoop;
		OpenEditor editor (instance, &runLoop, 970, 540);
		ASSERT_EQ (editor.attachResult, kResultTrue);
		EXPECT_EQ (viewSize (editor.view).width, 970);
		EXPECT_EQ (pluginWindowSize (editor.window).width, 970);
		EXPECT_EQ (pluginWindowSize (editor.window).height, 540);
	}
	{
		X11Test::XSettingsManager settings (XSettingsTest::Block ().integer ("Xft/DPI", 120 * 1024).data ());
		ASSERT_TRUE (settings.isOwner ());
		EXPECT_EQ (viewSize (instance.createView ()).width, 606); // 485 x 1.25, rounded
	}
	EXPECT_EQ (viewSize (instance.createView ()).width, 485);
}
