// A lilv world holding one LV2 bundle, and the plug-in it describes.
#pragma once

#include <lilv/lilv.h>

#include <string>
#include <vector>

namespace Tarnwick {
namespace Lv2Host {

struct PresetInfo
{
	std::string uri;
	std::string label;
};

class Lv2World
{
public:
	// Loads the bundle folder and finds the plug-in `pluginUri` in it.
	Lv2World (const std::string& bundleDir, const std::string& pluginUri);
	~Lv2World ();
	Lv2World (const Lv2World&) = delete;
	Lv2World& operator= (const Lv2World&) = delete;

	bool ok () const { return plugin != nullptr; }
	const std::string& error () const { return problem; }

	LilvWorld* world () const { return lilvWorld; }
	const LilvPlugin* lilvPlugin () const { return plugin; }

	// The plug-in's presets, in the order of the numbers their URIs end in.
	std::vector<PresetInfo> presets () const;

private:
	LilvWorld* lilvWorld = nullptr;
	const LilvPlugin* plugin = nullptr;
	std::string problem;
};

} // namespace Lv2Host
} // namespace Tarnwick
