#include "cbitmap.h"
#include "cdrawcontext.h"
#include <algorithm>
#include <cairo.h>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <dlfcn.h>
#include <list>
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

std::string baseName (const std::string& path)
{
	auto pos = path.find_last_of ('/');
	return pos == std::string::npos ? path : path.substr (pos + 1);
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

std::map<std::string, std::shared_ptr<IBitmapPainter>>& painters ()
{
	static std::map<std::string, std::shared_ptr<IBitmapPainter>> table;
	return table;
}

std::map<std::string, std::string>& aliases ()
{
	static std::map<std::string, std::string> table;
	return table;
}

size_t bytesOf (cairo_surface_t* s)
{
	return static_cast<size_t> (cairo_image_surface_get_stride (s)) *
	       static_cast<size_t> (cairo_image_surface_get_height (s));
}

bool readFile (const std::string& path, std::string& bytes)
{
	FILE* f = std::fopen (path.c_str (), "rb");
	if (!f)
		return false;
	char buffer[65536];
	size_t n;
	bytes.clear ();
	while ((n = std::fread (buffer, 1, sizeof (buffer), f)) > 0)
		bytes.append (buffer, n);
	std::fclose (f);
	return true;
}

// The pixel size a PNG's header announces, without decoding it.
bool readPngSize (const std::string& path, int32_t& w, int32_t& h)
{
	unsigned char header[24];
	FILE* f = std::fopen (path.c_str (), "rb");
	if (!f)
		return false;
	const size_t n = std::fread (header, 1, sizeof (header), f);
	std::fclose (f);
	static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
	if (n != sizeof (header) || !std::equal (kSignature, kSignature + 8, header) ||
	    !std::equal (header + 12, header + 16, "IHDR"))
		return false;
	auto be32 = [] (const unsigned char* p) {
		return static_cast<uint32_t> (p[0]) << 24 | static_cast<uint32_t> (p[1]) << 16 |
		       static_cast<uint32_t> (p[2]) << 8 | static_cast<uint32_t> (p[3]);
	};
	const uint32_t pw = be32 (header + 16), ph = be32 (header + 20);
	if (pw == 0 || ph == 0 || pw > 0x7fffffff || ph > 0x7fffffff)
		return false;
	w = static_cast<int32_t> (pw);
	h = static_cast<int32_t> (ph);
	return true;
}

struct PngReader
{
	const std::string& bytes;
	size_t at;
};

cairo_status_t readFromMemory (void* closure, unsigned char* data, unsigned int length)
{
	auto reader = static_cast<PngReader*> (closure);
	if (reader->bytes.size () - reader->at < length)
		return CAIRO_STATUS_READ_ERROR;
	std::copy (reader->bytes.data () + reader->at, reader->bytes.data () + reader->at + length,
	           data);
	reader->at += length;
	return CAIRO_STATUS_SUCCESS;
}

uint64_t contentHash (const std::string& bytes)
{
	uint64_t h = 1469598103934665603ull; // FNV-1a
	for (unsigned char c : bytes)
		h = (h ^ c) * 1099511628211ull;
	return h;
}

// Decoded images by file, and by content: files of the same bytes share one decoding.
// Painted tiles by painter identity, scale and tile, the oldest dropped beyond a budget.
// Everything goes at release (the last editor window closing); bitmaps notice by the
// generation and decode again when next drawn.
class SharedImages
{
public:
	~SharedImages () { release (); }

	uint64_t generation () const { return currentGeneration; }

	// The decoded image (owned here), or null when the file cannot be read or decoded.
	cairo_surface_t* load (const std::string& path)
	{
		struct stat st;
		if (stat (path.c_str (), &st) != 0)
			return nullptr;
		auto it = files.find (path);
		if (it != files.end ())
		{
			if (it->second.size == st.st_size && it->second.mtime == st.st_mtime &&
			    it->second.mtimeNanoseconds == st.st_mtim.tv_nsec && it->second.inode == st.st_ino)
				return it->second.surface;
			files.erase (it); // changed: its content entry stays for other files of those bytes
		}
		std::string bytes;
		if (!readFile (path, bytes))
			return nullptr;
		const Content key {bytes.size (), contentHash (bytes)};
		cairo_surface_t* s = nullptr;
		auto c = contents.find (key);
		if (c != contents.end ())
			s = c->second;
		else
		{
			PngReader reader {bytes, 0};
			s = cairo_image_surface_create_from_png_stream (readFromMemory, &reader);
			if (cairo_surface_status (s) != CAIRO_STATUS_SUCCESS)
			{
				cairo_surface_destroy (s);
				return nullptr;
			}
			contents[key] = s;
			bytes_ += bytesOf (s);
		}
		files[path] = FileEntry {s, st.st_size, st.st_mtime, st.st_mtim.tv_nsec, st.st_ino};
		return s;
	}

	cairo_surface_t* tile (const IBitmapPainter& painter, double scale, int32_t index)
	{
		TileKey key {painter.getIdentity (), scale, index};
		auto it = tiles.find (key);
		if (it != tiles.end ())
		{
			it->second.lastUse = ++useCounter;
			return it->second.surface;
		}
		const CPoint t = painter.getTileSize ();
		const int w = std::max (1, static_cast<int> (std::ceil (t.x * scale - 1e-9)));
		const int h = std::max (1, static_cast<int> (std::ceil (t.y * scale - 1e-9)));
		cairo_surface_t* s = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, w, h);
		if (cairo_surface_status (s) != CAIRO_STATUS_SUCCESS)
		{
			cairo_surface_destroy (s);
			return nullptr;
		}
		cairo_t* cr = cairo_create (s);
		cairo_scale (cr, scale, scale);
		painter.paintTile (cr, index);
		cairo_destroy (cr);
		cairo_surface_flush (s);
		tileBytes += bytesOf (s);
		while (tileBytes > kTileBudget && !tiles.empty ())
			dropOldestTile ();
		tiles[key] = Tile {s, ++useCounter};
		return s;
	}

	void release ()
	{
		for (auto& c : contents)
			cairo_surface_destroy (c.second);
		for (auto& t : tiles)
			cairo_surface_destroy (t.second.surface);
		contents.clear ();
		files.clear ();
		tiles.clear ();
		bytes_ = 0;
		tileBytes = 0;
		++currentGeneration;
	}

	size_t bytes () const { return bytes_ + tileBytes; }

private:
	void dropOldestTile ()
	{
		auto oldest =
		    std::min_element (tiles.begin (), tiles.end (), [] (const auto& a, const auto& b) {
			    return a.second.lastUse < b.second.lastUse;
		    });
		tileBytes -= bytesOf (oldest->second.surface);
		cairo_surface_destroy (oldest->second.surface);
		tiles.erase (oldest);
	}

	struct FileEntry
	{
		cairo_surface_t* surface;
		off_t size;
		time_t mtime;
		long mtimeNanoseconds;
		ino_t inode;
	};
	using Content = std::pair<size_t, uint64_t>;
	struct TileKey
	{
		std::string identity;
		double scale;
		int32_t index;
		bool operator<(const TileKey& o) const
		{
			if (identity != o.identity)
				return identity < o.identity;
			if (scale != o.scale)
				return scale < o.scale;
			return index < o.index;
		}
	};
	struct Tile
	{
		cairo_surface_t* surface;
		uint64_t lastUse;
	};
	// A knob dragged across its travel at scale 4 keeps its last dozen frames.
	static constexpr size_t kTileBudget = 8u * 1024u * 1024u;

	std::map<std::string, FileEntry> files;
	std::map<Content, cairo_surface_t*> contents;
	std::map<TileKey, Tile> tiles;
	size_t bytes_ {0};
	size_t tileBytes {0};
	uint64_t useCounter {0};
	uint64_t currentGeneration {1};
};

SharedImages& sharedImages ()
{
	static SharedImages images;
	return images;
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
	for (const auto& c : candidates)
	{
		auto alias = aliases ().find (c);
		if (alias != aliases ().end () && fileExists (base + "/" + alias->second))
			return base + "/" + alias->second;
	}
	return std::string ();
}

void CBitmap::setPainter (const std::string& fileName, std::shared_ptr<IBitmapPainter> p)
{
	if (p)
		painters ()[toLower (fileName)] = std::move (p);
	else
		painters ().erase (toLower (fileName));
}

void CBitmap::setAlias (const std::string& fileName, const std::string& sameImage)
{
	aliases ()[toLower (fileName)] = sameImage;
}

void CBitmap::releaseSharedImages ()
{
	sharedImages ().release ();
}

size_t CBitmap::sharedImageBytes ()
{
	return sharedImages ().bytes ();
}

CBitmap::CBitmap (const CResourceDescription& desc) : resourceDesc (desc)
{
	std::string name = desc.type == CResourceDescription::kStringType ? desc.name
	                   : desc.type == CResourceDescription::kIntegerType
	                       ? std::to_string (desc.id) + ".png"
	                       : std::string ();
	std::string file = toLower (baseName (name));
	if (file.size () < 4 || file.compare (file.size () - 4, 4, ".png") != 0)
		file += ".png";
	auto p = painters ().find (file);
	if (p != painters ().end ())
	{
		painter = p->second;
		width = painter->getSize ().x;
		height = painter->getSize ().y;
	}
	std::string path = resolveResourcePath (name);
	int32_t w = 0, h = 0;
	if (path.empty () || !readPngSize (path, w, h))
		return;
	if (!painter)
	{
		width = w;
		height = h;
	}
	else if (w != width || h != height)
		return; // a file the painter does not match: the painter draws at every scale
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
	ownsPixels = true;
	width = static_cast<int> (w);
	height = static_cast<int> (h);
}

CBitmap::~CBitmap ()
{
	for (auto& r : representations)
	{
		if (r.owned)
			cairo_surface_destroy (r.surface);
	}
	if (surface && ownsPixels)
		cairo_surface_destroy (surface);
}

void CBitmap::dropPixels () const
{
	// The shared images were given back since these pixels were taken: take them again.
	if (ownsPixels || generation == sharedImages ().generation ())
		return;
	generation = sharedImages ().generation ();
	surface = nullptr;
	decodeFailed = false;
	representations.erase (std::remove_if (representations.begin (), representations.end (),
	                                       [] (const Representation& r) { return !r.owned; }),
	                       representations.end ());
	representationsLoaded = loadedPath.empty ();
}

cairo_surface_t* CBitmap::getSurface () const
{
	dropPixels ();
	if (!surface && !decodeFailed && !loadedPath.empty ())
	{
		surface = sharedImages ().load (loadedPath);
		if (surface && (cairo_image_surface_get_width (surface) != width ||
		                cairo_image_surface_get_height (surface) != height))
			surface = nullptr; // the file changed under us
		decodeFailed = surface == nullptr;
	}
	return surface;
}

bool CBitmap::isLoaded () const
{
	return getSurface () != nullptr || painter != nullptr;
}

bool CBitmap::addRepresentation (double scale, cairo_surface_t* s)
{
	if (!getSurface () || !s || !(scale > 1.) ||
	    cairo_surface_get_type (s) != CAIRO_SURFACE_TYPE_IMAGE)
		return false;
	// A representation of another size would misplace every frame of a strip.
	if (cairo_image_surface_get_width (s) != static_cast<int> (std::lround (width * scale)) ||
	    cairo_image_surface_get_height (s) != static_cast<int> (std::lround (height * scale)))
		return false;
	auto pos = std::find_if (representations.begin (), representations.end (),
	                         [scale] (const Representation& r) { return r.scale >= scale; });
	if (pos != representations.end () && pos->scale == scale)
	{
		if (pos->owned)
			cairo_surface_destroy (pos->surface);
		pos->surface = cairo_surface_reference (s);
		pos->owned = true;
		return true;
	}
	representations.insert (pos, Representation {scale, cairo_surface_reference (s), true});
	return true;
}

void CBitmap::loadRepresentations () const
{
	dropPixels ();
	if (representationsLoaded)
		return;
	representationsLoaded = true;
	for (int scale : kRepresentationScales)
	{
		const std::string path = representationPath (loadedPath, scale);
		if (!fileExists (path))
			continue;
		cairo_surface_t* s = sharedImages ().load (path);
		if (!s ||
		    cairo_image_surface_get_width (s) != static_cast<int> (std::lround (width * scale)) ||
		    cairo_image_surface_get_height (s) != static_cast<int> (std::lround (height * scale)))
			continue;
		auto pos = std::find_if (representations.begin (), representations.end (),
		                         [scale] (const Representation& r) { return r.scale >= scale; });
		if (pos == representations.end () || pos->scale != scale)
			representations.insert (pos, Representation {static_cast<double> (scale), s, false});
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
	if (scaleFactor <= 1.)
		return getSurface ();
	loadRepresentations ();
	for (const auto& r : representations)
	{
		if (r.scale >= scaleFactor)
		{
			repScale = r.scale;
			return r.surface;
		}
	}
	if (!representations.empty ())
	{
		repScale = representations.back ().scale;
		return representations.back ().surface;
	}
	return getSurface ();
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

// The tiles the drawn part touches, each painted at the context's own resolution.
void CBitmap::drawPainted (CDrawContext* context, const CRect& rect, const CPoint& offset,
                           double alpha) const
{
	const CPoint tileSize = painter->getTileSize ();
	if (tileSize.x <= 0 || tileSize.y <= 0)
		return;
	const double scale = context->getScaleFactor ();
	const double top = std::max (offset.y, 0.);
	const double bottom = std::min (offset.y + rect.getHeight (), height);
	if (bottom <= top)
		return;
	cairo_t* cr = context->getCairo ();
	const int32_t first = static_cast<int32_t> (std::floor (top / tileSize.y));
	const int32_t last = static_cast<int32_t> (std::ceil (bottom / tileSize.y)) - 1;
	for (int32_t index = first; index <= last; ++index)
	{
		cairo_surface_t* tile = sharedImages ().tile (*painter, scale, index);
		if (!tile)
			continue;
		CPoint tileOffset (offset.x, offset.y - index * tileSize.y);
		drawScaledBitmap (cr, tile, scale, tileSize, rect, tileOffset, alpha);
	}
}

void CBitmap::draw (CDrawContext* context, const CRect& rect, const CPoint& offset, float alpha)
{
	if (!context)
		return;
	const double scale = context->getScaleFactor ();
	if (painter && (scale != 1. || !getSurface ()))
	{
		drawPainted (context, rect, offset, alpha * context->getGlobalAlpha ());
		return;
	}
	if (!getSurface ())
		return;
	cairo_t* cr = context->getCairo ();
	if (scale != 1.)
	{
		double repScale = 1.;
		cairo_surface_t* source = surfaceForScale (scale, repScale);
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
