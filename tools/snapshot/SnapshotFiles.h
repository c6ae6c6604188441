// Where the editor snapshots lie in a bundle, as hosts look for them:
// Contents/Resources/Snapshots/<class id, 32 upper-case hex digits>_snapshot.png
// and _snapshot_2.0x.png for the double-size one.
#pragma once

#include "pluginterfaces/base/funknown.h"

#include <string>

namespace Tarnwick {
namespace Snapshot {

// The class id in the factory's byte order, 32 upper-case hex digits.
std::string classIdText (const Steinberg::TUID cid);

// "Snapshots/<CID>_snapshot.png" (scale 1) or "Snapshots/<CID>_snapshot_2.0x.png" (scale 2),
// relative to Contents/Resources.
std::string snapshotRelativePath (const std::string& classId, int scale);

std::string bundleResourcesPath (const std::string& bundlePath);

} // namespace Snapshot
} // namespace Tarnwick
