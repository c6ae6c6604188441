#include "SnapshotFiles.h"

namespace Tarnwick {
namespace Snapshot {

std::string classIdText (const Steinberg::TUID cid)
{
	char text[33] {};
	Steinberg::FUID::fromTUID (cid).toString (text);
	return text;
}

std::string snapshotRelativePath (const std::string& classId, int scale)
{
	if (scale == 1)
		return "Snapshots/" + classId + "_snapshot.png";
	return "Snapshots/" + classId + "_snapshot_" + std::to_string (scale) + ".0x.png";
}

std::string bundleResourcesPath (const std::string& bundlePath)
{
	std::string path = bundlePath;
	while (path.size () > 1 && path.back () == '/')
		path.pop_back ();
	return path + "/Contents/Resources";
}

} // namespace Snapshot
} // namespace Tarnwick
