// The DejaVu faces the artwork prints with, loaded from their files (not through
// fontconfig) so that every machine draws the same glyphs.
#pragma once

#include "TrackedText.h"

#include <cairo.h>
#include <string>

namespace Tarnwick {
namespace Artwork {

class Fonts
{
public:
	explicit Fonts (const std::string& fontDirectory);
	~Fonts ();
	Fonts (const Fonts&) = delete;
	Fonts& operator= (const Fonts&) = delete;

	bool ok () const { return regular && bold && condensedBold; }

	cairo_font_face_t* regularFace () const { return regular; }
	cairo_font_face_t* boldFace () const { return bold; }
	cairo_font_face_t* condensedBoldFace () const { return condensedBold; }

	// Selects a face at a pixel size with fixed rendering options (no hinting).
	static void use (cairo_t* cr, cairo_font_face_t* face, double size);

private:
	cairo_font_face_t* load (const std::string& path);

	void* library = nullptr; // FT_Library
	cairo_font_face_t* regular = nullptr;
	cairo_font_face_t* bold = nullptr;
	cairo_font_face_t* condensedBold = nullptr;
};

} // namespace Artwork
} // namespace Tarnwick
