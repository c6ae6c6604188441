// Hands one host event to an effect as the framework's MIDI calls. Shared by
// the frame loop and the MIDI event list.
#pragma once

#include "pluginterfaces/vst/ivstevents.h"

class CPlugIn;

namespace Vire2VUR3 {

// Note on, note off and poly pressure reach the effect; other event types are
// ignored, as are events with a channel or pitch outside MIDI's range.
void deliverMidiEvent (CPlugIn& effect, const Steinberg::Vst::Event& event);

} // namespace Vire2VUR3
