// Paints the editor's 485 x 270 face: the name plate, the knob panel, the scale
// marks around each knob and the label under every control.
#pragma once

namespace Tarnwick {
namespace Artwork {

class Canvas;
class Fonts;

class BackgroundPainter
{
public:
	explicit BackgroundPainter (const Fonts& fonts) : fonts (fonts) {}

	bool paint (Canvas& image) const;

private:
	void paintBase (Canvas& image) const;
	void paintPanel (Canvas& image) const;
	void paintNamePlate (Canvas& image) const;
	void paintControlMarks (Canvas& image) const;

	const Fonts& fonts;
};

} // namespace Artwork
} // namespace Tarnwick
