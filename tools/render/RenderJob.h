// One run of the renderer: loads the bundle, checks the user's choices against the plug-in,
// reads the input (or makes the demo), renders and writes the files. Never throws; every
// failure becomes a message and an exit status.
#pragma once

#include "CommandLine.h"

#include <ostream>
#include <string>

namespace Tarnwick {
namespace Render {

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
    int fail (int status, const std::string& message);
    std::string bundlePath () const;
    std::string defaultOutputPath () const;

    RenderOptions options;
    std::string defaultBundlePath;
    std::ostream& out;
    std::ostream& err;
};

} // namespace Render
} // namespace Tarnwick
