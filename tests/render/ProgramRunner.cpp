#include "ProgramRunner.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace Tarnwick {
namespace RenderTest {

namespace {

std::string readWhole (const std::string& path)
{
    std::ifstream file (path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf ();
    return text.str ();
}

} // namespace

std::string ProgramResult::describe () const
{
    return exited ? "exit " + std::to_string (exitStatus) : "signal " + std::to_string (signal);
}

std::string makeScratchFolder (const std::string& name)
{
    const std::filesystem::path folder =
        std::filesystem::path (::testing::TempDir ()) / ("tarnwick-render-" + std::to_string (getpid ()) + "-" + name);
    std::filesystem::remove_all (folder);
    std::filesystem::create_directories (folder);
    return folder.string ();
}

ProgramResult runProgram (const std::vector<std::string>& arguments)
{
    ProgramResult result;
    const std::string folder = makeScratchFolder ("streams");
    const std::string outPath = folder + "/stdout";
    const std::string errPath = folder + "/stderr";

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init (&actions);
    posix_spawn_file_actions_addopen (&actions, 1, outPath.c_str (), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen (&actions, 2, errPath.c_str (), O_WRONLY | O_CREAT | O_TRUNC, 0644);

    std::vector<char*> argv;
    for (const auto& argument : arguments)
        argv.push_back (const_cast<char*> (argument.c_str ()));
    argv.push_back (nullptr);

    pid_t child = 0;
    const int spawned = posix_spawn (&child, argv[0], &actions, nullptr, argv.data (), environ);
    posix_spawn_file_actions_destroy (&actions);
    if (spawned != 0)
    {
        result.err = "could not start " + arguments[0];
        return result;
    }
    int status = 0;
    waitpid (child, &status, 0);
    if (WIFEXITED (status))
    {
        result.exited = true;
        result.exitStatus = WEXITSTATUS (status);
    }
    else if (WIFSIGNALED (status))
        result.signal = WTERMSIG (status);
    result.out = readWhole (outPath);
    result.err = readWhole (errPath);
    std::filesystem::remove_all (folder);
    return result;
}

ProgramResult runRenderer (std::vector<std::string> arguments)
{
    arguments.insert (arguments.begin (), {TARNWICK_RENDER_PROGRAM, "--bundle", TARNWICK_TEST_BUNDLE_DIR});
    return runProgram (arguments);
}

} // namespace RenderTest
} // namespace Tarnwick
