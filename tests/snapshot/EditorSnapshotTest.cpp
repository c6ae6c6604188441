// The snapshot library against the product editor: host-side changes through the
// edit controller (a program change, a single parameter) reach exactly the views
// of the changed parameters; failures are reported, never crash.
#include "EditorSnapshot.h"
#include "EditorSnapshotFile.h"
#include "ProductLayout.h"

#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sys/stat.h>

using namespace Tarnwick;
using namespace SnapshotTest;
using VSTGUI::COffscreenImage;

namespace {

const std::string kBundle = TARNWICK_TEST_BUNDLE_DIR;
const std::string kResources = kBundle + "/Contents/Resources";

std::string scratch (const std::string& name)
{
	mkdir (TARNWICK_TEST_SCRATCH, 0755);
	return std::string (TARNWICK_TEST_SCRATCH) + "/" + name;
}

// The index of a factory preset, found through the program list as a host finds it.
int programIndex (Snapshot::EditorSnapshot& editor, const std::string& name)
{
	Steinberg::Vst::IUnitInfo* units = nullptr;
	if (editor.controller ()->queryInterface (Steinberg::Vst::IUnitInfo::iid, reinterpret_cast<void**> (&units)) !=
	        Steinberg::kResultOk ||
	    !units)
		return -1;
	int found = -1;
	Steinberg::Vst::ProgramListInfo list {};
	if (units->getProgramListCount () > 0 && units->getProgramListInfo (0, list) == Steinberg::kResultOk)
	{
		for (Steinberg::int32 i = 0; i < list.programCount && found < 0; ++i)
		{
			Steinberg::Vst::String128 text {};
			units->getProgramName (list.id, i, text);
			char ascii[128] {};
			Steinberg::UString (text, 128).toAscii (ascii, 128);
			if (name == ascii)
				found = i;
		}
	}
	units->release ();
	return found;
}

std::vector<double> controlValues (Snapshot::EditorSnapshot& editor)
{
	std::vector<double> values;
	for (const PlacedControl& c : kPlacedControls)
		values.push_back (editor.controller ()->getParamNormalized (static_cast<Steinberg::Vst::ParamID> (c.parameter)));
	return values;
}

} // namespace

TEST (EditorSnapshot, DrawsTheProductEditorAtBothScales)
{
	Snapshot::EditorSnapshot editor;
	ASSERT_TRUE (editor.open (kResources)) << editor.error ();
	COffscreenImage single, twice;
	ASSERT_TRUE (editor.draw (1, single));
	ASSERT_TRUE (editor.draw (2, twice));
	EXPECT_EQ (single.width, 485);
	EXPECT_EQ (single.height, 270);
	EXPECT_EQ (twice.width, 970);
	EXPECT_EQ (twice.height, 540);
	// Drawing again without a change gives the same picture.
	COffscreenImage again;
	ASSERT_TRUE (editor.draw (1, again));
	EXPECT_EQ (differingPixels (single, again, {0, 0, 485, 270}), 0);
}

TEST (EditorSnapshot, ProgramChangeMovesTheViewsOfTheChangedParametersOnly)
{
	Snapshot::EditorSnapshot editor;
	ASSERT_TRUE (editor.open (kResources)) << editor.error ();
	COffscreenImage before, after;
	ASSERT_TRUE (editor.draw (1, before));
	const std::vector<double> oldValues = controlValues (editor);

	const int pipes = programIndex (editor, "Pipes");
	ASSERT_GT (pipes, 0);
	ASSERT_EQ (editor.selectProgram (pipes), Steinberg::kResultOk);
	const std::vector<double> newValues = controlValues (editor);
	ASSERT_TRUE (editor.draw (1, after));

	int moved = 0;
	for (size_t i = 0; i < 10; ++i)
	{
		const PlacedControl& c = kPlacedControls[i];
		const int changed = differingPixels (before, after, c.area);
		if (oldValues[i] == newValues[i])
		{
			EXPECT_EQ (changed, 0) << "parameter " << c.parameter;
		}
		else if (std::fabs (oldValues[i] - newValues[i]) > 1. / 134.)
		{
			EXPECT_GT (changed, 50) << "parameter " << c.parameter;
			++moved;
		}
	}
	EXPECT_GE (moved, 6); // a real preset, not a no-op
	EXPECT_EQ (differingBackgroundPixels (before, after), 0);
	EXPECT_EQ (differingPixels (before, after, kBackgroundCorner), 0);
}

TEST (EditorSnapshot, HostSideParameterChangeMovesItsKnobOnly)
{
	Snapshot::EditorSnapshot editor;
	ASSERT_TRUE (editor.open (kResources)) << editor.error ();
	COffscreenImage before, after;
	ASSERT_TRUE (editor.draw (1, before));
	ASSERT_EQ (editor.setParameter (0, 1.0), Steinberg::kResultOk); // "Delay" to its maximum
	ASSERT_TRUE (editor.draw (1, after));
	for (const PlacedControl& c : kPlacedControls)
	{
		if (c.parameter == 0)
			EXPECT_GT (differingPixels (before, after, c.area), 50);
		else
			EXPECT_EQ (differingPixels (before, after, c.area), 0) << "parameter " << c.parameter;
	}
	EXPECT_EQ (differingBackgroundPixels (before, after), 0);

	// Back to the old value: the old picture.
	ASSERT_EQ (editor.setParameter (0, 0.0), Steinberg::kResultOk);
	COffscreenImage back;
	ASSERT_TRUE (editor.draw (1, back));
	EXPECT_EQ (differingPixels (before, back, {0, 0, 485, 270}), 0);
}

TEST (EditorSnapshot, SwitchesShowTheirSecondStateAtTheirMaximum)
{
	Snapshot::EditorSnapshot editor;
	ASSERT_TRUE (editor.open (kResources)) << editor.error ();
	COffscreenImage before, after;
	ASSERT_TRUE (editor.draw (1, before));
	ASSERT_EQ (editor.setParameter (8, 1.0), Steinberg::kResultOk); // "Delay State": Delay
	ASSERT_EQ (editor.setParameter (9, 1.0), Steinberg::kResultOk); // "Active": Off
	ASSERT_TRUE (editor.draw (1, after));
	EXPECT_GT (differingPixels (before, after, kPlacedControls[0].area), 200);
	EXPECT_GT (differingPixels (before, after, kPlacedControls[1].area), 200);
	for (size_t i = 2; i < 10; ++i)
		EXPECT_EQ (differingPixels (before, after, kPlacedControls[i].area), 0);
}

TEST (EditorSnapshot, RefusesWhatItCannotDo)
{
	Snapshot::EditorSnapshot editor;
	COffscreenImage image;
	EXPECT_FALSE (editor.draw (1, image)); // not open
	EXPECT_FALSE (editor.error ().empty ());
	EXPECT_NE (editor.setParameter (0, 0.5), Steinberg::kResultOk);

	ASSERT_TRUE (editor.open (kResources)) << editor.error ();
	EXPECT_NE (editor.selectProgram (-1), Steinberg::kResultOk);
	EXPECT_NE (editor.selectProgram (100000), Steinberg::kResultOk);
	EXPECT_FALSE (editor.draw (0, image));
	EXPECT_FALSE (editor.draw (-2, image));
	EXPECT_FALSE (editor.writePng (scratch ("no/such/folder/editor.png"), 1));
	EXPECT_NE (editor.error ().find ("no/such/folder/editor.png"), std::string::npos) << editor.error ();
	EXPECT_FALSE (editor.writePng (TARNWICK_TEST_SCRATCH, 1)); // a folder
}

TEST (EditorSnapshot, ResourcesWithoutTheDescriptionGiveAnErrorNotACrash)
{
	const std::string empty = scratch ("empty-resources");
	mkdir (empty.c_str (), 0755);
	Snapshot::EditorSnapshot editor;
	EXPECT_FALSE (editor.open (empty));
	EXPECT_NE (editor.error ().find ("vexa.uidesc"), std::string::npos) << editor.error ();
	COffscreenImage image;
	EXPECT_FALSE (editor.draw (1, image));

	std::string error;
	EXPECT_FALSE (Snapshot::writeEditorSnapshot (scratch ("no-bundle.vst3"), -1, {}, scratch ("x.png"), 1., error));
	EXPECT_FALSE (error.empty ());
	// The same object opens the real editor afterwards.
	EXPECT_TRUE (editor.open (kResources)) << editor.error ();
	EXPECT_TRUE (editor.draw (1, image));
}

TEST (EditorSnapshot, FileWriterAppliesProgramThenValues)
{
	std::string error;
	const std::string path = scratch ("writer-pipes.png");
	std::remove (path.c_str ());
	Snapshot::EditorSnapshot editor;
	ASSERT_TRUE (editor.open (kResources)) << editor.error ();
	const int pipes = programIndex (editor, "Pipes");
	ASSERT_GT (pipes, 0);
	ASSERT_TRUE (Snapshot::writeEditorSnapshot (kBundle, pipes, {{0, 1.0}}, path, 1., error)) << error;

	ASSERT_EQ (editor.selectProgram (pipes), Steinberg::kResultOk);
	ASSERT_EQ (editor.setParameter (0, 1.0), Steinberg::kResultOk);
	COffscreenImage expected, written;
	ASSERT_TRUE (editor.draw (1, expected));
	ASSERT_TRUE (readPng (path, written));
	ASSERT_EQ (written.width, 485);
	EXPECT_EQ (differingPixels (expected, written, {0, 0, 485, 270}), 0);

	EXPECT_FALSE (Snapshot::writeEditorSnapshot (kBundle, 100000, {}, path, 1., error));
	EXPECT_NE (error.find ("program"), std::string::npos) << error;
}
