#include "hostkit/PluginModule.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <cstring>
#include <dlfcn.h>

namespace Tarnwick {
namespace HostKit {

using namespace Steinberg;

namespace {

using ModuleEntryFunc = bool (*) (void*);
using ModuleExitFunc = bool (*) ();

std::string withoutTrailingSlash (std::string path)
{
	while (path.size () > 1 && path.back () == '/')
		path.pop_back ();
	return path;
}

} // namespace

PluginModule::~PluginModule ()
{
	unload ();
}

std::string PluginModule::binaryPathOf (const std::string& bundlePath)
{
	const std::string bundle = withoutTrailingSlash (bundlePath);
	std::string name = bundle.substr (bundle.find_last_of ('/') + 1);
	const std::string suffix = ".vst3";
	if (name.size () > suffix.size () &&
	    name.compare (name.size () - suffix.size (), suffix.size (), suffix) == 0)
		name.resize (name.size () - suffix.size ());
	return bundle + "/Contents/x86_64-linux/" + name + ".so";
}

bool PluginModule::load (const std::string& bundlePath)
{
	unload ();
	bundle = bundlePath;
	lastError.clear ();

	const std::string binary = binaryPathOf (bundlePath);
	library = dlopen (binary.c_str (), RTLD_NOW | RTLD_LOCAL);
	if (library == nullptr)
	{
		const char* reason = dlerror ();
		lastError = "cannot load " + binary + ": " + (reason ? reason : "unknown error");
		return false;
	}

	auto entry = reinterpret_cast<ModuleEntryFunc> (dlsym (library, "ModuleEntry"));
	if (entry == nullptr)
	{
		lastError = binary + " does not export ModuleEntry";
		unload ();
		return false;
	}
	if (!entry (library))
	{
		lastError = "ModuleEntry of " + binary + " failed";
		unload ();
		return false;
	}
	entered = true;

	auto getFactory = reinterpret_cast<GetFactoryProc> (dlsym (library, "GetPluginFactory"));
	if (getFactory == nullptr)
	{
		lastError = binary + " does not export GetPluginFactory";
		unload ();
		return false;
	}
	factory = getFactory ();
	if (factory == nullptr)
	{
		lastError = "GetPluginFactory of " + binary + " returned no factory";
		unload ();
		return false;
	}
	factory->queryInterface (IPluginFactory2::iid, reinterpret_cast<void**> (&factory2));
	factory->queryInterface (IPluginFactory3::iid, reinterpret_cast<void**> (&factory3));
	return true;
}

void PluginModule::unload ()
{
	if (factory3)
		factory3->release ();
	if (factory2)
		factory2->release ();
	if (factory)
		factory->release ();
	factory3 = nullptr;
	factory2 = nullptr;
	factory = nullptr;

	if (library != nullptr)
	{
		if (entered)
		{
			if (auto exit = reinterpret_cast<ModuleExitFunc> (dlsym (library, "ModuleExit")))
				exit ();
		}
		dlclose (library);
	}
	entered = false;
	library = nullptr;
}

void* PluginModule::findSymbol (const char* name) const
{
	return library ? dlsym (library, name) : nullptr;
}

PFactoryInfo PluginModule::factoryInfo () const
{
	PFactoryInfo info;
	if (factory)
		factory->getFactoryInfo (&info);
	return info;
}

std::vector<PClassInfo2> PluginModule::classes () const
{
	std::vector<PClassInfo2> result;
	if (factory == nullptr)
		return result;
	const int32 count = factory->countClasses ();
	for (int32 i = 0; i < count; ++i)
	{
		PClassInfo2 info2;
		if (factory2 && factory2->getClassInfo2 (i, &info2) == kResultOk)
		{
			result.push_back (info2);
			continue;
		}
		PClassInfo info;
		if (factory->getClassInfo (i, &info) != kResultOk)
			continue;
		PClassInfo2 converted;
		std::memcpy (converted.cid, info.cid, sizeof (TUID));
		converted.cardinality = info.cardinality;
		std::memcpy (converted.category, info.category, sizeof (info.category));
		std::memcpy (converted.name, info.name, sizeof (info.name));
		result.push_back (converted);
	}
	return result;
}

bool PluginModule::findAudioEffectClass (PClassInfo2& info) const
{
	for (const PClassInfo2& candidate : classes ())
	{
		if (std::strncmp (candidate.category, kVstAudioEffectClass, sizeof (candidate.category)) == 0)
		{
			info = candidate;
			return true;
		}
	}
	return false;
}

} // namespace HostKit
} // namespace Tarnwick
