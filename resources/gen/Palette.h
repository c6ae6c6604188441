// The colours of Tarnwick's face: warm charcoal panels, amber light, cream print.
#pragma once

namespace Tarnwick {
namespace Artwork {

struct Rgba
{
	double r, g, b, a;
};

constexpr Rgba rgb (int r, int g, int b, double a = 1.0)
{
	return {r / 255.0, g / 255.0, b / 255.0, a};
}

namespace Palette {
constexpr Rgba kBackTop = rgb (46, 39, 34);
constexpr Rgba kBackBottom = rgb (24, 20, 18);
constexpr Rgba kPanelTop = rgb (33, 28, 25);
constexpr Rgba kPanelBottom = rgb (21, 18, 16);
constexpr Rgba kEdgeLight = rgb (255, 236, 210, 0.08);
constexpr Rgba kEdgeDark = rgb (0, 0, 0, 0.55);
constexpr Rgba kAmber = rgb (244, 166, 66);
constexpr Rgba kAmberDeep = rgb (200, 110, 36);
constexpr Rgba kAmberGlow = rgb (255, 170, 70, 0.22);
constexpr Rgba kCream = rgb (236, 224, 204);
constexpr Rgba kLabel = rgb (214, 198, 176);
constexpr Rgba kMuted = rgb (150, 132, 112);
constexpr Rgba kTick = rgb (176, 156, 132, 0.55);
constexpr Rgba kTrack = rgb (8, 6, 5, 0.85);
constexpr Rgba kCapLight = rgb (92, 82, 74);
constexpr Rgba kCapDark = rgb (30, 26, 23);
constexpr Rgba kRimLight = rgb (150, 136, 120);
constexpr Rgba kRimDark = rgb (12, 10, 9);
constexpr Rgba kPointer = rgb (246, 236, 220);
} // namespace Palette

} // namespace Artwork
} // namespace Tarnwick
