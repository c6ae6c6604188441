#include "OutputNames.h"

#include <cctype>
#include <cstdio>

namespace Tarnwick {
namespace Render {

std::string presetFileName (int index, const std::string& presetName, const std::string& extension)
{
    char number[16];
    std::snprintf (number, sizeof (number), "%02d", index);

    std::string cleaned;
    bool pendingDash = false;
    for (unsigned char c : presetName)
    {
        if (std::isalnum (c) && c < 0x80)
        {
            if (pendingDash && !cleaned.empty ())
                cleaned += '-';
            pendingDash = false;
            cleaned += static_cast<char> (c);
        }
        else
            pendingDash = true;
    }

    std::string name = number;
    if (!cleaned.empty ())
        name += "-" + cleaned;
    return name + "." + extension;
}

std::string joinPath (const std::string& folder, const std::string& name)
{
    if (folder.empty ())
        return name;
    if (folder.back () == '/')
        return folder + name;
    return folder + "/" + name;
}

} // namespace Render
} // namespace Tarnwick
