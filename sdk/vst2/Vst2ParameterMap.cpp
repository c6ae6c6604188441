#include "Vst2ParameterMap.h"

#include "Vst2Abi.h"
#include "Vst2Text.h"

#include "pluginterfaces/vst/ivstunits.h"

#include <algorithm>
#include <cstring>

namespace Steinberg {
namespace Vst {

namespace {
constexpr int32 kHiddenFlags = ParameterInfo::kIsReadOnly | ParameterInfo::kIsHidden |
                               ParameterInfo::kIsBypass | ParameterInfo::kIsProgramChange;
}

void Vst2ParameterMap::build (IEditController* controller, const std::vector<ParamID>& addedLater)
{
	infos.clear ();
	bypass = kNoParamId;
	programChange = kNoParamId;
	if (controller == nullptr)
		return;

	bool programChangeAtRoot = false;
	const int32 total = controller->getParameterCount ();
	for (int32 i = 0; i < total; ++i)
	{
		ParameterInfo info {};
		if (controller->getParameterInfo (i, info) != kResultOk)
			continue;
		if ((info.flags & ParameterInfo::kIsBypass) != 0 && bypass == kNoParamId)
			bypass = info.id;
		if ((info.flags & ParameterInfo::kIsProgramChange) != 0 && !programChangeAtRoot)
		{
			// The root unit's program change wins over one of a sub-unit.
			programChange = info.id;
			programChangeAtRoot = info.unitId == kRootUnitId;
		}
		if ((info.flags & kHiddenFlags) == 0)
			infos.push_back (info);
	}
	// 0 for the first release's parameters, then 1, 2, ... in the order they were added.
	auto rank = [&] (ParamID id) {
		const auto found = std::find (addedLater.begin (), addedLater.end (), id);
		return found == addedLater.end () ? size_t (0) : static_cast<size_t> (found - addedLater.begin ()) + 1;
	};
	std::stable_sort (infos.begin (), infos.end (), [&] (const ParameterInfo& a, const ParameterInfo& b) {
		const size_t ra = rank (a.id);
		const size_t rb = rank (b.id);
		return ra != rb ? ra < rb : a.id < b.id;
	});
	buildShortNames ();
}

void Vst2ParameterMap::buildShortNames ()
{
	const int32 size = Vst2Abi::kParamStringSize;
	shortNames.clear ();
	for (const ParameterInfo& info : infos)
	{
		// A short title cut short would be worse than the title cut short.
		char full[128 * 3 + 1];
		Vst2Text::copyUtf16 (full, sizeof (full), info.shortTitle);
		char name[Vst2Abi::kParamStringSize];
		Vst2Text::copyUtf16 (name, size,
		                     full[0] != 0 && std::strlen (full) < static_cast<size_t> (size)
		                         ? info.shortTitle
		                         : info.title);
		shortNames.emplace_back (name);
	}
	Vst2Text::makeUnique (shortNames, size);
}

void Vst2ParameterMap::refreshInfos (IEditController* controller)
{
	if (controller == nullptr)
		return;
	const int32 total = controller->getParameterCount ();
	for (int32 i = 0; i < total; ++i)
	{
		ParameterInfo info {};
		if (controller->getParameterInfo (i, info) != kResultOk)
			continue;
		const int32 index = indexOf (info.id);
		if (index >= 0)
			infos[static_cast<size_t> (index)] = info;
	}
	buildShortNames ();
}

const char* Vst2ParameterMap::shortNameAt (int32 index) const
{
	return isValidIndex (index) ? shortNames[static_cast<size_t> (index)].c_str () : nullptr;
}

const ParameterInfo* Vst2ParameterMap::infoAt (int32 index) const
{
	return isValidIndex (index) ? &infos[static_cast<size_t> (index)] : nullptr;
}

ParamID Vst2ParameterMap::idAt (int32 index) const
{
	return isValidIndex (index) ? infos[static_cast<size_t> (index)].id : kNoParamId;
}

int32 Vst2ParameterMap::indexOf (ParamID id) const
{
	const auto it = std::lower_bound (infos.begin (), infos.end (), id,
	                                  [] (const ParameterInfo& info, ParamID key) { return info.id < key; });
	if (it == infos.end () || it->id != id)
		return -1;
	return static_cast<int32> (it - infos.begin ());
}

} // namespace Vst
} // namespace Steinberg
