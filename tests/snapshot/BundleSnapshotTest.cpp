// The bundle built by this tree: both snapshot files, at their sizes, drawn from
// the product editor at its default settings, and moduleinfo.json naming exactly
// them under the class id the factory reports.
#include "EditorSnapshot.h"
#include "PngImage.h"
#include "SnapshotFiles.h"

#include "hostkit/PluginModule.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <fstream>
#include <set>
#include <sstream>

using namespace Tarnwick;
using VSTGUI::COffscreenImage;

namespace {

const std::string kBundle = TARNWICK_TEST_BUNDLE_DIR;
const std::string kResources = kBundle + "/Contents/Resources";

std::string factoryClassId ()
{
	HostKit::PluginModule module;
	if (!module.load (kBundle))
		return {};
	Steinberg::PClassInfo2 info {};
	if (!module.findAudioEffectClass (info))
		return {};
	return Snapshot::classIdText (info.cid);
}

std::string readText (const std::string& path)
{
	std::ifstream in (path, std::ios::binary);
	std::stringstream s;
	s << in.rdbuf ();
	return s.str ();
}

std::set<std::string> filesIn (const std::string& folder)
{
	std::set<std::string> names;
	if (DIR* dir = opendir (folder.c_str ()))
	{
		while (dirent* entry = readdir (dir))
		{
			const std::string name = entry->d_name;
			if (name != "." && name != "..")
				names.insert (name);
		}
		closedir (dir);
	}
	return names;
}

// The entries { "Scale Factor": F, "Path": "P" } of a Snapshots array, as (F, P).
std::vector<std::pair<std::string, std::string>> snapshotEntries (const std::string& array)
{
	const std::string factorKey = "{ \"Scale Factor\": ";
	const std::string pathKey = ", \"Path\": \"";
	std::vector<std::pair<std::string, std::string>> entries;
	size_t at = array.find (factorKey);
	while (at != std::string::npos)
	{
		const size_t factor = at + factorKey.size ();
		const size_t path = array.find (pathKey, factor);
		const size_t pathEnd = path == std::string::npos ? path : array.find ("\" }", path + pathKey.size ());
		if (pathEnd == std::string::npos)
		{
			entries.push_back ({"malformed", array.substr (at)});
			break;
		}
		entries.push_back ({array.substr (factor, path - factor),
		                    array.substr (path + pathKey.size (), pathEnd - path - pathKey.size ())});
		at = array.find (factorKey, pathEnd);
	}
	return entries;
}

int countNotOpaque (const COffscreenImage& image)
{
	int count = 0;
	for (uint32_t p : image.pixels)
		if ((p >> 24) != 255)
			++count;
	return count;
}

} // namespace

TEST (BundleSnapshot, ClassIdTextIsTheFactoryByteOrderInUpperCaseHex)
{
	const Steinberg::TUID cid = {0x01, 0x23, 0x45, 0x67, static_cast<char> (0x89), static_cast<char> (0xAB),
	                             static_cast<char> (0xCD), static_cast<char> (0xEF), 0x00, 0x10, 0x20, 0x30,
	                             0x4a, 0x5b, 0x6c, 0x7d};
	EXPECT_EQ (Snapshot::classIdText (cid), "0123456789ABCDEF001020304A5B6C7D");
	EXPECT_EQ (Snapshot::snapshotRelativePath ("AB", 1), "Snapshots/AB_snapshot.png");
	EXPECT_EQ (Snapshot::snapshotRelativePath ("AB", 2), "Snapshots/AB_snapshot_2.0x.png");
	EXPECT_EQ (Snapshot::bundleResourcesPath ("/x/T.vst3//"), "/x/T.vst3/Contents/Resources");
}

TEST (BundleSnapshot, BothFilesAreInTheBundleAtTheirSizes)
{
	const std::string cid = factoryClassId ();
	ASSERT_EQ (cid.size (), 32u);
	EXPECT_EQ (filesIn (kResources + "/Snapshots"),
	           (std::set<std::string> {cid + "_snapshot.png", cid + "_snapshot_2.0x.png"}));

	COffscreenImage single, twice;
	ASSERT_TRUE (SnapshotTest::readPng (kResources + "/" + Snapshot::snapshotRelativePath (cid, 1), single));
	ASSERT_TRUE (SnapshotTest::readPng (kResources + "/" + Snapshot::snapshotRelativePath (cid, 2), twice));
	EXPECT_EQ (single.width, 485);
	EXPECT_EQ (single.height, 270);
	EXPECT_EQ (twice.width, 970);
	EXPECT_EQ (twice.height, 540);
	// A host's browser shows them on its own background: no see-through pixel, not even at the border.
	EXPECT_EQ (countNotOpaque (single), 0);
	EXPECT_EQ (countNotOpaque (twice), 0);
}

TEST (BundleSnapshot, FilesShowTheEditorAtItsDefaults)
{
	const std::string cid = factoryClassId ();
	ASSERT_EQ (cid.size (), 32u);
	Snapshot::EditorSnapshot editor;
	ASSERT_TRUE (editor.open (kResources)) << editor.error ();
	for (int scale : {1, 2})
	{
		COffscreenImage drawn, stored;
		ASSERT_TRUE (editor.draw (scale, drawn));
		ASSERT_TRUE (SnapshotTest::readPng (kResources + "/" + Snapshot::snapshotRelativePath (cid, scale), stored));
		ASSERT_EQ (stored.width, drawn.width);
		ASSERT_EQ (stored.height, drawn.height);
		EXPECT_EQ (SnapshotTest::differingPixels (stored, drawn, {0, 0, drawn.width, drawn.height}), 0) << scale;
	}
}

TEST (BundleSnapshot, ModuleInfoListsBothSnapshotsUnderTheFactoryClassId)
{
	const std::string cid = factoryClassId ();
	ASSERT_EQ (cid.size (), 32u);
	const std::string json = readText (kResources + "/moduleinfo.json");
	const size_t entry = json.find ("\"CID\": \"" + cid + "\"");
	ASSERT_NE (entry, std::string::npos) << json;
	const size_t open = json.find ("\"Snapshots\": [", entry);
	ASSERT_NE (open, std::string::npos);
	const size_t close = json.find (']', open);
	ASSERT_NE (close, std::string::npos);
	const std::string array = json.substr (open, close - open);

	const std::vector<std::pair<std::string, std::string>> listed = snapshotEntries (array);
	const std::vector<std::pair<std::string, std::string>> expected = {
	    {"1.0", "Snapshots/" + cid + "_snapshot.png"}, {"2.0", "Snapshots/" + cid + "_snapshot_2.0x.png"}};
	EXPECT_EQ (listed, expected) << array;
	// Every path listed is a file of the bundle.
	for (const auto& snapshot : listed)
	{
		COffscreenImage image;
		EXPECT_TRUE (SnapshotTest::readPng (kResources + "/" + snapshot.second, image)) << snapshot.second;
	}
	// One class, so one Snapshots array.
	EXPECT_EQ (json.find ("\"Snapshots\"", open + 1), std::string::npos);
}
