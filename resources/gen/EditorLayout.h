// Where the editor's controls sit in the 485 x 270 window. The generator draws the
// background labels and scale marks at these places; vexa.uidesc places the views at
// the same rectangles (a test compares the two).
#pragma once

namespace Tarnwick {
namespace Artwork {

// A selector shows its choice as text in a slot and steps through the choices.
enum class ControlKind
{
    Knob,
    Switch,
    Selector
};

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
    // Tempo sync, on both sides of the name plate: each as tall as the switch beside it.
    {"Sync", "SYNC", "sync", ControlKind::Switch, 102, 0, 66, 48},
    {"Note", "NOTE", "", ControlKind::Selector, 333, 1, 66, 52},
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
    {"sync", 66, 98, "Off", "On"},
};

// The placement whose strip file a knob shows: the first knob of the same width (knobs of
// one width are drawn alike). A switch answers its own index.
constexpr int sharedKnobStrip(int placementIndex)
{
    for (int i = 0; i < placementIndex; ++i)
    {
        if (kPlacements[i].kind == ControlKind::Knob && kPlacements[placementIndex].kind == ControlKind::Knob &&
            kPlacements[i].width == kPlacements[placementIndex].width)
            return i;
    }
    return placementIndex;
}

// The selector slot inside each state of a switch image: 24 high, 8 in from the sides,
// 8 down in states of 52 or more (room for the label under it), else 6.
constexpr double kSwitchSlotInset = 8.0;
constexpr double kSwitchSlotHeight = 24.0;
constexpr double slotTop(int stateHeight)
{
    return (stateHeight >= 52) ? 8.0 : 6.0;
}
constexpr double switchSlotTop(const SwitchArt& art)
{
    return slotTop(art.height / 2);
}

constexpr bool sameName(const char* a, const char* b)
{
    while (*a && *a == *b)
        ++a, ++b;
    return *a == *b;
}

// Baselines of the labels printed under the knobs of the two rows, and the line between the rows.
constexpr double kUpperRowLabel = 158.0;
constexpr double kLowerRowLabel = 264.0;
constexpr double kRowDivider = 167.5;

// Baseline of the label printed under the control at this placement index: the background
// prints the label there, and the editor shows the control's value in its place.
constexpr double labelBaseline(int placementIndex)
{
    const ControlPlacement& p = kPlacements[placementIndex];
    if (p.kind == ControlKind::Switch)
    {
        for (const SwitchArt& art : kSwitches)
        {
            if (sameName(art.bitmapName, p.bitmapName))
                return p.y + switchSlotTop(art) + kSwitchSlotHeight + 11.0;
        }
        return p.y + p.height;
    }
    if (p.kind == ControlKind::Selector)
        return p.y + slotTop(p.height) + kSwitchSlotHeight + 11.0;
    return (p.y + p.height * 0.5 < kRowDivider) ? kUpperRowLabel : kLowerRowLabel;
}

// A spare generic knob strip carried in the bitmap table: 80 frames of 42 x 42.
constexpr int kSpareKnobSize = 42;
constexpr int kSpareKnobFrames = 80;

} // namespace Artwork
} // namespace Tarnwick
