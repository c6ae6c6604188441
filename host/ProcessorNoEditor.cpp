// Built when the module has no editor: hosts get no view.
#include "Processor.h"

namespace Vire2VUR3 {

Steinberg::IPlugView* PLUGIN_API Processor::createView (Steinberg::FIDString /*name*/)
{
	return nullptr;
}

} // namespace Vire2VUR3
