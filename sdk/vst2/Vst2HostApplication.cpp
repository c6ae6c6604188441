#include "Vst2HostApplication.h"

#include "Vst2Text.h"

#include <cstring>

namespace Steinberg {
namespace Vst {

Vst2HostApplication::Vst2HostApplication (const char* productName)
{
	const char* name = (productName != nullptr && productName[0] != 0) ? productName : "VST 2 host";
	Vst2Text::toUtf16 (hostName, 128, name);
}

tresult PLUGIN_API Vst2HostApplication::getName (String128 name)
{
	if (name == nullptr)
		return kInvalidArgument;
	std::memcpy (name, hostName, sizeof (String128));
	return kResultTrue;
}

} // namespace Vst
} // namespace Steinberg
