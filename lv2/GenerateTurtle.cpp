// tarnwick-lv2-turtle OUTPUT_DIR BINARY [UI_BINARY]: writes the bundle's Turtle documents
// from the engine's tables (run by the build).
#include "BundleTurtle.h"

#include "effect/CStDelayFil.h"

#include <fstream>
#include <iostream>
#include <string>

namespace {

bool writeFile (const std::string& path, void (TarnwickLv2::BundleTurtle::*write) (std::ostream&) const,
                const TarnwickLv2::BundleTurtle& turtle)
{
	std::ofstream out (path);
	(turtle.*write) (out);
	out.close ();
	if (!out)
	{
		std::cerr << "tarnwick-lv2-turtle: cannot write " << path << "\n";
		return false;
	}
	return true;
}

} // namespace

int main (int argc, char** argv)
{
	if (argc < 3 || argc > 4)
	{
		std::cerr << "usage: tarnwick-lv2-turtle OUTPUT_DIR BINARY [UI_BINARY]\n";
		return 2;
	}
	const std::string dir = argv[1];
	CStDelayFil effect;
	const TarnwickLv2::BundleTurtle turtle (effect, argv[2], argc > 3 ? argv[3] : "");
	using TarnwickLv2::BundleTurtle;
	const bool ok = writeFile (dir + "/manifest.ttl", &BundleTurtle::writeManifest, turtle) &&
	                writeFile (dir + "/tarnwick.ttl", &BundleTurtle::writePlugin, turtle) &&
	                writeFile (dir + "/presets.ttl", &BundleTurtle::writePresets, turtle);
	return ok ? 0 : 1;
}
