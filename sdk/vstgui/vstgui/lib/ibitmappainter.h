// A bitmap whose pixels are drawn on demand instead of decoded from a file: a column of
// equal tiles (the frames of a knob strip), each painted at the resolution a context asks
// for. Drawing one frame at scale 2 costs a few hundred kilobytes, not the whole strip.
#pragma once

#include "cpoint.h"
#include <string>

typedef struct _cairo cairo_t;

namespace VSTGUI {

class IBitmapPainter
{
public:
	virtual ~IBitmapPainter () = default;
	// Size of the whole image and of one tile, in units; tiles stack from the top.
	virtual CPoint getSize () const = 0;
	virtual CPoint getTileSize () const = 0;
	// Paints tile index with its top-left corner at the origin of cr (user space in units).
	virtual void paintTile (cairo_t* cr, int32_t index) const = 0;
	// Painters of the same identity paint the same pixels: their tiles are shared.
	virtual std::string getIdentity () const = 0;
};

} // namespace VSTGUI
