#include "RenderJob.h"

#include "DemoSignal.h"
#include "OutputNames.h"
#include "ParameterCatalog.h"
#include "ParameterListing.h"
#include "PluginRenderer.h"
#include "ProgressBar.h"
#include "SoundFile.h"

#include "hostkit/PluginModule.h"
#ifdef TARNWICK_RENDER_EDITOR_SNAPSHOT
#include "EditorSnapshotFile.h"
#endif

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace Tarnwick {
namespace Render {

namespace {

constexpr double kProgressFromSeconds = 20.0; // shorter renders finish before a bar is worth drawing

std::string levelText (float peak)
{
    if (peak <= 0.f)
        return "silent";
    char text[32];
    std::snprintf (text, sizeof (text), "%+.1f dBFS", 20.0 * std::log10 (static_cast<double> (peak)));
    return text;
}

std::string secondsText (double seconds)
{
    char text[32];
    std::snprintf (text, sizeof (text), "%.2f s", seconds);
    return text;
}

} // namespace

RenderJob::RenderJob (RenderOptions options, std::string defaultBundlePath, std::ostream& out, std::ostream& err)
: options (std::move (options)), defaultBundlePath (std::move (defaultBundlePath)), out (out), err (err)
{
}

int RenderJob::fail (int status, const std::string& message)
{
    err << "tarnwick-render: error: " << message << "\n";
    return status;
}

std::string RenderJob::bundlePath () const
{
    return options.bundlePath.empty () ? defaultBundlePath : options.bundlePath;
}

std::string RenderJob::defaultOutputPath () const
{
    if (options.inputPath.empty ())
        return "tarnwick-demo.wav";
    std::filesystem::path input (options.inputPath);
    return (input.parent_path () / (input.stem ().string () + "-tarnwick.wav")).string ();
}

bool RenderJob::planTargets (int chosenPreset, const std::vector<std::string>& presetNames,
                             std::vector<Target>& targets, std::string& error) const
{
    if (!options.allPresets)
    {
        targets.push_back ({chosenPreset, options.outputPath.empty () ? defaultOutputPath () : options.outputPath,
                            chosenPreset >= 0 ? presetNames[static_cast<std::size_t> (chosenPreset)]
                                              : std::string ("rendering")});
        return true;
    }

    std::error_code status;
    if (!std::filesystem::is_directory (options.outputDir, status))
    {
        std::filesystem::create_directories (options.outputDir, status);
        if (status)
        {
            error = "cannot create the folder '" + options.outputDir + "': " + status.message ();
            return false;
        }
    }
    for (std::size_t i = 0; i < presetNames.size (); ++i)
    {
        const int index = static_cast<int> (i);
        targets.push_back ({index, joinPath (options.outputDir, presetFileName (index, presetNames[i])), presetNames[i]});
    }
    return true;
}

void RenderJob::reportWritten (const Target& target, const AudioClip& output, const RenderReport& report)
{
    if (options.quiet)
        return;
    const float peak = peakLevel (output);
    out << "wrote " << target.path << ": " << secondsText (static_cast<double> (output.frameCount ()) / output.sampleRate)
        << " at " << output.sampleRate << " Hz, tail " << secondsText (report.tailSeconds) << ", peak "
        << levelText (peak) << "\n";
    if (report.tailCapped)
        err << "tarnwick-render: note: the echoes of '" << target.label << "' were still sounding after "
            << options.maxTailSeconds << " s and were faded out (see --max-tail)\n";
    if (peak > 1.f && options.sampleFormat != SampleFormat::kFloat32)
        err << "tarnwick-render: note: '" << target.path << "' clipped (peak " << levelText (peak) << ")\n";
}

int RenderJob::run ()
{
    // The bundle: a folder holding the module, loaded as a DAW loads it.
    const std::string bundle = bundlePath ();
    std::error_code status;
    if (bundle.empty () || !std::filesystem::is_directory (bundle, status))
        return fail (kExitFailure, "no plug-in bundle at '" + bundle + "' (build it, or give --bundle DIR)");

    HostKit::PluginModule module;
    if (!module.load (bundle))
        return fail (kExitFailure, "cannot load the plug-in bundle '" + bundle + "': " + module.error ());
    Steinberg::PClassInfo2 classInfo {};
    if (!module.findAudioEffectClass (classInfo))
        return fail (kExitFailure, "the bundle '" + bundle + "' offers no audio effect");

    // What the plug-in offers, read from one instance; renders use fresh ones.
    RenderSettings settings;
    {
        HostKit::PluginInstance probe (module);
        if (!probe.create ())
            return fail (kExitFailure, "cannot create the plug-in from '" + bundle + "': " + probe.error ());
        ParameterCatalog catalog (probe);

        if (options.listOnly)
        {
            writeParameterListing (out, module, classInfo, probe, catalog);
            return kExitOk;
        }

        std::string error;
        if (!options.preset.empty () && !catalog.resolvePreset (options.preset, settings.presetIndex, error))
            return fail (kExitBadInput, error);
        for (const ParameterSetting& setting : options.settings)
        {
            ResolvedSetting resolved;
            if (!catalog.resolveSetting (setting, resolved, error))
                return fail (kExitBadInput, error);
            settings.settings.push_back (resolved);
        }
        if (!options.editorSnapshotPath.empty ())
        {
#ifdef TARNWICK_RENDER_EDITOR_SNAPSHOT
            std::vector<Snapshot::ParameterValue> values;
            for (const ResolvedSetting& setting : settings.settings)
                values.push_back ({setting.id, setting.normalized});
            if (!Snapshot::writeEditorSnapshot (bundle, settings.presetIndex, values, options.editorSnapshotPath,
                                                options.editorSnapshotScale, error))
                return fail (kExitFailure, error);
            return kExitOk;
#else
            return fail (kExitFailure, "this build of the renderer cannot draw the editor");
#endif
        }
        if (options.allPresets && catalog.presetNames ().empty ())
            return fail (kExitBadInput, "--all-presets: the plug-in has no presets");

        settings.maxTailSeconds = options.maxTailSeconds;
        settings.tempoBpm = options.tempoBpm;
        settings.monoBus = options.monoBus;

        // The input: a file, or the demo.
        AudioClip input;
        if (options.inputPath.empty ())
            input = DemoSignal::generate (options.demoRate);
        else if (!readSoundFile (options.inputPath, input, error))
            return fail (kExitFailure, error);
        if (options.monoBus && input.channelCount () != 1)
            return fail (kExitBadInput, "--mono needs a mono input; '" + options.inputPath + "' is stereo");

        settings.showProgress = !options.quiet && ProgressBar::isTerminal (stderr) &&
                                static_cast<double> (input.frameCount ()) >= kProgressFromSeconds * input.sampleRate;

        std::vector<Target> targets;
        if (!planTargets (settings.presetIndex, catalog.presetNames (), targets, error))
            return fail (kExitFailure, error);

        PluginRenderer renderer (module);
        for (const Target& target : targets)
        {
            settings.presetIndex = target.presetIndex;
            settings.progressLabel = target.label;
            AudioClip output;
            if (!renderer.render (input, settings, output, error))
                return fail (kExitFailure, error);
            if (!writeSoundFile (target.path, output, options.sampleFormat, error))
                return fail (kExitFailure, error);
            reportWritten (target, output, renderer.report ());
        }
    }
    return kExitOk;
}

} // namespace Render
} // namespace Tarnwick
