#include "BundleLocation.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace Tarnwick {
namespace Render {

std::string bundleNextToProgram(const std::string& bundleName, const std::string& pluginFolder,
                                const std::string& builtAt)
{
    namespace fs = std::filesystem;
    std::error_code status;
    char exe[4096];
    const ssize_t length = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
    if (length > 0)
    {
        exe[length] = 0;
        const fs::path above = fs::path(exe).parent_path().parent_path();
        for (const fs::path& candidate : {above / bundleName, above / "lib" / pluginFolder / bundleName})
            if (fs::is_directory(candidate, status))
                return candidate.string();
    }
    if (const char* home = std::getenv("HOME"); home && *home)
    {
        const fs::path user = fs::path(home) / ("." + pluginFolder) / bundleName;
        if (fs::is_directory(user, status))
            return user.string();
    }
    return builtAt;
}

}  // namespace Render
}  // namespace Tarnwick
