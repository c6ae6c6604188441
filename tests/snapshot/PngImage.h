// A PNG file read into premultiplied ARGB32 pixels, as the editor draws them.
#pragma once

#include "vstgui/lib/cframe.h"

#include <string>

namespace SnapshotTest {

// False when the file is missing or no PNG.
bool readPng (const std::string& path, VSTGUI::COffscreenImage& image);

struct Area
{
	int left, top, width, height;
};

// Number of pixels that differ between a and b inside the area (both the same size).
int differingPixels (const VSTGUI::COffscreenImage& a, const VSTGUI::COffscreenImage& b, const Area& area);

} // namespace SnapshotTest
