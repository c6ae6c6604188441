// The renderer's command line, parsed into plain options. Checks only what can be checked
// without the plug-in; names of presets and parameters are checked against the plug-in later.
#pragma once

#include "SoundFile.h"

#include <string>
#include <vector>

namespace Tarnwick {
namespace Render {

struct ParameterSetting
{
    std::string title; // as given, trimmed
    std::string value; // as given, trimmed: a number, or a list entry's text
};

struct RenderOptions
{
    bool showHelp = false;
    bool showVersion = false;
    bool listOnly = false;
    bool allPresets = false;
    bool monoBus = false;     // render a mono file on a mono bus instead of both sides of a stereo one
    bool quiet = false;       // no progress bar and no summary lines
    std::string inputPath;    // empty: the built-in demo
    std::string outputPath;   // empty: a name derived from the input
    std::string outputDir;    // with allPresets
    std::string bundlePath;   // empty: the bundle next to the build
    std::string preset;       // name or index; empty: the plug-in's default
    std::vector<ParameterSetting> settings;
    std::string editorSnapshotPath; // draw the editor into this PNG instead of rendering audio
    double editorSnapshotScale = 1.0; // pixels per unit of the editor's layout in that PNG
    int demoRate = 48000;
    bool demoRateGiven = false;
    double maxTailSeconds = 30.0;
    double tempoBpm = 120.0;
    SampleFormat sampleFormat = SampleFormat::kFloat32;
};

struct CommandLineResult
{
    bool ok = false;
    std::string error; // what was wrong, when not ok
    RenderOptions options;
};

CommandLineResult parseCommandLine (const std::vector<std::string>& arguments);

// The --help text.
std::string usageText (const std::string& programName);

// The --version line: the program's name and the product version.
std::string versionText (const std::string& programName);

// Strict number parsing: the whole text must be a finite number.
bool parseNumber (const std::string& text, double& value);

// Splits "Title=Value" at the first '='; false when either side is empty.
bool parseSetting (const std::string& text, ParameterSetting& setting);

} // namespace Render
} // namespace Tarnwick
