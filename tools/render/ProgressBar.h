// A one-line progress bar on a terminal; silent when switched off (not a terminal, short job).
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace Tarnwick {
namespace Render {

class ProgressBar
{
public:
    ProgressBar (std::FILE* stream, bool enabled, std::string label);
    ~ProgressBar ();

    void update (std::size_t done, std::size_t total);
    void finish ();

    // True when the stream is an interactive terminal.
    static bool isTerminal (std::FILE* stream);

private:
    std::FILE* stream;
    bool enabled;
    bool drawn = false;
    int lastPercent = -1;
    std::string label;
};

} // namespace Render
} // namespace Tarnwick
