// Draws a two-state switch as a segmented selector: both choices printed, the
// chosen one raised and lit. The image holds the two states stacked vertically.
#pragma once

namespace Tarnwick {
namespace Artwork {

class Canvas;
class Fonts;
struct SwitchArt;

class SwitchPainter
{
public:
	explicit SwitchPainter (const Fonts& fonts) : fonts (fonts) {}

	bool paint (Canvas& image, const SwitchArt& art) const;

	// Where the selector sits inside one state's half of the image.
	static void slotRect (const SwitchArt& art, double& x, double& y, double& w, double& h);

private:
	void paintState (Canvas& image, const SwitchArt& art, double top, int selected) const;

	const Fonts& fonts;
};

} // namespace Artwork
} // namespace Tarnwick
