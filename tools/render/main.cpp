// tarnwick-render: renders audio through the Tarnwick VST 3 bundle from the command line.
#include "BundleLocation.h"
#include "CommandLine.h"
#include "RenderJob.h"

#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

namespace {

std::string defaultBundlePath ()
{
    return Tarnwick::Render::bundleNextToProgram ("Tarnwick.vst3", "vst3", TARNWICK_BUILD_BUNDLE_DIR);
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
        if (parsed.options.showVersion)
        {
            std::cout << versionText ("tarnwick-render");
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
