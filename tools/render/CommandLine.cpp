#include "CommandLine.h"

#include "TarnwickVersion.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace Tarnwick {
namespace Render {

namespace {

constexpr int kMinRate = 8000;
constexpr int kMaxRate = 384000;
constexpr double kMaxTailCap = 600.0;
constexpr double kMinTempo = 10.0;
constexpr double kMaxTempo = 999.0;
constexpr double kMinEditorScale = 1.0;
constexpr double kMaxEditorScale = 4.0;

std::string trimmed (const std::string& text)
{
    const auto first = text.find_first_not_of (" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of (" \t");
    return text.substr (first, last - first + 1);
}

// Options that take a value accept "--name value" and "--name=value".
bool takesValue (const std::string& name)
{
    static const char* const names[] = {"--bundle", "--preset", "--set",    "--out-dir", "--output", "-o",
                                        "--input",  "-i",       "--rate",   "--max-tail", "--format", "--tempo",
                                        "--editor-snapshot", "--scale"};
    for (const char* candidate : names)
        if (name == candidate)
            return true;
    return false;
}

} // namespace

bool parseNumber (const std::string& text, double& value)
{
    const std::string clean = trimmed (text);
    if (clean.empty ())
        return false;
    errno = 0;
    char* end = nullptr;
    const double parsed = std::strtod (clean.c_str (), &end);
    if (end == clean.c_str () || *end != '\0' || errno == ERANGE || !std::isfinite (parsed))
        return false;
    value = parsed;
    return true;
}

bool parseSetting (const std::string& text, ParameterSetting& setting)
{
    const auto equals = text.find ('=');
    if (equals == std::string::npos)
        return false;
    setting.title = trimmed (text.substr (0, equals));
    setting.value = trimmed (text.substr (equals + 1));
    return !setting.title.empty () && !setting.value.empty ();
}

CommandLineResult parseCommandLine (const std::vector<std::string>& arguments)
{
    CommandLineResult result;
    RenderOptions& options = result.options;
    auto fail = [&result] (const std::string& message) {
        result.ok = false;
        result.error = message;
        return result;
    };

    bool outputDirGiven = false;
    bool scaleGiven = false;
    for (std::size_t i = 0; i < arguments.size (); ++i)
    {
        std::string name = arguments[i];
        std::string value;
        bool hasValue = false;

        if (name.size () > 2 && name.compare (0, 2, "--") == 0)
        {
            const auto equals = name.find ('=');
            if (equals != std::string::npos)
            {
                value = name.substr (equals + 1);
                name = name.substr (0, equals);
                hasValue = true;
                if (!takesValue (name))
                    return fail ("option " + name + " takes no value");
            }
        }
        if (takesValue (name) && !hasValue)
        {
            if (i + 1 >= arguments.size ())
                return fail ("option " + name + " needs a value");
            value = arguments[++i];
        }

        if (name == "-h" || name == "--help")
            options.showHelp = true;
        else if (name == "--version")
            options.showVersion = true;
        else if (name == "--list")
            options.listOnly = true;
        else if (name == "--all-presets")
            options.allPresets = true;
        else if (name == "--mono")
            options.monoBus = true;
        else if (name == "-q" || name == "--quiet")
            options.quiet = true;
        else if (name == "--bundle")
        {
            if (value.empty ())
                return fail ("--bundle needs a folder");
            options.bundlePath = value;
        }
        else if (name == "--preset")
        {
            options.preset = trimmed (value);
            if (options.preset.empty ())
                return fail ("--preset needs a name or an index");
        }
        else if (name == "--set")
        {
            ParameterSetting setting;
            if (!parseSetting (value, setting))
                return fail ("--set expects TITLE=VALUE, for example --set \"Delay=350\" (got '" + value + "')");
            options.settings.push_back (setting);
        }
        else if (name == "--editor-snapshot")
        {
            if (value.empty ())
                return fail ("--editor-snapshot needs a file name");
            options.editorSnapshotPath = value;
        }
        else if (name == "--scale")
        {
            double scale = 0.0;
            if (!parseNumber (value, scale) || scale < kMinEditorScale || scale > kMaxEditorScale)
                return fail ("--scale must be a number from 1 to 4 (got '" + value + "')");
            options.editorSnapshotScale = scale;
            scaleGiven = true;
        }
        else if (name == "--out-dir")
        {
            if (value.empty ())
                return fail ("--out-dir needs a folder");
            options.outputDir = value;
            outputDirGiven = true;
        }
        else if (name == "-o" || name == "--output")
        {
            if (value.empty ())
                return fail (name + " needs a file name");
            options.outputPath = value;
        }
        else if (name == "-i" || name == "--input")
        {
            if (value.empty ())
                return fail (name + " needs a file name");
            if (!options.inputPath.empty ())
                return fail ("only one input file can be rendered at a time");
            options.inputPath = value;
        }
        else if (name == "--rate")
        {
            double rate = 0.0;
            if (!parseNumber (value, rate) || rate != std::floor (rate) || rate < kMinRate || rate > kMaxRate)
                return fail ("--rate must be a whole number of Hz from " + std::to_string (kMinRate) + " to " +
                             std::to_string (kMaxRate) + " (got '" + value + "')");
            options.demoRate = static_cast<int> (rate);
            options.demoRateGiven = true;
        }
        else if (name == "--tempo")
        {
            double bpm = 0.0;
            if (!parseNumber (value, bpm) || bpm < kMinTempo || bpm > kMaxTempo)
                return fail ("--tempo must be a number of beats per minute from 10 to 999 (got '" + value + "')");
            options.tempoBpm = bpm;
        }
        else if (name == "--max-tail")
        {
            double seconds = 0.0;
            if (!parseNumber (value, seconds) || seconds < 0.0 || seconds > kMaxTailCap)
                return fail ("--max-tail must be a number of seconds from 0 to 600 (got '" + value + "')");
            options.maxTailSeconds = seconds;
        }
        else if (name == "--format")
        {
            if (!parseSampleFormat (value, options.sampleFormat))
                return fail ("--format must be float, 16 or 24 (got '" + value + "')");
        }
        else if (!name.empty () && name[0] == '-' && name != "-")
            return fail ("unknown option '" + name + "' (see --help)");
        else
        {
            if (!options.inputPath.empty ())
                return fail ("only one input file can be rendered at a time (got '" + options.inputPath + "' and '" +
                             name + "')");
            if (name.empty ())
                return fail ("the input file name is empty");
            options.inputPath = name;
        }
    }

    if (options.showHelp || options.showVersion)
    {
        result.ok = true;
        return result;
    }
    if (!options.editorSnapshotPath.empty () &&
        (options.allPresets || options.listOnly || !options.inputPath.empty () || !options.outputPath.empty ()))
        return fail ("--editor-snapshot draws the editor only; it cannot be used with an input, -o, --list or --all-presets");
    if (scaleGiven && options.editorSnapshotPath.empty ())
        return fail ("--scale sets the size of --editor-snapshot; it is used with it only");
    if (options.allPresets)
    {
        if (!outputDirGiven)
            return fail ("--all-presets needs --out-dir DIR");
        if (!options.outputPath.empty ())
            return fail ("--all-presets writes one file per preset into --out-dir; -o cannot be used with it");
        if (!options.preset.empty ())
            return fail ("--all-presets and --preset cannot be used together");
    }
    else if (outputDirGiven)
        return fail ("--out-dir is used with --all-presets only (use -o FILE for a single render)");
    if (options.demoRateGiven && !options.inputPath.empty ())
        return fail ("--rate sets the demo's sample rate; an input file is rendered at its own rate");

    result.ok = true;
    return result;
}

std::string usageText (const std::string& programName)
{
    return "Usage: " + programName + " [options] [INPUT]\n"
        "\n"
        "Renders audio through the Tarnwick VST 3 plug-in, loaded from its bundle as a host does.\n"
        "INPUT is a mono or stereo WAV, FLAC or Ogg file at any sample rate; without one, a built-in\n"
        "demo (plucks, drums and a speech-like burst) is rendered. Echoes are left to ring out.\n"
        "\n"
        "Options:\n"
        "  -i, --input FILE       the input file (same as giving INPUT)\n"
        "  -o, --output FILE      the output file (.wav, .flac, .ogg); default: INPUT-tarnwick.wav,\n"
        "                         or tarnwick-demo.wav for the demo\n"
        "  --bundle DIR           the Tarnwick.vst3 bundle (default: the one next to this program's build,\n"
        "                         else the installed one)\n"
        "  --preset NAME|INDEX    select a factory preset by name or program number\n"
        "  --set \"TITLE=VALUE\"    set a parameter by title to a plain value, e.g. \"Delay=350\",\n"
        "                         \"Delay State=Delay\"; repeatable, applied after --preset\n"
        "  --all-presets          render once per factory preset, into --out-dir\n"
        "  --out-dir DIR          folder for --all-presets (created if missing)\n"
        "  --rate HZ              sample rate of the demo (default 48000)\n"
        "  --tempo BPM            the song's tempo the host reports (default 120), for \"Sync\"\n"
        "  --mono                 render a mono input on a mono bus (default: both sides of a stereo bus)\n"
        "  --max-tail SECONDS     longest tail after the input ends (default 30; 0 for none)\n"
        "  --format float|16|24   output sample format (default float; FLAC uses 24 unless 16)\n"
        "  --editor-snapshot FILE draw the editor, as --preset and --set leave it, into a PNG file\n"
        "                         instead of rendering audio\n"
        "  --scale F              draw --editor-snapshot at F times its size, 1 to 4 (default 1;\n"
        "                         2 for a HiDPI screen at 200 %)\n"
        "  --list                 list the plug-in's parameters and presets, then exit\n"
        "  -q, --quiet            no progress bar, no summary\n"
        "  --version              print the version, then exit\n"
        "  -h, --help             this text\n"
        "\n"
        "Exit status: 0 on success, 1 when rendering failed, 2 for bad command-line input.\n";
}

std::string versionText (const std::string& programName)
{
    return programName + " " TARNWICK_VERSION "\n";
}

} // namespace Render
} // namespace Tarnwick
