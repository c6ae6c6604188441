// tarnwick-render-lv2: renders audio through the Tarnwick LV2 bundle, with the same command
// line and the same rendering as tarnwick-render (the VST 3 bundle).
#include "BundleLocation.h"
#include "CommandLine.h"
#include "DemoSignal.h"
#include "Lv2PortCatalog.h"
#include "Lv2Renderer.h"
#include "OutputNames.h"
#include "PresetChoice.h"
#include "RenderJob.h"
#include "SoundFile.h"

#include "lv2/TarnwickLv2Uris.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace Tarnwick::Render;

int fail (int status, const std::string& message)
{
    std::cerr << "tarnwick-render-lv2: error: " << message << "\n";
    return status;
}

std::string defaultBundlePath ()
{
    return bundleNextToProgram ("Tarnwick.lv2", "lv2", TARNWICK_BUILD_LV2_BUNDLE_DIR);
}

void listPorts (const Lv2PortCatalog& catalog)
{
    std::cout << "Controls:\n";
    for (const auto& port : catalog.ports ())
    {
        std::cout << "  " << port.name << " (" << port.symbol << "): " << port.minimum << " to " << port.maximum
                  << ", default " << port.defaultValue;
        for (const auto& point : port.scalePoints)
            std::cout << (&point == &port.scalePoints.front () ? "; " : ", ") << point.second << " = " << point.first;
        std::cout << "\n";
    }
    std::cout << "Presets:\n";
    const auto names = catalog.presetNames ();
    for (std::size_t i = 0; i < names.size (); ++i)
        std::cout << "  " << i << ": " << names[i] << "\n";
}

int run (const RenderOptions& options)
{
    const std::string bundle = options.bundlePath.empty () ? defaultBundlePath () : options.bundlePath;
    Tarnwick::Lv2Host::Lv2World world (bundle, TARNWICK_LV2_URI);
    if (!world.ok ())
        return fail (kExitFailure, world.error ());
    const Lv2PortCatalog catalog (world);
    if (options.listOnly)
    {
        listPorts (catalog);
        return kExitOk;
    }
    if (!options.editorSnapshotPath.empty ())
        return fail (kExitBadInput, "--editor-snapshot: use tarnwick-render");

    std::string error;
    int presetIndex = -1;
    const std::vector<std::string> presetNames = catalog.presetNames ();
    if (!options.preset.empty () && !resolvePresetChoice (presetNames, options.preset, presetIndex, error))
        return fail (kExitBadInput, error);
    Lv2RenderSettings settings;
    for (const ParameterSetting& setting : options.settings)
    {
        Lv2Setting resolved;
        if (!catalog.resolveSetting (setting, resolved, error))
            return fail (kExitBadInput, error);
        settings.settings.push_back (resolved);
    }
    settings.monoBus = options.monoBus;
    settings.run.maxTailSeconds = options.maxTailSeconds;

    AudioClip input;
    if (options.inputPath.empty ())
        input = DemoSignal::generate (options.demoRate);
    else if (!readSoundFile (options.inputPath, input, error))
        return fail (kExitFailure, error);
    if (options.monoBus && input.channelCount () != 1)
        return fail (kExitBadInput, "--mono needs a mono input");

    std::vector<std::pair<int, std::string>> targets;
    if (options.allPresets)
    {
        if (presetNames.empty ())
            return fail (kExitBadInput, "--all-presets: the plug-in has no presets");
        std::error_code status;
        std::filesystem::create_directories (options.outputDir, status);
        for (std::size_t i = 0; i < presetNames.size (); ++i)
            targets.emplace_back (static_cast<int> (i),
                                  joinPath (options.outputDir, presetFileName (static_cast<int> (i), presetNames[i])));
    }
    else
    {
        std::string path = options.outputPath;
        if (path.empty ())
            path = options.inputPath.empty ()
                       ? "tarnwick-demo.wav"
                       : (std::filesystem::path (options.inputPath).parent_path () /
                          (std::filesystem::path (options.inputPath).stem ().string () + "-tarnwick.wav"))
                             .string ();
        targets.emplace_back (presetIndex, path);
    }

    for (const auto& target : targets)
    {
        settings.presetUri =
            target.first >= 0 ? catalog.presets ()[static_cast<std::size_t> (target.first)].uri : std::string ();
        AudioClip output;
        RenderReport report;
        if (!renderThroughLv2 (world, input, settings, output, report, error))
            return fail (kExitFailure, error);
        if (!writeSoundFile (target.second, output, options.sampleFormat, error))
            return fail (kExitFailure, error);
        if (!options.quiet)
            std::cout << "wrote " << target.second << "\n";
    }
    return kExitOk;
}

} // namespace

int main (int argc, char** argv)
{
    try
    {
        const CommandLineResult parsed = parseCommandLine (std::vector<std::string> (argv + 1, argv + argc));
        if (!parsed.ok)
            return fail (kExitBadInput, parsed.error);
        if (parsed.options.showHelp)
        {
            std::cout << usageText ("tarnwick-render-lv2") << "\nThis program renders through the LV2 bundle "
                      << "(--bundle names a Tarnwick.lv2 folder).\n";
            return kExitOk;
        }
        if (parsed.options.showVersion)
        {
            std::cout << versionText ("tarnwick-render-lv2");
            return kExitOk;
        }
        return run (parsed.options);
    }
    catch (const std::exception& failure)
    {
        return fail (kExitFailure, failure.what ());
    }
}
