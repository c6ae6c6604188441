// What the editor stress tests share: the check that the plug-in leaves the process's X error
// handler as it found it, and the defined-state check of an instance driven as a VST 3 plug-in.
#pragma once

#include <gtest/gtest.h> // before Xlib, whose macros (None, Bool) clash with it

#include "Vst2ModuleRig.h"
#include "X11TestWindow.h"

#include "hostkit/HostKit.h"

#include <X11/Xlib.h>

namespace StressEditor {

// Puts Xlib's own error handler in place (it ends the process on any error it sees), so that an
// X error the plug-in lets through fails the run; tells whether that handler is still the one
// installed.
class XErrorHandlerCheck
{
public:
	XErrorHandlerCheck ();
	~XErrorHandlerCheck ();
	// True when the handler in place is the one installed at construction.
	bool untouched () const;

private:
	XErrorHandler installed {nullptr};
	XErrorHandler before {nullptr};
};

// Xvfb resets itself when its last client goes, and refuses connections while it does: one
// connection of ours stays open for the whole run so that tests do not race the reset.
void keepXServerUp ();

// The known chunk's component state restored, a fresh set-up at 48 kHz, 24 blocks of noise
// (seed 99) rendered.
void renderKnownVst3 (Tarnwick::HostKit::PluginInstance& instance, std::vector<float> out[2]);

// The defined-state check: `instance` renders bit for bit what a fresh instance of the same
// module renders. Use with ASSERT_NO_FATAL_FAILURE.
void expectVst3Recovers (Tarnwick::HostKit::PluginModule& module, Tarnwick::HostKit::PluginInstance& instance);

// Parent window ids that are not windows: never made, made and destroyed.
Window destroyedWindow (Display* display);
constexpr unsigned long kNeverMadeWindow = 0x7ffffff0ul;

} // namespace StressEditor
