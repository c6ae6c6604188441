#pragma once

#include "ccolor.h"
#include <map>

namespace VSTGUI {

// Colour stops by start offset (0 to 1).
class CGradient : public CBaseObject
{
public:
	using ColorStopMap = std::multimap<double, CColor>;

	CGradient () = default;
	explicit CGradient (const ColorStopMap& stops) : stops (stops) {}
	static CGradient* create (const ColorStopMap& stops) { return new CGradient (stops); }

	void addColorStop (double start, const CColor& color) { stops.emplace (start, color); }
	const ColorStopMap& getColorStops () const { return stops; }

private:
	ColorStopMap stops;
};

} // namespace VSTGUI
