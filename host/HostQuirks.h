// What particular hosts need done differently, found out once from the host context.
#pragma once

#include "pluginterfaces/base/funknown.h"

namespace Vire2VUR3 {

struct HostQuirks
{
	// Ardour (7.3, Debian 12) holds a lock of its own while it sets the program-change
	// parameter and takes the same lock again in restartComponent: a restart from inside
	// that call hangs it.
	bool restartHangsInsideProgramChange = false;

	// Asks the host context (IHostApplication) for its name.
	static HostQuirks of (Steinberg::FUnknown* hostContext);
};

} // namespace Vire2VUR3
