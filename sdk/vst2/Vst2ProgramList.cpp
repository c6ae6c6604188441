#include "Vst2ProgramList.h"

namespace Steinberg {
namespace Vst {

void Vst2ProgramList::build (IUnitInfo* info)
{
	unitInfo = info;
	list = kNoProgramListId;
	programCount = 0;
	if (unitInfo == nullptr)
		return;

	const int32 units = unitInfo->getUnitCount ();
	for (int32 i = 0; i < units; ++i)
	{
		UnitInfo unit {};
		if (unitInfo->getUnitInfo (i, unit) == kResultOk && unit.id == kRootUnitId)
		{
			list = unit.programListId;
			break;
		}
	}
	if (list == kNoProgramListId)
		return;

	const int32 lists = unitInfo->getProgramListCount ();
	for (int32 i = 0; i < lists; ++i)
	{
		ProgramListInfo listInfo {};
		if (unitInfo->getProgramListInfo (i, listInfo) == kResultOk && listInfo.id == list)
		{
			programCount = listInfo.programCount > 0 ? listInfo.programCount : 0;
			return;
		}
	}
	list = kNoProgramListId;
}

bool Vst2ProgramList::nameAt (int32 index, String128 name) const
{
	if (unitInfo == nullptr || !isValidIndex (index))
		return false;
	name[0] = 0;
	if (unitInfo->getProgramName (list, index, name) != kResultOk)
		return false;
	name[127] = 0;
	return true;
}

} // namespace Vst
} // namespace Steinberg
