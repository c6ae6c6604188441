// The module's VST 2 entry points: the same effect class as the VST 3 factory
// announces, presented to VST 2 hosts by the VST 2 wrapper.
#include "TarnwickIds.h"
#include "Vst2Wrapper.h"

#include "effect/CStDelayFil.h"

#include "pluginterfaces/base/ipluginbase.h"
#include "public.sdk/source/main/linuxmain.h"

#include <dlfcn.h>

namespace {

// A VST 2 host never calls ModuleEntry, so the first VST 2 instance enters the
// module itself (once per process; the module stays entered until unload).
void enterModuleOnce ()
{
	static const bool entered = [] {
		void* handle = nullptr;
		Dl_info info {};
		if (dladdr (reinterpret_cast<void*> (&enterModuleOnce), &info) != 0 && info.dli_fname != nullptr)
		{
			// Only looks the already loaded module up; the reference is dropped at once.
			handle = dlopen (info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
			if (handle != nullptr)
				dlclose (handle);
		}
		ModuleEntry (handle);
		return true;
	}();
	(void)entered;
}

vst_effect* createVst2Effect (vst_host_callback audioMaster)
{
	using namespace Steinberg;
	if (audioMaster == nullptr)
		return nullptr;
	const auto host = Vst::Vst2Abi::hostCallbackOf (audioMaster);
	if (host (nullptr, Vst::Vst2Abi::kHostVersion, 0, 0, nullptr, 0.f) == 0)
		return nullptr;

	enterModuleOnce ();

	IPluginFactory* factory = GetPluginFactory ();
	if (factory == nullptr)
		return nullptr;
	// Controls added after the first release follow every other parameter, so that the indexes
	// VST 2 sessions saved keep their parameters.
	std::vector<Vst::ParamID> addedLater;
	for (int32 position = CStDelayFil::kFirstReleaseControlCount; position < CStDelayFil::kControlCount;
	     ++position)
		addedLater.push_back (static_cast<Vst::ParamID> (position));
	vst_effect* effect = Vst::Vst2Wrapper::create (factory, Vire2VUR3::kProcessorClassTUID,
	                                               Vire2VUR3::kVst2UniqueId, audioMaster, addedLater);
	// The wrapper holds its own reference.
	factory->release ();
	return effect;
}

} // namespace

extern "C" {

__attribute__ ((visibility ("default"))) vst_effect* VSTPluginMain (vst_host_callback audioMaster)
{
	return createVst2Effect (audioMaster);
}

__attribute__ ((visibility ("default"))) vst_effect* MAIN (vst_host_callback audioMaster)
{
	return createVst2Effect (audioMaster);
}

// Older Linux hosts look the entry up as "main"; a differently named C++
// function carries that symbol name.
__attribute__ ((visibility ("default"))) vst_effect* vst2LegacyMain (vst_host_callback audioMaster) __asm__ ("main");
vst_effect* vst2LegacyMain (vst_host_callback audioMaster)
{
	return createVst2Effect (audioMaster);
}

} // extern "C"
