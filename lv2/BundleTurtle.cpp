#include "BundleTurtle.h"

#include "Lv2Ports.h"
#include "TarnwickLv2Uris.h"
#include "TarnwickVersion.h"

#include "adapter/ControlChange.h"

#include "effect/CPlugIn.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace TarnwickLv2 {

namespace {

const char* const kPrefixes = "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
                              "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
                              "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
                              "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
                              "@prefix midi: <http://lv2plug.in/ns/ext/midi#> .\n"
                              "@prefix opts: <http://lv2plug.in/ns/ext/options#> .\n"
                              "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
                              "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
                              "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
                              "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
                              "@prefix time: <http://lv2plug.in/ns/ext/time#> .\n"
                              "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
                              "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
                              "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n\n";

std::string presetUri (int slot)
{
	return std::string ("<") + TARNWICK_LV2_PRESET_PREFIX + std::to_string (slot) + ">";
}

// Turtle string literal contents.
std::string quoted (const char* text)
{
	std::string result = "\"";
	for (const char* c = text; *c; ++c)
	{
		if (*c == '"' || *c == '\\')
			result += '\\';
		result += *c;
	}
	return result + "\"";
}

// The LV2 unit of a control's units text; empty when there is none to give.
std::string unitOf (const char* unitsText)
{
	if (std::strcmp (unitsText, "mSec") == 0)
		return "units:ms";
	if (std::strcmp (unitsText, "%") == 0)
		return "units:pc";
	if (std::strcmp (unitsText, "Hz") == 0)
		return "units:hz";
	if (*unitsText == 0)
		return "";
	return std::string ("[\n\t\t\ta units:Unit ;\n\t\t\trdfs:label ") + quoted (unitsText) +
	       " ;\n\t\t\tunits:symbol " + quoted (unitsText) + " ;\n\t\t\tunits:render " +
	       quoted ((std::string ("%f ") + unitsText).c_str ()) + "\n\t\t]";
}

// LV2 has no major version (the URI is one) and reads odd minor or micro numbers, and a minor
// of 0, as development versions; lilv loads the highest (minor, micro) when a plug-in is found
// twice (a package's bundle and one in ~/.lv2). So the product's major.minor.patch becomes
// minor = 100 * major + 2 * minor and micro = 2 * patch: always even, never 0, rising with
// every release (1.1.0 is 102.0), and the product version still reads off it.
static_assert (TARNWICK_VERSION_MAJOR >= 1 && TARNWICK_VERSION_MINOR < 50,
               "LV2 minor version would not rise");
constexpr int kLv2MinorVersion = 100 * TARNWICK_VERSION_MAJOR + 2 * TARNWICK_VERSION_MINOR;
constexpr int kLv2MicroVersion = 2 * TARNWICK_VERSION_PATCH;

bool isEnumerated (const ControlDescriptor& d)
{
	return d.dataType == kDataEnumIndex;
}

} // namespace

BundleTurtle::BundleTurtle (CPlugIn& fx, std::string binaryName, std::string uiBinaryName)
: effect (fx), binary (std::move (binaryName)), uiBinary (std::move (uiBinaryName))
{
}

std::string BundleTurtle::portSymbol (const char* controlName)
{
	std::string symbol;
	for (const char* c = controlName; *c; ++c)
	{
		const unsigned char ch = static_cast<unsigned char> (*c);
		symbol += std::isalnum (ch) ? static_cast<char> (std::tolower (ch)) : '_';
	}
	if (symbol.empty () || std::isdigit (static_cast<unsigned char> (symbol[0])))
		symbol.insert (0, "_");
	return symbol;
}

std::string BundleTurtle::decimal (float value)
{
	char text[64];
	std::snprintf (text, sizeof (text), "%.9g", static_cast<double> (value));
	if (std::strchr (text, 'e'))
	{
		// Turtle decimals have no exponent: enough fixed digits to read back the same float.
		for (int digits = 9; digits < 50; ++digits)
		{
			std::snprintf (text, sizeof (text), "%.*f", digits, static_cast<double> (value));
			if (std::strtof (text, nullptr) == value)
				break;
		}
	}
	std::string result (text);
	if (result.find ('.') == std::string::npos)
		result += ".0";
	return result;
}

int BundleTurtle::presetCount () const
{
	int count = 0;
	while (count < kPresetSlotCount && effect.presetNames[count] && *effect.presetNames[count])
		++count;
	return count;
}

void BundleTurtle::writeManifest (std::ostream& out) const
{
	out << kPrefixes;
	out << "<" TARNWICK_LV2_URI ">\n\ta lv2:Plugin ;\n\tlv2:binary <" << binary
	    << "> ;\n\trdfs:seeAlso <tarnwick.ttl> .\n";
	if (!uiBinary.empty ())
		out << "\n<" TARNWICK_LV2_UI_URI ">\n\ta ui:X11UI ;\n\tui:binary <" << uiBinary
		    << "> ;\n\trdfs:seeAlso <tarnwick.ttl> .\n";
	for (int slot = 0; slot < presetCount (); ++slot)
		out << "\n" << presetUri (slot) << "\n\ta pset:Preset ;\n\tlv2:appliesTo <" TARNWICK_LV2_URI
		    << "> ;\n\trdfs:label " << quoted (effect.presetNames[slot]) << " ;\n\trdfs:seeAlso <presets.ttl> .\n";
}

void BundleTurtle::writeControlPort (std::ostream& out, int position) const
{
	const ControlDescriptor& d = *effect.controlAt (position);
	out << "\t\ta lv2:InputPort, lv2:ControlPort ;\n";
	out << "\t\tlv2:index " << controlPort (position) << " ;\n";
	out << "\t\tlv2:symbol \"" << portSymbol (d.controlName) << "\" ;\n";
	out << "\t\tlv2:name " << quoted (d.controlName) << " ;\n";
	out << "\t\tlv2:default " << decimal (d.defaultValue) << " ;\n";
	out << "\t\tlv2:minimum " << decimal (d.minValue) << " ;\n";
	out << "\t\tlv2:maximum " << decimal (d.maxValue);
	if (isEnumerated (d))
	{
		out << " ;\n\t\tlv2:portProperty lv2:integer, lv2:enumeration ;\n\t\tlv2:scalePoint ";
		char choice[kControlTextCapacity];
		for (int k = 0; d.enumChoice (k, choice, sizeof (choice)); ++k)
			out << (k ? ", " : "") << "[\n\t\t\trdfs:label " << quoted (choice) << " ;\n\t\t\trdf:value "
			    << decimal (static_cast<float> (k)) << "\n\t\t]";
	}
	else
	{
		const std::string unit = unitOf (d.unitsText);
		if (!unit.empty ())
			out << " ;\n\t\tunits:unit " << unit;
	}
	out << "\n";
}

void BundleTurtle::writePlugin (std::ostream& out) const
{
	out << kPrefixes;
	// doap:Project: the domain of the maintainer and release below.
	out << "<" TARNWICK_LV2_URI ">\n\ta lv2:Plugin, lv2:DelayPlugin, doap:Project ;\n";
	out << "\tdoap:name " << quoted (effect.effectName ? effect.effectName : "Tarnwick") << " ;\n";
	out << "\tlv2:minorVersion " << kLv2MinorVersion << " ;\n\tlv2:microVersion " << kLv2MicroVersion << " ;\n";
	// The product version as released, for readers of DOAP; the maker as the VST 3 factory names it.
	out << "\tdoap:release [\n\t\tdoap:revision \"" TARNWICK_VERSION "\"\n\t] ;\n";
	out << "\tdoap:maintainer [\n\t\ta foaf:Organization ;\n\t\tfoaf:name " << quoted (TARNWICK_VENDOR) << "\n\t] ;\n";
	// Without urid:map there is no MIDI input and no state, but the audio runs.
	out << "\tlv2:optionalFeature lv2:hardRTCapable, urid:map ;\n";
	out << "\tlv2:extensionData state:interface ;\n";
	if (!uiBinary.empty ())
		out << "\tui:ui <" TARNWICK_LV2_UI_URI "> ;\n";
	const char* const audioPorts[4][3] = {{"lv2:InputPort", "in_l", "In Left"},
	                                      {"lv2:InputPort", "in_r", "In Right"},
	                                      {"lv2:OutputPort", "out_l", "Out Left"},
	                                      {"lv2:OutputPort", "out_r", "Out Right"}};
	out << "\tlv2:port ";
	for (uint32_t i = 0; i < 4; ++i)
		out << (i ? ", " : "") << "[\n\t\ta lv2:AudioPort, " << audioPorts[i][0] << " ;\n\t\tlv2:index " << i
		    << " ;\n\t\tlv2:symbol \"" << audioPorts[i][1] << "\" ;\n\t\tlv2:name \"" << audioPorts[i][2]
		    << "\"\n\t]";
	auto writeControlPorts = [&] (int begin, int end) {
		for (int position = begin; position < end; ++position)
		{
			out << ", [\n";
			writeControlPort (out, position);
			out << "\t]";
		}
	};
	const int firstRelease = CStDelayFil::kFirstReleaseControlCount;
	writeControlPorts (0, firstRelease);
	out << ", [\n\t\ta lv2:InputPort, lv2:ControlPort ;\n\t\tlv2:index " << kEnabledPort
	    << " ;\n\t\tlv2:symbol \"enabled\" ;\n\t\tlv2:name \"Enabled\" ;\n\t\tlv2:designation lv2:enabled ;\n"
	       "\t\tlv2:portProperty lv2:toggled, lv2:integer ;\n\t\tlv2:default 1 ;\n\t\tlv2:minimum 0 ;\n"
	       "\t\tlv2:maximum 1\n\t]";
	out << ", [\n\t\ta lv2:InputPort, atom:AtomPort ;\n\t\tatom:bufferType atom:Sequence ;\n"
	       "\t\tatom:supports midi:MidiEvent ;\n\t\tlv2:designation lv2:control ;\n"
	       "\t\tlv2:portProperty lv2:connectionOptional ;\n\t\tlv2:index "
	    << kMidiInPort << " ;\n\t\tlv2:symbol \"midi_in\" ;\n\t\tlv2:name \"MIDI In\"\n\t]";
	writeControlPorts (firstRelease, effect.controlCount ());
	// The host's tempo, as time:Position objects, on an input of its own: hosts such as Ardour
	// treat an input that also takes MIDI as a MIDI input and send it no positions.
	out << ", [\n\t\ta lv2:InputPort, atom:AtomPort ;\n\t\tatom:bufferType atom:Sequence ;\n"
	       "\t\tatom:supports time:Position ;\n\t\tlv2:portProperty lv2:connectionOptional ;\n\t\tlv2:index "
	    << kTimeInPort << " ;\n\t\tlv2:symbol \"time_in\" ;\n\t\tlv2:name \"Time In\"\n\t] .\n";
	if (!uiBinary.empty ())
		out << "\n<" TARNWICK_LV2_UI_URI ">\n\ta ui:X11UI ;\n"
		       "\tlv2:requiredFeature ui:idleInterface, ui:parent ;\n"
		       "\tlv2:optionalFeature ui:resize, opts:options, urid:map ;\n"
		       "\tlv2:extensionData ui:idleInterface ;\n"
		       "\topts:supportedOption ui:scaleFactor .\n";
}

void BundleTurtle::writePresets (std::ostream& out) const
{
	out << kPrefixes;
	for (int slot = 0; slot < presetCount (); ++slot)
	{
		out << presetUri (slot) << "\n\ta pset:Preset ;\n\tlv2:appliesTo <" TARNWICK_LV2_URI
		    << "> ;\n\trdfs:label " << quoted (effect.presetNames[slot]) << " ;\n\tlv2:port ";
		for (int position = 0; position < effect.controlCount (); ++position)
		{
			const ControlDescriptor& d = *effect.controlAt (position);
			// The value the program change leaves in the control.
			effect.setNormalizedValue (position, Vire2VUR3::presetFraction (d, slot), true);
			out << (position ? ", " : "") << "[\n\t\tlv2:symbol \"" << portSymbol (d.controlName)
			    << "\" ;\n\t\tpset:value " << decimal (effect.getPlainValue (position)) << "\n\t]";
		}
		out << " .\n\n";
	}
}

} // namespace TarnwickLv2
