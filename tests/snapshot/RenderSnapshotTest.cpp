// tarnwick-render --editor-snapshot, run as a user runs it: the editor as the
// preset and settings leave it, and clean failures on bad input.
#include "EditorSnapshot.h"
#include "ProductLayout.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>

#ifdef TARNWICK_RENDER_PROGRAM

using namespace SnapshotTest;
using VSTGUI::COffscreenImage;

namespace {

const std::string kBundle = TARNWICK_TEST_BUNDLE_DIR;

std::string scratch (const std::string& name)
{
	mkdir (TARNWICK_TEST_SCRATCH, 0755);
	return std::string (TARNWICK_TEST_SCRATCH) + "/" + name;
}

struct ProgramRun
{
	bool exited = false; // false: killed by a signal
	int status = -1;
	std::string errors;
};

// Runs the renderer on the bundle of this build; arguments are single-quoted for the shell.
ProgramRun render (const std::vector<std::string>& arguments)
{
	// One file per test: ctest may run the tests side by side.
	const std::string errorFile =
	    scratch (std::string (::testing::UnitTest::GetInstance ()->current_test_info ()->name ()) + ".stderr");
	std::string command = std::string ("'") + TARNWICK_RENDER_PROGRAM + "' --bundle '" + kBundle + "'";
	for (const std::string& a : arguments)
		command += " '" + a + "'";
	command += " >/dev/null 2>'" + errorFile + "'";
	ProgramRun run;
	const int raw = std::system (command.c_str ());
	run.exited = raw != -1 && WIFEXITED (raw);
	run.status = run.exited ? WEXITSTATUS (raw) : -1;
	std::ifstream in (errorFile);
	std::stringstream s;
	s << in.rdbuf ();
	run.errors = s.str ();
	return run;
}

bool exists (const std::string& path)
{
	struct stat info;
	return stat (path.c_str (), &info) == 0;
}

COffscreenImage snapshotOf (const std::vector<std::string>& arguments, const std::string& name)
{
	const std::string path = scratch (name);
	std::remove (path.c_str ());
	std::vector<std::string> all = arguments;
	all.push_back ("--editor-snapshot");
	all.push_back (path);
	const ProgramRun run = render (all);
	EXPECT_TRUE (run.exited);
	EXPECT_EQ (run.status, 0) << run.errors;
	COffscreenImage image;
	EXPECT_TRUE (readPng (path, image)) << path;
	return image;
}

} // namespace

TEST (RenderEditorSnapshot, PresetPipesDiffersInTheKnobsAndNotInTheBackground)
{
	const COffscreenImage plain = snapshotOf ({}, "render-default.png");
	const COffscreenImage pipes = snapshotOf ({"--preset", "Pipes"}, "render-pipes.png");
	ASSERT_EQ (plain.width, 485);
	ASSERT_EQ (plain.height, 270);
	ASSERT_EQ (pipes.width, 485);
	ASSERT_EQ (pipes.height, 270);

	int movedKnobs = 0;
	for (size_t i = 2; i < 10; ++i)
		if (differingPixels (plain, pipes, kPlacedControls[i].area) > 50)
			++movedKnobs;
	EXPECT_GE (movedKnobs, 6);
	EXPECT_EQ (differingPixels (plain, pipes, kBackgroundCorner), 0);
	EXPECT_EQ (differingBackgroundPixels (plain, pipes), 0);

	// The default picture is the bundle's editor at its defaults, drawn by the same code.
	Tarnwick::Snapshot::EditorSnapshot editor;
	ASSERT_TRUE (editor.open (kBundle + "/Contents/Resources")) << editor.error ();
	COffscreenImage drawn;
	ASSERT_TRUE (editor.draw (1, drawn));
	EXPECT_EQ (differingPixels (plain, drawn, {0, 0, 485, 270}), 0);
}

TEST (RenderEditorSnapshot, ScaleDrawsTheEditorAtThatResolution)
{
	const COffscreenImage half = snapshotOf ({"--scale", "1.5"}, "render-scale-1.5.png");
	EXPECT_EQ (half.width, 728);
	EXPECT_EQ (half.height, 405);
	const COffscreenImage twice = snapshotOf ({"--scale=2"}, "render-scale-2.png");
	ASSERT_EQ (twice.width, 970);
	ASSERT_EQ (twice.height, 540);
	// The bundle's snapshot for scale 2 comes from the same drawing.
	COffscreenImage bundle2x;
	bool found = false;
	for (const auto& entry : std::filesystem::directory_iterator (kBundle + "/Contents/Resources/Snapshots"))
	{
		const std::string name = entry.path ().filename ().string ();
		if (name.size () > 18 && name.compare (name.size () - 18, 18, "_snapshot_2.0x.png") == 0)
			found = readPng (entry.path ().string (), bundle2x);
	}
	ASSERT_TRUE (found);
	EXPECT_EQ (differingPixels (twice, bundle2x, {0, 0, 970, 540}), 0);

	const std::string path = scratch ("render-scale-refused.png");
	std::remove (path.c_str ());
	for (const char* bad : {"5", "0.5", "0", "two", ""})
	{
		const ProgramRun run = render ({"--scale", bad, "--editor-snapshot", path});
		EXPECT_EQ (run.status, 2) << bad;
		EXPECT_NE (run.errors.find ("--scale"), std::string::npos) << run.errors;
	}
	EXPECT_EQ (render ({"--scale", "2", "-o", scratch ("scaled.wav")}).status, 2); // only with --editor-snapshot
	EXPECT_FALSE (exists (path));
}

TEST (RenderEditorSnapshot, SettingsAfterThePresetMoveTheirViews)
{
	const COffscreenImage pipes = snapshotOf ({"--preset", "Pipes"}, "render-pipes-a.png");
	const COffscreenImage changed =
	    snapshotOf ({"--preset", "Pipes", "--set", "Delay=2000", "--set", "Active=Off"}, "render-pipes-b.png");
	for (const PlacedControl& c : kPlacedControls)
	{
		const int differing = differingPixels (pipes, changed, c.area);
		if (c.parameter == 0 || c.parameter == 9)
			EXPECT_GT (differing, 50) << "parameter " << c.parameter;
		else
			EXPECT_EQ (differing, 0) << "parameter " << c.parameter;
	}
}

TEST(RenderEditorSnapshot, SyncOnAndAnotherNoteChangeTheirOwnViewsOnly)
{
    const COffscreenImage plain = snapshotOf({}, "render-sync-off.png");
    const COffscreenImage synced = snapshotOf({"--set", "Sync=On"}, "render-sync-on.png");
    const COffscreenImage dotted = snapshotOf({"--set", "Sync=On", "--set", "Note=1/8D"}, "render-sync-1-8D.png");
    for (const PlacedControl& c : kPlacedControls)
    {
        EXPECT_EQ(differingPixels(plain, synced, c.area) > 200, c.parameter == 10) << "parameter " << c.parameter;
        EXPECT_EQ(differingPixels(synced, dotted, c.area) > 30, c.parameter == 11) << "parameter " << c.parameter;
    }
    EXPECT_EQ(differingBackgroundPixels(plain, dotted), 0);
}

TEST (RenderEditorSnapshot, BadPathsFailCleanly)
{
	const std::string missingFolder = scratch ("no/such/folder/editor.png");
	ProgramRun run = render ({"--editor-snapshot", missingFolder});
	EXPECT_TRUE (run.exited);
	EXPECT_EQ (run.status, 1);
	EXPECT_NE (run.errors.find ("no/such/folder/editor.png"), std::string::npos) << run.errors;
	EXPECT_FALSE (exists (missingFolder));

	run = render ({"--editor-snapshot", TARNWICK_TEST_SCRATCH}); // a folder
	EXPECT_TRUE (run.exited);
	EXPECT_EQ (run.status, 1) << run.errors;

	run = render ({"--editor-snapshot="});
	EXPECT_TRUE (run.exited);
	EXPECT_EQ (run.status, 2) << run.errors;
	EXPECT_NE (run.errors.find ("--editor-snapshot"), std::string::npos) << run.errors;
}

TEST (RenderEditorSnapshot, BadSettingsOrCombinationsWriteNothing)
{
	const std::string path = scratch ("render-refused.png");
	std::remove (path.c_str ());
	const std::vector<std::vector<std::string>> refused = {
	    {"--preset", "No Such Preset"},
	    {"--set", "Delay=99999"},
	    {"--set", "Nothing=1"},
	    {"--all-presets", "--out-dir", scratch ("all")},
	    {"-o", scratch ("out.wav")},
	    {"--list"},
	};
	for (const auto& arguments : refused)
	{
		std::vector<std::string> all = arguments;
		all.push_back ("--editor-snapshot");
		all.push_back (path);
		const ProgramRun run = render (all);
		EXPECT_TRUE (run.exited);
		EXPECT_EQ (run.status, 2) << arguments[0] << ": " << run.errors;
		EXPECT_FALSE (exists (path)) << arguments[0];
	}
	// The bundle must be there to draw from.
	const ProgramRun run = render ({"--bundle", scratch ("missing.vst3"), "--editor-snapshot", path});
	EXPECT_TRUE (run.exited);
	EXPECT_EQ (run.status, 1) << run.errors;
	EXPECT_FALSE (exists (path));
}

#endif
