#include "EditorSnapshot.h"
#include "EditorSnapshotFile.h"
#include "SnapshotFiles.h"

namespace Tarnwick {
namespace Snapshot {

using namespace Steinberg;

bool writeEditorSnapshot (const std::string& bundlePath, int32 programIndex, const std::vector<ParameterValue>& values,
                          const std::string& pngPath, double scale, std::string& error)
{
	EditorSnapshot snapshot;
	if (!snapshot.open (bundleResourcesPath (bundlePath)))
	{
		error = snapshot.error ();
		return false;
	}
	if (programIndex >= 0 && snapshot.selectProgram (programIndex) != kResultOk)
	{
		error = "the plug-in refused program " + std::to_string (programIndex);
		return false;
	}
	for (const ParameterValue& value : values)
	{
		if (snapshot.setParameter (value.id, value.normalized) != kResultOk)
		{
			error = "the plug-in refused a value for parameter " + std::to_string (value.id);
			return false;
		}
	}
	if (!snapshot.writePng (pngPath, scale))
	{
		error = snapshot.error ();
		return false;
	}
	return true;
}

} // namespace Snapshot
} // namespace Tarnwick
