#include "HostQuirks.h"

#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/vst/ivsthostapplication.h"

#include <cstring>

namespace Vire2VUR3 {

using namespace Steinberg;

namespace {

bool nameIs (const Vst::String128 name, const char* expected)
{
	size_t i = 0;
	for (; expected[i] != 0; ++i)
		if (name[i] != static_cast<Vst::TChar> (expected[i]))
			return false;
	return name[i] == 0;
}

} // namespace

HostQuirks HostQuirks::of (FUnknown* hostContext)
{
	HostQuirks quirks;
	if (!hostContext)
		return quirks;
	Vst::IHostApplication* application = nullptr;
	if (hostContext->queryInterface (Vst::IHostApplication::iid, reinterpret_cast<void**> (&application)) !=
	        kResultOk ||
	    !application)
		return quirks;
	Vst::String128 name {};
	if (application->getName (name) == kResultOk)
	{
		name[127] = 0;
		quirks.restartHangsInsideProgramChange = nameIs (name, "Ardour");
	}
	application->release ();
	return quirks;
}

} // namespace Vire2VUR3
