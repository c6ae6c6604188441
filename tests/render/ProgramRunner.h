// Runs the renderer as a separate process and collects what it says and how it ended.
#pragma once

#include <string>
#include <vector>

namespace Tarnwick {
namespace RenderTest {

struct ProgramResult
{
    bool exited = false;  // ended through exit (not killed by a signal)
    int exitStatus = -1;  // when exited
    int signal = 0;       // when killed
    std::string out;
    std::string err;

    // "exit 2" or "signal 11", for failure messages.
    std::string describe () const;
};

ProgramResult runProgram (const std::vector<std::string>& arguments);

// The renderer, pointed at the bundle of this build.
ProgramResult runRenderer (std::vector<std::string> arguments);

// A fresh folder for one test's files.
std::string makeScratchFolder (const std::string& name);

} // namespace RenderTest
} // namespace Tarnwick
