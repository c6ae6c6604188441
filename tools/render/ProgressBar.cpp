#include "ProgressBar.h"

#include <unistd.h>

#include <algorithm>

namespace Tarnwick {
namespace Render {

namespace {
constexpr int kBarWidth = 40;
}

ProgressBar::ProgressBar (std::FILE* stream, bool enabled, std::string label)
: stream (stream), enabled (enabled && stream != nullptr), label (std::move (label))
{
}

ProgressBar::~ProgressBar ()
{
    finish ();
}

bool ProgressBar::isTerminal (std::FILE* stream)
{
    return stream != nullptr && isatty (fileno (stream)) == 1;
}

void ProgressBar::update (std::size_t done, std::size_t total)
{
    if (!enabled)
        return;
    const int percent = total == 0 ? 100 : static_cast<int> (std::min<std::size_t> (100, done * 100 / total));
    if (percent == lastPercent)
        return;
    lastPercent = percent;
    const int filled = percent * kBarWidth / 100;
    std::string bar (static_cast<std::size_t> (filled), '#');
    bar.append (static_cast<std::size_t> (kBarWidth - filled), '.');
    std::fprintf (stream, "\r%s [%s] %3d%%", label.c_str (), bar.c_str (), percent);
    std::fflush (stream);
    drawn = true;
}

void ProgressBar::finish ()
{
    if (enabled && drawn)
    {
        std::fputc ('\n', stream);
        std::fflush (stream);
    }
    drawn = false;
    lastPercent = -1;
}

} // namespace Render
} // namespace Tarnwick
