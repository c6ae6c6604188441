// The editor as an LV2 UI, hosted through suil as an LV2 host embeds an X11 UI in its own
// window (Xvfb): it shows, a drag writes the port, a port event moves the knob, and twenty
// openings leave no window, connection or file behind.
// gtest before Xlib, whose macros clash with its names.
#include <gtest/gtest.h>

#include "Lv2TestRig.h"

#include "X11TestWindow.h"
#include "lv2/Lv2Ports.h"
#include "lv2/TarnwickLv2Uris.h"

#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <suil/suil.h>

#include <dlfcn.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace Tarnwick {
namespace Lv2Test {
namespace {

using namespace TarnwickLv2;

int openFileCount ()
{
	int count = 0;
	for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator ("/proc/self/fd"))
		++count;
	return count;
}

// The host side of one opened editor.
class UiHost
{
public:
	explicit UiHost (Window parent, float scale = 1.f)
	{
		host = suil_host_new (&UiHost::write, nullptr, nullptr, nullptr);
		const LilvPlugin* plugin = bundleWorld ().lilvPlugin ();
		LilvUIs* uis = lilv_plugin_get_uis (plugin);
		const LilvUI* ui = nullptr;
		LILV_FOREACH (uis, i, uis)
			ui = lilv_uis_get (uis, i);
		if (ui)
		{
			char* bundle = lilv_file_uri_parse (lilv_node_as_uri (lilv_ui_get_bundle_uri (ui)), nullptr);
			char* binary = lilv_file_uri_parse (lilv_node_as_uri (lilv_ui_get_binary_uri (ui)), nullptr);
			resize = {this, &UiHost::onResize};
			scaleFactor = scale;
			options[0] = {LV2_OPTIONS_INSTANCE, 0, sharedMap ().map (LV2_UI__scaleFactor), sizeof (float),
			              sharedMap ().map (LV2_ATOM__Float), &scaleFactor};
			options[1] = {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr};
			parentFeature = {LV2_UI__parent, reinterpret_cast<void*> (parent)};
			resizeFeature = {LV2_UI__resize, &resize};
			optionsFeature = {LV2_OPTIONS__options, options};
			const LV2_Feature* features[] = {sharedMap ().mapFeature (), &parentFeature, &resizeFeature,
			                                 &optionsFeature, nullptr};
			instance = suil_instance_new (host, this, LV2_UI__X11UI, TARNWICK_LV2_URI,
			                              lilv_node_as_uri (lilv_ui_get_uri (ui)), LV2_UI__X11UI, bundle, binary,
			                              features);
			lilv_free (binary);
			lilv_free (bundle);
		}
		lilv_uis_free (uis);
		if (instance)
			idleInterface = static_cast<const LV2UI_Idle_Interface*> (
			    suil_instance_extension_data (instance, LV2_UI__idleInterface));
	}
	~UiHost ()
	{
		if (instance)
			suil_instance_free (instance);
		suil_host_free (host);
	}

	bool isOpen () const { return instance != nullptr && idleInterface != nullptr; }
	void idle ()
	{
		if (isOpen ())
			idleInterface->idle (suil_instance_get_handle (instance));
		std::this_thread::sleep_for (std::chrono::milliseconds (5));
	}
	void sendPort (uint32_t port, float value) { suil_instance_port_event (instance, port, sizeof (float), 0, &value); }
	Window widget () const { return reinterpret_cast<Window> (suil_instance_get_widget (instance)); }

	std::vector<std::pair<uint32_t, float>> writes;
	int width = 0;
	int height = 0;

private:
	static void write (SuilController controller, uint32_t port, uint32_t size, uint32_t protocol, const void* buffer)
	{
		if (protocol == 0 && size == sizeof (float))
			static_cast<UiHost*> (controller)->writes.emplace_back (port, *static_cast<const float*> (buffer));
	}
	static int onResize (LV2UI_Feature_Handle handle, int w, int h)
	{
		static_cast<UiHost*> (handle)->width = w;
		static_cast<UiHost*> (handle)->height = h;
		return 0;
	}

	SuilHost* host = nullptr;
	SuilInstance* instance = nullptr;
	const LV2UI_Idle_Interface* idleInterface = nullptr;
	LV2UI_Resize resize {};
	float scaleFactor = 1.f;
	LV2_Options_Option options[2] {};
	LV2_Feature parentFeature {};
	LV2_Feature resizeFeature {};
	LV2_Feature optionsFeature {};
};

class Lv2Ui : public ::testing::Test
{
protected:
	void SetUp () override
	{
		if (!X11Test::haveDisplay ())
			GTEST_SKIP () << "no X display";
		X11Test::keepXServerUp ();
		// Keep the UI module mapped after the host unloads it, as most hosts do, so that the leak
		// checker can name the code behind whatever the editor leaves behind.
		dlopen ((std::string (TARNWICK_TEST_LV2_BUNDLE_DIR) + "/ui/TarnwickUI.so").c_str (), RTLD_NOW | RTLD_NODELETE);
		window = std::make_unique<X11Test::TestWindow> (600, 400);
		ASSERT_TRUE (window->isOpen ());
	}
	std::unique_ptr<X11Test::TestWindow> window;
};

// The Delay knob (origin 10, 172, 87 pixels wide in the editor's layout).
constexpr int kDelayKnobX = 10 + 43;
constexpr int kDelayKnobY = 172 + 43;

TEST_F (Lv2Ui, ShowsTheEditorAndADragWritesThePort)
{
	UiHost ui (window->id ());
	ASSERT_TRUE (ui.isOpen ());
	auto tick = [&ui] () { ui.idle (); };
	window->pumpWith (tick, 300);
	EXPECT_EQ (ui.width, 485);
	EXPECT_EQ (ui.height, 270);
	EXPECT_EQ (window->pluginChild (), ui.widget ());

	const X11Test::Screenshot blank = X11Test::TestWindow (600, 400).screenshot ();
	const X11Test::Screenshot shown = window->screenshot ();
	EXPECT_GT (shown.differences (blank, 0, 0, 485, 270), 485 * 270 / 2) << "the editor is not drawn";

	window->dragWith (kDelayKnobX, kDelayKnobY, kDelayKnobX, kDelayKnobY - 60, 6, tick);
	ASSERT_FALSE (ui.writes.empty ());
	EXPECT_EQ (ui.writes.back ().first, controlPort (0));
	EXPECT_GT (ui.writes.back ().second, 0.f);
	EXPECT_LE (ui.writes.back ().second, 2000.f);
}

TEST_F (Lv2Ui, APortEventMovesTheKnob)
{
	UiHost ui (window->id ());
	ASSERT_TRUE (ui.isOpen ());
	auto tick = [&ui] () { ui.idle (); };
	ui.sendPort (controlPort (0), 0.f);
	window->pumpWith (tick, 300);
	const X11Test::Screenshot before = window->screenshot ();
	ui.sendPort (controlPort (0), 1500.f);
	window->pumpWith (tick, 300);
	const X11Test::Screenshot after = window->screenshot ();
	EXPECT_GT (after.differences (before, 10, 172, 87, 87), 20);
	EXPECT_EQ (after.differences (before, 300, 0, 185, 60), 0) << "only the Delay knob moves";
	EXPECT_TRUE (ui.writes.empty ()) << "a host's port event is not written back";
}

TEST_F(Lv2Ui, SyncAndNoteGoThroughTheirPorts)
{
    UiHost ui(window->id());
    ASSERT_TRUE(ui.isOpen());
    auto tick = [&ui]() { ui.idle(); };
    window->pumpWith(tick, 300);
    window->dragWith(135, 18, 135, 18, 1, tick);  // a click on the Sync switch
    ASSERT_FALSE(ui.writes.empty());
    EXPECT_EQ(ui.writes.back(), std::make_pair(controlPort(10), 1.f));

    ui.writes.clear();
    window->dragWith(366, 35, 366, 19, 4, tick);  // two notes up
    ASSERT_FALSE(ui.writes.empty());
    EXPECT_EQ(ui.writes.back(), std::make_pair(controlPort(11), 14.f));

    const X11Test::Screenshot before = window->screenshot();
    ui.sendPort(controlPort(11), 3.f);  // "1/32"
    window->pumpWith(tick, 300);
    const X11Test::Screenshot after = window->screenshot();
    EXPECT_GT(after.differences(before, 341, 9, 50, 24), 20);
    EXPECT_EQ(after.differences(before, 0, 60, 485, 210), 0);
}

TEST_F (Lv2Ui, TheHostsScaleFactorSizesTheEditor)
{
	window = std::make_unique<X11Test::TestWindow> (1000, 600);
	UiHost ui (window->id (), 2.f);
	ASSERT_TRUE (ui.isOpen ());
	auto tick = [&ui] () { ui.idle (); };
	window->pumpWith (tick, 300);
	EXPECT_EQ (ui.width, 970);
	EXPECT_EQ (ui.height, 540);

	// The Delay knob sits at twice its layout position.
	window->dragWith (2 * kDelayKnobX, 2 * kDelayKnobY, 2 * kDelayKnobX, 2 * kDelayKnobY - 120, 6, tick);
	ASSERT_FALSE (ui.writes.empty ());
	EXPECT_EQ (ui.writes.back ().first, controlPort (0));
	EXPECT_GT (ui.writes.back ().second, 0.f);
}

TEST_F (Lv2Ui, TwentyOpeningsLeaveNothingBehind)
{
	{
		UiHost first (window->id ());
		ASSERT_TRUE (first.isOpen ());
		window->pumpWith ([&first] () { first.idle (); }, 50);
	}
	const int files = openFileCount ();
	for (int round = 0; round < 20; ++round)
	{
		UiHost ui (window->id (), round % 2 ? 2.f : 1.f);
		ASSERT_TRUE (ui.isOpen ()) << round;
		ui.sendPort (controlPort (round % 10), 0.5f);
		window->pumpWith ([&ui] () { ui.idle (); }, 20);
	}
	window->pumpWith ({}, 50);
	EXPECT_EQ (window->pluginChild (), 0u) << "an editor window is left";
	EXPECT_EQ (openFileCount (), files) << "connections or files are left open";
}

} // namespace
} // namespace Lv2Test
} // namespace Tarnwick
