// Where the editor's controls sit in the 485 x 270 window. The generator draws the
// background labels and scale marks at these places; vexa.uidesc places the views at
// the same rectangles (a test compares the two).
#pragma once

namespace Tarnwick {
namespace Artwork {

enum class ControlKind { Knob, Switch };

struct ControlPlacement
{
	const char* tagName;    // control-tag in vexa.uidesc
	const char* label;      // text printed under the control
	const char* bitmapName; // bitmap entry (file = name + ".png")
	ControlKind kind;
	int x, y, width, height;
};

constexpr int kEditorWidth = 485;
constexpr int kEditorHeight = 270;

// Knob strips hold this many frames; the pointer sweeps 270 degrees from -135.
constexpr int kKnobFrames = 135;
constexpr double kKnobStartDegrees = -135.0;
constexpr double kKnobSweepDegrees = 270.0;

constexpr ControlPlacement kPlacements[] = {
	{"Delay State", "DELAY STATE", "delaystate", ControlKind::Switch, 0, 0, 96, 48},
	{"Active", "ACTIVE", "active", ControlKind::Switch, 405, 1, 80, 52},
	{"Cutoff", "CUTOFF", "cutk", ControlKind::Knob, 261, 68, 78, 78},
	{"Offset", "OFFSET", "offsetk", ControlKind::Knob, 143, 67, 80, 80},
	{"Delay Ratio", "DELAY RATIO", "ratiok", ControlKind::Knob, 10, 56, 87, 87},
	{"Resonance", "RESONANCE", "resk", ControlKind::Knob, 387, 70, 76, 76},
	{"Delay", "DELAY", "timek", ControlKind::Knob, 10, 172, 87, 87},
	{"Feedback", "FEEDBACK", "fdbk", ControlKind::Knob, 139, 173, 84, 84},
	{"Wet/Dry", "WET / DRY", "wdk", ControlKind::Knob, 263, 174, 79, 79},
	{"Volume", "VOLUME", "gaink", ControlKind::Knob, 386, 175, 78, 78},
};

constexpr int kPlacementCount = sizeof (kPlacements) / sizeof (kPlacements[0]);

// Two-state switch images: both states stacked, the second starting at half the height.
struct SwitchArt
{
	const char* bitmapName;
	int width, height;         // whole image
	const char* firstState;    // shown at value 0
	const char* secondState;   // shown at value 1
};

constexpr SwitchArt kSwitches[] = {
	{"delaystate", 96, 98, "Comb", "Delay"},
	{"active", 80, 104, "On", "Off"},
};

// A spare generic knob strip carried in the bitmap table: 80 frames of 42 x 42.
constexpr int kSpareKnobSize = 42;
constexpr int kSpareKnobFrames = 80;

} // namespace Artwork
} // namespace Tarnwick
