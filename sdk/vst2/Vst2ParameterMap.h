// Which VST 3 parameters a VST 2 host sees, and at which index: every
// parameter except read-only, hidden, bypass and program-change ones, in id
// order, except that parameters a plug-in added in a later release follow all
// the others in the order given (so that the indexes saved sessions refer to
// keep their parameters). The bypass and program-change parameters are
// remembered apart.
#pragma once

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <string>
#include <vector>

namespace Steinberg {
namespace Vst {

class Vst2ParameterMap
{
public:
	void build (IEditController* controller, const std::vector<ParamID>& addedLater = {});
	// Re-reads titles and units after the plug-in announced new ones.
	void refreshInfos (IEditController* controller);

	int32 count () const { return static_cast<int32> (infos.size ()); }
	bool isValidIndex (int32 index) const { return index >= 0 && index < count (); }
	// Null for an index out of range.
	const ParameterInfo* infoAt (int32 index) const;
	ParamID idAt (int32 index) const;
	// The parameter's name within a VST 2 host's 8 bytes, different from every other's: its
	// short title when that fits, else its title cut short. Null for an index out of range.
	const char* shortNameAt (int32 index) const;
	// -1 when the id is not a VST 2 parameter.
	int32 indexOf (ParamID id) const;

	ParamID bypassId () const { return bypass; }
	ParamID programChangeId () const { return programChange; }

private:
	void buildShortNames ();

	std::vector<ParameterInfo> infos;
	std::vector<std::string> shortNames;
	ParamID bypass {kNoParamId};
	ParamID programChange {kNoParamId};
};

} // namespace Vst
} // namespace Steinberg
