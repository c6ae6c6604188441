// Where the product editor's twelve controls lie (485 x 270 layout), by parameter id.
#pragma once

#include "PngImage.h"

namespace SnapshotTest {

struct PlacedControl
{
	int parameter;
	Area area;
};

constexpr PlacedControl kPlacedControls[12] = {
    {8, {0, 0, 96, 48}},     {9, {405, 1, 80, 52}},   {2, {261, 68, 78, 78}}, {5, {143, 67, 80, 80}},
    {4, {10, 56, 87, 87}},   {3, {387, 70, 76, 76}},  {0, {10, 172, 87, 87}}, {1, {139, 173, 84, 84}},
    {6, {263, 174, 79, 79}}, {7, {386, 175, 78, 78}}, {10, {102, 0, 66, 48}}, {11, {333, 1, 66, 52}}};

inline bool insideAnyControl (int x, int y)
{
	for (const PlacedControl& c : kPlacedControls)
		if (x >= c.area.left && x < c.area.left + c.area.width && y >= c.area.top && y < c.area.top + c.area.height)
			return true;
	return false;
}

// Pixels that differ outside every control (the background).
inline int differingBackgroundPixels (const VSTGUI::COffscreenImage& a, const VSTGUI::COffscreenImage& b)
{
	int count = 0;
	for (int y = 0; y < a.height; ++y)
		for (int x = 0; x < a.width; ++x)
			if (!insideAnyControl (x, y) && a.pixelAt (x, y) != b.pixelAt (x, y))
				++count;
	return count;
}

// The bottom-right corner, clear of every control.
constexpr Area kBackgroundCorner = {466, 256, 19, 14};

} // namespace SnapshotTest
