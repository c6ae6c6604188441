// The product's editor as a host gets it (Processor created and initialized,
// createView ("editor")), with its frame drawn offscreen instead of into a
// window: no X server needed. Parameters are moved through the edit controller,
// as a host does after a program change or an automation event, and reach the
// controls the way the editor's timer tick brings them there.
#pragma once

// Processor.h first: it must precede the other edit-controller headers.
#include "Processor.h"

#include "pluginterfaces/gui/iplugview.h"
#include "vstgui/lib/cframe.h"

#include <string>

namespace Tarnwick {
namespace Snapshot {

class EditorSnapshot
{
public:
	EditorSnapshot () = default;
	~EditorSnapshot ();
	EditorSnapshot (const EditorSnapshot&) = delete;
	EditorSnapshot& operator= (const EditorSnapshot&) = delete;

	// resourcesPath: the bundle's Contents/Resources (vexa.uidesc and the bitmaps).
	// False with error () set when no editor or an editor without content comes out.
	bool open (const std::string& resourcesPath);
	void close ();
	const std::string& error () const { return lastError; }

	// Host-side changes, through the edit controller.
	Steinberg::tresult setParameter (Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue normalized);
	// The program list's entry, chosen through the program-change parameter.
	Steinberg::tresult selectProgram (Steinberg::int32 index);

	// The editor at the given scale (1: 485 x 270), after the controls followed their parameters.
	bool draw (double scale, VSTGUI::COffscreenImage& image);
	bool writePng (const std::string& path, double scale);

	Steinberg::Vst::IEditController* controller () const { return processor; }

private:
	void syncControls ();

	Vire2VUR3::Processor* processor {nullptr};
	bool initialized {false};
	Steinberg::IPlugView* view {nullptr};
	VSTGUI::VST3Editor* editor {nullptr};
	VSTGUI::CFrame* frame {nullptr};
	std::string lastError;
};

} // namespace Snapshot
} // namespace Tarnwick
