// tarnwick-version-probe VST3_BUNDLE VST2_MODULE LV2_BUNDLE: prints each version and maker a host
// reads from installed or built copies, one "<where> <value>" line each, as the hosts read them:
// the VST 3 factory's class info and the bundle's moduleinfo.json, the VST 2 entry's
// effGetVendorVersion and vendor string, and what lilv reads of the LV2 bundle.
#include "hostkit/PluginModule.h"

#include "Vst2TestHost.h"

#include <lilv/lilv.h>

#include <dlfcn.h>

#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

namespace Abi = Steinberg::Vst::Vst2Abi;

std::string fixed(const char* text, size_t size)
{
    return std::string(text, strnlen(text, size));
}

// The string value of the first "key": "value" of a JSON text (moduleinfo.json's top-level
// "Version" and "Vendor" come before the classes' own).
std::string jsonValue(const std::string& json, const std::string& key)
{
    const size_t at = json.find("\"" + key + "\": \"");
    if (at == std::string::npos)
        return "(none)";
    const size_t start = at + key.size() + 5;
    return json.substr(start, json.find('"', start) - start);
}

bool probeVst3(const std::string& bundle)
{
    Tarnwick::HostKit::PluginModule module;
    Steinberg::PClassInfo2 info{};
    if (!module.load(bundle) || !module.findAudioEffectClass(info))
        return false;
    std::cout << "vst3.class.version " << fixed(info.version, sizeof(info.version)) << "\n";
    std::cout << "vst3.factory.vendor " << fixed(module.factoryInfo().vendor, Steinberg::PFactoryInfo::kNameSize)
              << "\n";
    std::ifstream file(bundle + "/Contents/Resources/moduleinfo.json");
    std::stringstream json;
    json << file.rdbuf();
    std::cout << "vst3.moduleinfo.version " << jsonValue(json.str(), "Version") << "\n";
    std::cout << "vst3.moduleinfo.vendor " << jsonValue(json.str(), "Vendor") << "\n";
    return true;
}

bool probeVst2(const std::string& path)
{
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    auto entry =
        library ? reinterpret_cast<vst_effect* (*)(vst_host_callback)>(dlsym(library, "VSTPluginMain")) : nullptr;
    Vst2Test::Vst2TestHost host;
    vst_effect* effect = entry ? entry(host.callback()) : nullptr;
    if (!effect)
        return false;
    std::cout << "vst2.vendor.version " << Vst2Test::dispatch(effect, Abi::kEffGetVendorVersion) << "\n";
    std::cout << "vst2.vendor " << Vst2Test::parameterText(effect, Abi::kEffGetVendorString, 0) << "\n";
    Vst2Test::dispatch(effect, Abi::kEffClose);
    return true;
}

bool probeLv2(const std::string& bundleDir)
{
    LilvWorld* world = lilv_world_new();
    LilvNode* bundle = lilv_new_file_uri(world, nullptr, (bundleDir + "/").c_str());
    lilv_world_load_bundle(world, bundle);
    LilvNode* uri = lilv_new_uri(world, "https://tarnwick.audio/lv2/tarnwick");
    const LilvPlugin* plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
    if (plugin)
    {
        // The plug-in's own values (lilv loads its data files for them), then the release's.
        const auto pluginValue = [&](const char* predicate) {
            LilvNode* property = lilv_new_uri(world, predicate);
            LilvNodes* values = lilv_plugin_get_value(plugin, property);
            std::string text = values ? lilv_node_as_string(lilv_nodes_get_first(values)) : "(none)";
            lilv_nodes_free(values);
            lilv_node_free(property);
            return text;
        };
        std::cout << "lv2.version " << pluginValue("http://lv2plug.in/ns/lv2core#minorVersion") << "."
                  << pluginValue("http://lv2plug.in/ns/lv2core#microVersion") << "\n";
        LilvNode* releaseProperty = lilv_new_uri(world, "http://usefulinc.com/ns/doap#release");
        LilvNode* revisionProperty = lilv_new_uri(world, "http://usefulinc.com/ns/doap#revision");
        LilvNode* release = lilv_world_get(world, lilv_plugin_get_uri(plugin), releaseProperty, nullptr);
        LilvNode* revision = release ? lilv_world_get(world, release, revisionProperty, nullptr) : nullptr;
        std::cout << "lv2.release " << (revision ? lilv_node_as_string(revision) : "(none)") << "\n";
        lilv_node_free(revision);
        lilv_node_free(release);
        lilv_node_free(revisionProperty);
        lilv_node_free(releaseProperty);
        LilvNode* author = lilv_plugin_get_author_name(plugin);
        std::cout << "lv2.maintainer " << (author ? lilv_node_as_string(author) : "(none)") << "\n";
        lilv_node_free(author);
    }
    lilv_node_free(uri);
    lilv_node_free(bundle);
    lilv_world_free(world);
    return plugin != nullptr;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::cerr << "usage: tarnwick-version-probe VST3_BUNDLE VST2_MODULE LV2_BUNDLE\n";
        return 2;
    }
    bool ok = true;
    if (!probeVst3(argv[1]))
        ok = (std::cerr << "cannot load the VST 3 bundle " << argv[1] << "\n", false);
    if (!probeVst2(argv[2]))
        ok = (std::cerr << "cannot open the VST 2 module " << argv[2] << "\n", false);
    if (!probeLv2(argv[3]))
        ok = (std::cerr << "lilv finds no Tarnwick in " << argv[3] << "\n", false);
    return ok ? 0 : 1;
}
