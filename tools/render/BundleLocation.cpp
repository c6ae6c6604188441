#include "BundleLocation.h"

#include <unistd.h>

#include <filesystem>

namespace Tarnwick {
namespace Render {

std::string bundleNextToProgram (const std::string& bundleName, const std::string& builtAt)
{
    char exe[4096];
    const ssize_t length = readlink ("/proc/self/exe", exe, sizeof (exe) - 1);
    if (length > 0)
    {
        exe[length] = 0;
        std::error_code status;
        const std::filesystem::path nextToBuild =
            std::filesystem::path (exe).parent_path ().parent_path () / bundleName;
        if (std::filesystem::is_directory (nextToBuild, status))
            return nextToBuild.string ();
    }
    return builtAt;
}

} // namespace Render
} // namespace Tarnwick
