// Fixed identities of Tarnwick as an LV2 plug-in. Hosts' sessions and presets
// find the plug-in and its state by these URIs: never change them.
#pragma once

#define TARNWICK_LV2_URI "https://tarnwick.audio/lv2/tarnwick"
#define TARNWICK_LV2_UI_URI TARNWICK_LV2_URI "#ui"
// The state property holding the saved state's bytes (an atom:Chunk).
#define TARNWICK_LV2_STATE_URI TARNWICK_LV2_URI "#state"
// Factory presets are TARNWICK_LV2_PRESET_PREFIX followed by the slot number.
#define TARNWICK_LV2_PRESET_PREFIX TARNWICK_LV2_URI "#preset"
