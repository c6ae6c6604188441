#include "Vst3Module.h"

namespace Tarnwick {
namespace Lv2Test {

HostKit::PluginModule& vst3Module ()
{
	static HostKit::PluginModule* module = [] () {
		auto* loaded = new HostKit::PluginModule ();
		loaded->load (TARNWICK_TEST_VST3_BUNDLE_DIR);
		return loaded;
	}();
	return *module;
}

} // namespace Lv2Test
} // namespace Tarnwick
