// Build step: writes the editor's snapshots into a bundle,
// Contents/Resources/Snapshots/<class id>_snapshot.png and _snapshot_2.0x.png.
// The class id is the one the bundle's factory reports; the pictures are the
// product's editor at its default settings, drawn offscreen at scale 1 and 2.
//
// Usage: tarnwick-snapshot <bundle folder>
#include "EditorSnapshot.h"
#include "SnapshotFiles.h"

#include "hostkit/PluginModule.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

namespace {

int run (const std::string& bundle)
{
	using namespace Tarnwick;
	std::string classId;
	{
		HostKit::PluginModule module;
		if (!module.load (bundle))
		{
			std::fprintf (stderr, "tarnwick-snapshot: cannot load '%s': %s\n", bundle.c_str (), module.error ().c_str ());
			return 1;
		}
		Steinberg::PClassInfo2 info {};
		if (!module.findAudioEffectClass (info))
		{
			std::fprintf (stderr, "tarnwick-snapshot: '%s' offers no audio effect\n", bundle.c_str ());
			return 1;
		}
		classId = Snapshot::classIdText (info.cid);
	}

	const std::string resources = Snapshot::bundleResourcesPath (bundle);
	std::error_code status;
	std::filesystem::create_directories (resources + "/Snapshots", status);
	if (status)
	{
		std::fprintf (stderr, "tarnwick-snapshot: cannot make '%s/Snapshots': %s\n", resources.c_str (),
		              status.message ().c_str ());
		return 1;
	}

	Snapshot::EditorSnapshot snapshot;
	if (!snapshot.open (resources))
	{
		std::fprintf (stderr, "tarnwick-snapshot: %s\n", snapshot.error ().c_str ());
		return 1;
	}
	for (int scale : {1, 2})
	{
		const std::string path = resources + "/" + Snapshot::snapshotRelativePath (classId, scale);
		if (!snapshot.writePng (path, scale))
		{
			std::fprintf (stderr, "tarnwick-snapshot: %s\n", snapshot.error ().c_str ());
			return 1;
		}
	}
	return 0;
}

} // namespace

int main (int argc, char** argv)
{
	if (argc != 2)
	{
		std::fprintf (stderr, "usage: %s <bundle folder>\n", argv[0]);
		return 2;
	}
	try
	{
		return run (argv[1]);
	}
	catch (const std::exception& failure)
	{
		std::fprintf (stderr, "tarnwick-snapshot: %s\n", failure.what ());
	}
	return 1;
}
