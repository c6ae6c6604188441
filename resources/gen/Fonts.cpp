#include "Fonts.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace Tarnwick {
namespace Artwork {

static const cairo_user_data_key_t kFaceKey = {0};

static void releaseFtFace (void* face)
{
	FT_Done_Face (static_cast<FT_Face> (face));
}

Fonts::Fonts (const std::string& fontDirectory)
{
	FT_Library lib = nullptr;
	if (FT_Init_FreeType (&lib) != 0)
		return;
	library = lib;
	regular = load (fontDirectory + "/DejaVuSans.ttf");
	bold = load (fontDirectory + "/DejaVuSans-Bold.ttf");
	condensedBold = load (fontDirectory + "/DejaVuSansCondensed-Bold.ttf");
}

Fonts::~Fonts ()
{
	// The cairo faces own their FreeType faces; they must go before the library.
	if (regular)
		cairo_font_face_destroy (regular);
	if (bold)
		cairo_font_face_destroy (bold);
	if (condensedBold)
		cairo_font_face_destroy (condensedBold);
	if (library)
		FT_Done_FreeType (static_cast<FT_Library> (library));
}

cairo_font_face_t* Fonts::load (const std::string& path)
{
	FT_Face face = nullptr;
	if (FT_New_Face (static_cast<FT_Library> (library), path.c_str (), 0, &face) != 0)
		return nullptr;
	cairo_font_face_t* cairoFace = cairo_ft_font_face_create_for_ft_face (face, 0);
	if (cairo_font_face_set_user_data (cairoFace, &kFaceKey, face, releaseFtFace) != CAIRO_STATUS_SUCCESS)
	{
		cairo_font_face_destroy (cairoFace);
		FT_Done_Face (face);
		return nullptr;
	}
	return cairoFace;
}

void Fonts::use (cairo_t* cr, cairo_font_face_t* face, double size)
{
	cairo_set_font_face (cr, face);
    useTextOptions(cr, size);
}

} // namespace Artwork
} // namespace Tarnwick
