// One run of the renderer: loads the bundle, checks the user's choices against the plug-in,
// reads the input (or makes the demo), renders and writes the files. Never throws; every
// failure becomes a message and an exit status.
#pragma once

#include "CommandLine.h"

#include <ostream>
#include <string>
#include <vector>

namespace Tarnwick {
namespace Render {

struct AudioClip;
struct RenderReport;

enum ExitStatus
{
    kExitOk = 0,
    kExitFailure = 1, // files, bundle or plug-in
    kExitBadInput = 2 // the command line: options, preset or parameter names, values
};

class RenderJob
{
public:
    RenderJob (RenderOptions options, std::string defaultBundlePath, std::ostream& out, std::ostream& err);

    int run ();

private:
    // One file to write: the preset it is rendered with (-1: none) and its name for messages.
    struct Target
    {
        int presetIndex;
        std::string path;
        std::string label;
    };

    int fail (int status, const std::string& message);
    bool planTargets (int chosenPreset, const std::vector<std::string>& presetNames, std::vector<Target>& targets,
                      std::string& error) const;
    void reportWritten (const Target& target, const AudioClip& output, const RenderReport& report);
    std::string bundlePath () const;
    std::string defaultOutputPath () const;

    RenderOptions options;
    std::string defaultBundlePath;
    std::ostream& out;
    std::ostream& err;
};

} // namespace Render
} // namespace Tarnwick
