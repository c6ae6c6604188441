// A bitmap loaded from a PNG: by resource name from the module's Contents/Resources,
// or from an absolute path. Higher-resolution representations of the same image lie
// beside it with a scale suffix ("codeback.png", "codeback_2x.png"); a context draws from
// the one that suits its scale factor. A file may instead have a painter (IBitmapPainter)
// that draws its tiles at any scale beyond 1. Pixels are decoded when first drawn, shared
// by every bitmap of the process whose file holds the same bytes, and given back by
// releaseSharedImages (the last editor window closing).
#pragma once

#include "crect.h"
#include "ibitmappainter.h"
#include <memory>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {

class CDrawContext;

// Names a bitmap resource: a file name such as "codeback.png", or a numeric id.
class CResourceDescription
{
public:
	enum Type : uint32_t
	{
		kIntegerType,
		kStringType,
		kUnknownType
	};
	CResourceDescription () = default;
	CResourceDescription (int32_t id) : type (kIntegerType), id (id) {}
	CResourceDescription (UTF8StringPtr name) : type (kStringType), name (name ? name : "") {}

	Type type {kUnknownType};
	int32_t id {0};
	std::string name;
};

//------------------------------------------------------------------------
class CBitmap : public CBaseObject
{
public:
	// The PNG named by desc, its size read from the file's header (the pixels when first
	// drawn); an image that cannot be found leaves an empty bitmap (size 0 × 0).
	explicit CBitmap (const CResourceDescription& desc);
	// An empty bitmap of the given size, transparent.
	CBitmap (CCoord width, CCoord height);
	~CBitmap () override;

	virtual void draw (CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint (0, 0), float alpha = 1.f);

	// Adds a representation of the image at scale (2 for twice the pixels each way). Its
	// pixel size must be the bitmap's size times scale; false (and nothing added) otherwise.
	// Takes its own reference to the surface.
	bool addRepresentation (double scale, cairo_surface_t* surface);
	// The surface a context of the given scale factor draws from: the representation of the
	// smallest scale at or above it, else the largest. repScale receives that scale.
	cairo_surface_t* surfaceForScale (double scaleFactor, double& repScale) const;
	// Scales of the representations beyond 1 (after loading them, for a loaded bitmap).
	std::vector<double> getRepresentationScales () const;

	CCoord getWidth () const { return width; }
	CCoord getHeight () const { return height; }
	CPoint getSize () const { return CPoint (width, height); }
	// The image can be drawn: its file decodes (decoding it now), or a painter draws it.
	bool isLoaded () const;
	const CResourceDescription& getResourceDescription () const { return resourceDesc; }
	// The pixels at 1x, decoded when first asked for; null when there are none.
	cairo_surface_t* getSurface () const;
	IBitmapPainter* getPainter () const { return painter.get (); }

	// The painter of a resource file ("cutk.png"): bitmaps of that file draw its tiles beyond
	// scale 1, and at every scale when the file is not there. A null painter removes it.
	static void setPainter (const std::string& fileName, std::shared_ptr<IBitmapPainter> painter);
	// A file that holds the same image as fileName, looked up when fileName is not there.
	static void setAlias (const std::string& fileName, const std::string& sameImage);
	// Gives back the decoded images and painted tiles the bitmaps share; a bitmap still in
	// use decodes or paints again when next drawn.
	static void releaseSharedImages ();
	// Bytes of pixels the shared images and tiles hold.
	static size_t sharedImageBytes ();

	// Folder in which resource names are looked up. Empty (the default) means the
	// Resources folder of the bundle that holds this module.
	static void setResourceBasePath (const std::string& path);
	static std::string getResourceBasePath ();
	// Full path of a resource, or empty when it cannot be found.
	static std::string resolveResourcePath (const std::string& name);

private:
	struct Representation
	{
		double scale;
		cairo_surface_t* surface;
		bool owned; // added by addRepresentation; a decoded one belongs to the shared images
	};
	// Representations beyond 1 are decoded the first time a context needs one: an editor
	// drawn at scale 1 never pays for them.
	void loadRepresentations () const;
	void dropPixels () const;
	void drawPainted (CDrawContext* context, const CRect& rect, const CPoint& offset,
	                  double alpha) const;

	CResourceDescription resourceDesc;
	std::string loadedPath;
	std::shared_ptr<IBitmapPainter> painter;
	mutable bool representationsLoaded {true};
	mutable std::vector<Representation> representations; // by rising scale
	// Decoded pixels belong to the shared images (valid while their generation lasts);
	// pixels made in memory belong to this bitmap.
	mutable cairo_surface_t* surface {nullptr};
	mutable bool decodeFailed {false};
	mutable uint64_t generation {0};
	bool ownsPixels {false};
	CCoord width {0.};
	CCoord height {0.};
};

} // namespace VSTGUI
