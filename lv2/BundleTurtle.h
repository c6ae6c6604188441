// Writes the bundle's Turtle documents from the effect's own tables, so that the
// ports, their ranges and the presets can never drift from the engine:
// manifest.ttl, tarnwick.ttl (ports, the editor) and presets.ttl.
#pragma once

#include <ostream>
#include <string>

class CPlugIn;

namespace TarnwickLv2 {

class BundleTurtle
{
public:
	// binary: the plug-in's module in the bundle; uiBinary: the editor's module, empty without one.
	BundleTurtle (CPlugIn& effect, std::string binary, std::string uiBinary);

	void writeManifest (std::ostream& out) const;
	void writePlugin (std::ostream& out) const;
	// Moves the effect's controls to each preset in turn, as a program change does.
	void writePresets (std::ostream& out) const;

	// A control's port symbol: its name in lower case, other characters as '_'.
	static std::string portSymbol (const char* controlName);
	// A float as a Turtle decimal that reads back as the same float.
	static std::string decimal (float value);

private:
	int presetCount () const;
	void writeControlPort (std::ostream& out, int position) const;

	CPlugIn& effect;
	std::string binary;
	std::string uiBinary;
};

} // namespace TarnwickLv2
