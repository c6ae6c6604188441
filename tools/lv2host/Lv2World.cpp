#include "Lv2World.h"

#include <lv2/presets/presets.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace Tarnwick {
namespace Lv2Host {

namespace {

// The number a URI ends in (preset slots), or a large one without.
long trailingNumber (const std::string& uri)
{
	std::size_t start = uri.size ();
	while (start > 0 && std::isdigit (static_cast<unsigned char> (uri[start - 1])))
		--start;
	return start < uri.size () ? std::strtol (uri.c_str () + start, nullptr, 10) : 1L << 30;
}

} // namespace

Lv2World::Lv2World (const std::string& bundleDir, const std::string& pluginUri)
: lilvWorld (lilv_world_new ())
{
	std::error_code status;
	const std::filesystem::path absolute = std::filesystem::absolute (bundleDir, status);
	std::string uri = "file://" + absolute.string ();
	if (uri.back () != '/')
		uri += '/';
	LilvNode* bundle = lilv_new_uri (lilvWorld, uri.c_str ());
	lilv_world_load_specifications (lilvWorld);
	lilv_world_load_plugin_classes (lilvWorld);
	lilv_world_load_bundle (lilvWorld, bundle);
	lilv_node_free (bundle);

	LilvNode* wanted = lilv_new_uri (lilvWorld, pluginUri.c_str ());
	plugin = lilv_plugins_get_by_uri (lilv_world_get_all_plugins (lilvWorld), wanted);
	lilv_node_free (wanted);
	if (!plugin)
		problem = "no plug-in <" + pluginUri + "> in " + bundleDir;
}

Lv2World::~Lv2World ()
{
	lilv_world_free (lilvWorld);
}

std::vector<PresetInfo> Lv2World::presets () const
{
	std::vector<PresetInfo> result;
	if (!plugin)
		return result;
	LilvNode* presetClass = lilv_new_uri (lilvWorld, LV2_PRESETS__Preset);
	LilvNode* label = lilv_new_uri (lilvWorld, LILV_NS_RDFS "label");
	LilvNodes* related = lilv_plugin_get_related (plugin, presetClass);
	LILV_FOREACH (nodes, i, related)
	{
		const LilvNode* preset = lilv_nodes_get (related, i);
		lilv_world_load_resource (lilvWorld, preset);
		PresetInfo info;
		info.uri = lilv_node_as_uri (preset);
		if (LilvNode* name = lilv_world_get (lilvWorld, preset, label, nullptr))
		{
			info.label = lilv_node_as_string (name);
			lilv_node_free (name);
		}
		result.push_back (info);
	}
	lilv_nodes_free (related);
	lilv_node_free (label);
	lilv_node_free (presetClass);
	std::stable_sort (result.begin (), result.end (), [] (const PresetInfo& a, const PresetInfo& b) {
		return trailingNumber (a.uri) < trailingNumber (b.uri);
	});
	return result;
}

} // namespace Lv2Host
} // namespace Tarnwick
