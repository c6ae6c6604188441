// The programs a VST 2 host sees: the program list of the plug-in's root unit.
#pragma once

#include "pluginterfaces/vst/ivstunits.h"

namespace Steinberg {
namespace Vst {

class Vst2ProgramList
{
public:
	// unitInfo may be null (no programs then).
	void build (IUnitInfo* unitInfo);

	int32 count () const { return programCount; }
	bool isValidIndex (int32 index) const { return index >= 0 && index < programCount; }
	ProgramListID listId () const { return list; }
	// False for an index out of range or when the plug-in has no name for it.
	bool nameAt (int32 index, String128 name) const;

private:
	IUnitInfo* unitInfo {nullptr};
	ProgramListID list {kNoProgramListId};
	int32 programCount {0};
};

} // namespace Vst
} // namespace Steinberg
