// tarnwick-render: renders audio through the Tarnwick VST 3 bundle from the command line.
#include "CommandLine.h"
#include "RenderJob.h"

#include <unistd.h>

#include <exception>
#include <filesystem>
#include <iostream>
#include <new>
#include <string>
#include <vector>

namespace {

// The bundle built next to this program: <build>/tools/tarnwick-render -> <build>/Tarnwick.vst3;
// failing that, where the build put it.
std::string defaultBundlePath ()
{
    char exe[4096];
    const ssize_t length = readlink ("/proc/self/exe", exe, sizeof (exe) - 1);
    if (length > 0)
    {
        exe[length] = 0;
        std::error_code status;
        const std::filesystem::path nextToBuild =
            std::filesystem::path (exe).parent_path ().parent_path () / "Tarnwick.vst3";
        if (std::filesystem::is_directory (nextToBuild, status))
            return nextToBuild.string ();
    }
    return TARNWICK_BUILD_BUNDLE_DIR;
}

} // namespace

int main (int argc, char** argv)
{
    using namespace Tarnwick::Render;
    try
    {
        const std::vector<std::string> arguments (argv + 1, argv + argc);
        const CommandLineResult parsed = parseCommandLine (arguments);
        if (!parsed.ok)
        {
            std::cerr << "tarnwick-render: error: " << parsed.error << "\n";
            return kExitBadInput;
        }
        if (parsed.options.showHelp)
        {
            std::cout << usageText ("tarnwick-render");
            return kExitOk;
        }
        RenderJob job (parsed.options, defaultBundlePath (), std::cout, std::cerr);
        return job.run ();
    }
    catch (const std::bad_alloc&)
    {
        std::cerr << "tarnwick-render: error: out of memory\n";
    }
    catch (const std::exception& failure)
    {
        std::cerr << "tarnwick-render: error: " << failure.what () << "\n";
    }
    return kExitFailure;
}
