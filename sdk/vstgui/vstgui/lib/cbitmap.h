// A bitmap loaded from a PNG: by resource name from the module's Contents/Resources,
// or from an absolute path. Higher-resolution representations of the same image lie
// beside it with a scale suffix ("cutk.png", "cutk_2x.png"); a context draws from the
// one that suits its scale factor.
#pragma once

#include "crect.h"
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
	// Loads the PNG named by desc; an unloadable image leaves an empty bitmap (size 0 × 0).
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
	bool isLoaded () const { return surface != nullptr; }
	const CResourceDescription& getResourceDescription () const { return resourceDesc; }
	cairo_surface_t* getSurface () const { return surface; }

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
	};
	// Representations beyond 1 are decoded the first time a context needs one: an editor
	// drawn at scale 1 never pays for them.
	void loadRepresentations () const;

	CResourceDescription resourceDesc;
	std::string loadedPath;
	mutable bool representationsLoaded {true};
	mutable std::vector<Representation> representations; // by rising scale
	cairo_surface_t* surface {nullptr};
	CCoord width {0.};
	CCoord height {0.};
};

} // namespace VSTGUI
