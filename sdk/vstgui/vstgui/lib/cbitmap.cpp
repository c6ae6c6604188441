#include "cbitmap.h"
#include "cdrawcontext.h"
#include <algorithm>
#include <cairo.h>
#include <cctype>
#include <dlfcn.h>
#include <cmath>
#include <map>
#include <sys/stat.h>

namespace VSTGUI {

namespace {

std::string& resourceBaseOverride ()
{
	static std::string path;
	return path;
}

bool fileExists (const std::string& path)
{
	struct stat st;
	return !path.empty () && stat (path.c_str (), &st) == 0 && S_ISREG (st.st_mode);
}

std::string parentDirectory (const std::string& path)
{
	auto pos = path.find_last_of ('/');
	if (pos == std::string::npos)
		return std::string ();
	return path.substr (0, pos);
}

// Contents/Resources of the bundle that holds this module
// (the module lives in Contents/<arch>-linux/).
std::string bundleResourcesOfThisModule ()
{
	Dl_info info {};
	if (dladdr (reinterpret_cast<void*> (&bundleResourcesOfThisModule), &info) == 0 || !info.dli_fname)
		return std::string ();
	std::string contents = parentDirectory (parentDirectory (info.dli_fname));
	if (contents.empty ())
		return std::string ();
	return contents + "/Resources";
}

std::string toLower (std::string s)
{
	std::transform (s.begin (), s.end (), s.begin (), [] (unsigned char c) { return std::tolower (c); });
	return s;
}

// Decoded images by file, shared by every bitmap of the process: a strip of 135 knob
// frames takes a tenth of a second to decode, and an editor opens many times.
// Entries are dropped when the file changes; the cache stops growing at its budget.
struct CachedImage
{
	cairo_surface_t* surface;
	off_t size;
	time_t mtime;
	long mtimeNanoseconds;
	ino_t inode;
};

class ImageCache
{
public:
	~ImageCache ()
	{
		for (auto& entry : images)
			cairo_surface_destroy (entry.second.surface);
	}
	// A new reference to the decoded image, or null when it cannot be read.
	cairo_surface_t* load (const std::string& path)
	{
		struct stat st;
		if (stat (path.c_str (), &st) != 0)
			return nullptr;
		auto it = images.find (path);
		if (it != images.end ())
		{
			if (it->second.size == st.st_size && it->second.mtime == st.st_mtime &&
			    it->second.mtimeNanoseconds == st.st_mtim.tv_nsec && it->second.inode == st.st_ino)
				return cairo_surface_reference (it->second.surface);
			bytes -= bytesOf (it->second.surface);
			cairo_surface_destroy (it->second.surface);
			images.erase (it);
		}
		cairo_surface_t* s = cairo_image_surface_create_from_png (path.c_str ());
		if (cairo_surface_status (s) != CAIRO_STATUS_SUCCESS)
		{
			cairo_surface_destroy (s);
			return nullptr;
		}
		size_t b = bytesOf (s);
		if (bytes + b <= kBudget)
		{
			images[path] = CachedImage {cairo_surface_reference (s), st.st_size, st.st_mtime, st.st_mtim.tv_nsec, st.st_ino};
			bytes += b;
		}
		return s;
	}

private:
	static size_t bytesOf (cairo_surface_t* s)
	{
		return static_cast<size_t> (cairo_image_surface_get_stride (s)) *
		       static_cast<size_t> (cairo_image_surface_get_height (s));
	}
	// Room for the product's artwork at 1x and 2x (about 150 MB decoded): reopening an
	// editor on a HiDPI screen would otherwise decode its 2x knob strips again, a second or more.
	static constexpr size_t kBudget = 160u * 1024u * 1024u;
	std::map<std::string, CachedImage> images;
	size_t bytes {0};
};

ImageCache& imageCache ()
{
	static ImageCache cache;
	return cache;
}

// The file of a representation: "knob.png" at 2 is "knob_2x.png".
std::string representationPath (const std::string& path, int scale)
{
	const std::string suffix = "_" + std::to_string (scale) + "x";
	const auto slash = path.find_last_of ('/');
	const auto dot = path.find_last_of ('.');
	if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
		return path + suffix;
	return path.substr (0, dot) + suffix + path.substr (dot);
}

// Representations looked for beside a loaded image.
constexpr int kRepresentationScales[] = {2, 3, 4};

} // namespace

void CBitmap::setResourceBasePath (const std::string& path)
{
	resourceBaseOverride () = path;
}

std::string CBitmap::getResourceBasePath ()
{
	if (!resourceBaseOverride ().empty ())
		return resourceBaseOverride ();
	return bundleResourcesOfThisModule ();
}

std::string CBitmap::resolveResourcePath (const std::string& name)
{
	if (name.empty ())
		return std::string ();
	if (name[0] == '/')
		return fileExists (name) ? name : std::string ();
	// Names are plain file names inside the Resources folder: no way out of it.
	if (name.find ("..") != std::string::npos)
		return std::string ();
	std::string base = getResourceBasePath ();
	if (base.empty ())
		return std::string ();
	std::vector<std::string> candidates {name, toLower (name)};
	if (toLower (name).size () < 4 || toLower (name).compare (toLower (name).size () - 4, 4, ".png") != 0)
	{
		candidates.push_back (name + ".png");
		candidates.push_back (toLower (name) + ".png");
	}
	for (const auto& c : candidates)
	{
		std::string full = base + "/" + c;
		if (fileExists (full))
			return full;
	}
	return std::string ();
}

CBitmap::CBitmap (const CResourceDescription& desc) : resourceDesc (desc)
{
	std::string name = desc.type == CResourceDescription::kStringType ? desc.name
	                   : desc.type == CResourceDescription::kIntegerType
	                       ? std::to_string (desc.id) + ".png"
	                       : std::string ();
	std::string path = resolveResourcePath (name);
	if (path.empty ())
		return;
	cairo_surface_t* s = imageCache ().load (path);
	if (!s)
		return;
	surface = s;
	width = cairo_image_surface_get_width (s);
	height = cairo_image_surface_get_height (s);
	loadedPath = path;
	representationsLoaded = false;
}

CBitmap::CBitmap (CCoord w, CCoord h)
{
	if (w <= 0 || h <= 0)
		return;
	cairo_surface_t* s = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, static_cast<int> (w), static_cast<int> (h));
	if (cairo_surface_status (s) != CAIRO_STATUS_SUCCESS)
	{
		cairo_surface_destroy (s);
		return;
	}
	surface = s;
	width = static_cast<int> (w);
	height = static_cast<int> (h);
}

CBitmap::~CBitmap ()
{
	for (auto& r : representations)
		cairo_surface_destroy (r.surface);
	if (surface)
		cairo_surface_destroy (surface);
}

bool CBitmap::addRepresentation (double scale, cairo_surface_t* s)
{
	if (!surface || !s || !(scale > 1.) || cairo_surface_get_type (s) != CAIRO_SURFACE_TYPE_IMAGE)
		return false;
	// A representation of another size would misplace every frame of a strip.
	if (cairo_image_surface_get_width (s) != static_cast<int> (std::lround (width * scale)) ||
	    cairo_image_surface_get_height (s) != static_cast<int> (std::lround (height * scale)))
		return false;
	auto pos = std::find_if (representations.begin (), representations.end (),
	                         [scale] (const Representation& r) { return r.scale >= scale; });
	if (pos != representations.end () && pos->scale == scale)
	{
		cairo_surface_destroy (pos->surface);
		pos->surface = cairo_surface_reference (s);
		return true;
	}
	representations.insert (pos, Representation {scale, cairo_surface_reference (s)});
	return true;
}

void CBitmap::loadRepresentations () const
{
	if (representationsLoaded)
		return;
	representationsLoaded = true;
	for (int scale : kRepresentationScales)
	{
		const std::string path = representationPath (loadedPath, scale);
		if (!fileExists (path))
			continue;
		if (cairo_surface_t* s = imageCache ().load (path))
		{
			const_cast<CBitmap*> (this)->addRepresentation (scale, s);
			cairo_surface_destroy (s);
		}
	}
}

std::vector<double> CBitmap::getRepresentationScales () const
{
	loadRepresentations ();
	std::vector<double> scales;
	for (const auto& r : representations)
		scales.push_back (r.scale);
	return scales;
}

cairo_surface_t* CBitmap::surfaceForScale (double scaleFactor, double& repScale) const
{
	repScale = 1.;
	if (!surface || scaleFactor <= 1.)
		return surface;
	loadRepresentations ();
	if (representations.empty ())
		return surface;
	for (const auto& r : representations)
	{
		if (r.scale >= scaleFactor)
		{
			repScale = r.scale;
			return r.surface;
		}
	}
	repScale = representations.back ().scale;
	return representations.back ().surface;
}

namespace {

// Smoothed, the filter must see only the part drawn (one frame of a strip, up to
// the bitmap's edge and padded beyond it): else the neighbouring frames and the
// transparency around the image bleed into its border. The representation holds
// repScale pixels per unit each way.
void drawScaledBitmap (cairo_t* cr, cairo_surface_t* surface, double repScale, const CPoint& size, const CRect& rect,
                       const CPoint& offset, double alpha)
{
	const double left = std::max (offset.x, 0.);
	const double top = std::max (offset.y, 0.);
	const double right = std::min (offset.x + rect.getWidth (), size.x);
	const double bottom = std::min (offset.y + rect.getHeight (), size.y);
	if (right <= left || bottom <= top)
		return;
	cairo_surface_t* part = cairo_surface_create_for_rectangle (surface, left * repScale, top * repScale,
	                                                            (right - left) * repScale, (bottom - top) * repScale);
	if (cairo_surface_status (part) == CAIRO_STATUS_SUCCESS)
	{
		const double x = rect.left - offset.x + left;
		const double y = rect.top - offset.y + top;
		cairo_save (cr);
		cairo_rectangle (cr, x, y, right - left, bottom - top);
		cairo_clip (cr);
		cairo_translate (cr, x, y);
		cairo_scale (cr, 1. / repScale, 1. / repScale);
		cairo_set_source_surface (cr, part, 0, 0);
		cairo_pattern_set_extend (cairo_get_source (cr), CAIRO_EXTEND_PAD);
		cairo_pattern_set_filter (cairo_get_source (cr), CAIRO_FILTER_GOOD);
		cairo_paint_with_alpha (cr, alpha);
		cairo_restore (cr);
	}
	cairo_surface_destroy (part);
}

} // namespace

void CBitmap::draw (CDrawContext* context, const CRect& rect, const CPoint& offset, float alpha)
{
	if (!surface || !context)
		return;
	cairo_t* cr = context->getCairo ();
	if (context->getScaleFactor () != 1.)
	{
		double repScale = 1.;
		cairo_surface_t* source = surfaceForScale (context->getScaleFactor (), repScale);
		drawScaledBitmap (cr, source, repScale, getSize (), rect, offset, alpha * context->getGlobalAlpha ());
		return;
	}
	cairo_save (cr);
	cairo_rectangle (cr, rect.left, rect.top, rect.getWidth (), rect.getHeight ());
	cairo_clip (cr);
	cairo_set_source_surface (cr, surface, rect.left - offset.x, rect.top - offset.y);
	// At 1:1 no smoothing, so that neighbouring frames of a strip never bleed in.
	cairo_pattern_set_filter (cairo_get_source (cr), CAIRO_FILTER_NEAREST);
	cairo_paint_with_alpha (cr, alpha * context->getGlobalAlpha ());
	cairo_restore (cr);
}

} // namespace VSTGUI
