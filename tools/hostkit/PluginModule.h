// A VST 3 bundle loaded as a DAW loads it: dlopen of <bundle>/Contents/x86_64-linux/<name>.so,
// ModuleEntry, GetPluginFactory. Unloading releases the factory, calls ModuleExit and dlclose;
// every PluginInstance made from the module must be destroyed before that.
#pragma once

#include "pluginterfaces/base/ipluginbase.h"

#include <string>
#include <vector>

namespace Tarnwick {
namespace HostKit {

class PluginModule
{
public:
	PluginModule () = default;
	~PluginModule ();
	PluginModule (const PluginModule&) = delete;
	PluginModule& operator= (const PluginModule&) = delete;

	// Path of the shared library inside a bundle ("X.vst3" -> "X.vst3/Contents/x86_64-linux/X.so").
	static std::string binaryPathOf (const std::string& bundlePath);

	// false with error() set when the bundle cannot be loaded or lacks an entry point.
	bool load (const std::string& bundlePath);
	void unload ();
	bool isLoaded () const { return factory != nullptr; }
	const std::string& error () const { return lastError; }
	const std::string& bundlePath () const { return bundle; }

	Steinberg::IPluginFactory* getFactory () const { return factory; }
	Steinberg::IPluginFactory2* getFactory2 () const { return factory2; }
	Steinberg::IPluginFactory3* getFactory3 () const { return factory3; }
	void* getLibraryHandle () const { return library; }
	// Looks up an exported symbol of the loaded library.
	void* findSymbol (const char* name) const;

	Steinberg::PFactoryInfo factoryInfo () const;
	std::vector<Steinberg::PClassInfo2> classes () const;
	// The first class of the category "Audio Module Class"; false if there is none.
	bool findAudioEffectClass (Steinberg::PClassInfo2& info) const;

private:
	std::string bundle;
	std::string lastError;
	void* library = nullptr;
	bool entered = false;
	Steinberg::IPluginFactory* factory = nullptr;
	Steinberg::IPluginFactory2* factory2 = nullptr;
	Steinberg::IPluginFactory3* factory3 = nullptr;
};

} // namespace HostKit
} // namespace Tarnwick
