#include "PresetChoice.h"

#include "CommandLine.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace Tarnwick {
namespace Render {

std::string joined (const std::vector<std::string>& texts)
{
    std::string all;
    for (const auto& text : texts)
        all += (all.empty () ? "" : ", ") + text;
    return all;
}

bool equalIgnoringCase (const std::string& a, const std::string& b)
{
    return a.size () == b.size () &&
           std::equal (a.begin (), a.end (), b.begin (), [] (unsigned char x, unsigned char y) {
               return std::tolower (x) == std::tolower (y);
           });
}

bool resolvePresetChoice (const std::vector<std::string>& presets, const std::string& text, int& index,
                          std::string& error)
{
    if (presets.empty ())
    {
        error = "the plug-in has no presets";
        return false;
    }
    for (std::size_t i = 0; i < presets.size (); ++i)
        if (presets[i] == text)
        {
            index = static_cast<int> (i);
            return true;
        }
    for (std::size_t i = 0; i < presets.size (); ++i)
        if (equalIgnoringCase (presets[i], text))
        {
            index = static_cast<int> (i);
            return true;
        }

    double number = 0.0;
    if (parseNumber (text, number))
    {
        if (number != std::floor (number) || number < 0.0 || number >= static_cast<double> (presets.size ()))
        {
            error = "preset index " + text + " is out of range (0 to " + std::to_string (presets.size () - 1) + ")";
            return false;
        }
        index = static_cast<int> (number);
        return true;
    }
    error = "unknown preset '" + text + "'; the presets are: " + joined (presets);
    return false;
}

} // namespace Render
} // namespace Tarnwick
