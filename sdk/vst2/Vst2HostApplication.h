// The host context handed to the wrapped plug-in: the SDK's host application
// (messages, attribute lists) under the VST 2 host's product name.
#pragma once

#include "public.sdk/source/vst/hosting/hostclasses.h"

namespace Steinberg {
namespace Vst {

class Vst2HostApplication : public HostApplication
{
public:
	// productName: UTF-8, may be empty.
	explicit Vst2HostApplication (const char* productName);

	tresult PLUGIN_API getName (String128 name) override;

private:
	String128 hostName {};
};

} // namespace Vst
} // namespace Steinberg
