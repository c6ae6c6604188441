#include "EditorSnapshot.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/plugin-bindings/vst3editor.h"

namespace Tarnwick {
namespace Snapshot {

using namespace Steinberg;
using namespace Steinberg::Vst;

EditorSnapshot::~EditorSnapshot ()
{
	close ();
}

bool EditorSnapshot::open (const std::string& resourcesPath)
{
	close ();
	// The editor reads its description and bitmaps from here (set before the
	// editor is made: it parses the description in its constructor).
	VSTGUI::CBitmap::setResourceBasePath (resourcesPath);

	processor = new Vire2VUR3::Processor ();
	if (processor->initialize (nullptr) != kResultOk)
	{
		lastError = "the plug-in failed to initialize";
		close ();
		return false;
	}
	initialized = true;

	view = processor->createView (ViewType::kEditor);
	editor = view ? dynamic_cast<VSTGUI::VST3Editor*> (view) : nullptr;
	if (!editor)
	{
		lastError = "the plug-in offers no VSTGUI editor";
		close ();
		return false;
	}

	// What the editor does when a host attaches it, minus the window: a frame
	// of the editor's size holding the description's template, controls bound
	// to their parameters. Drawn at the scale asked for, not the desktop's.
	editor->setScaleFactor (1.);
	ViewRect size;
	if (view->getSize (&size) != kResultOk || size.getWidth () <= 0 || size.getHeight () <= 0)
	{
		lastError = "the editor reports no size";
		close ();
		return false;
	}
	frame = new VSTGUI::CFrame (VSTGUI::CRect (0, 0, size.getWidth (), size.getHeight ()), editor);
	frame->setTransparency (true);
	VSTGUI::UIDescription* description = editor->getUIDescription ();
	VSTGUI::CView* content =
	    description ? description->createView (editor->getTemplateName ().c_str (), editor) : nullptr;
	if (!content)
	{
		lastError = "the editor's description '" + resourcesPath + "/vexa.uidesc' gives no template \"" +
		            editor->getTemplateName () + "\"";
		close ();
		return false;
	}
	const VSTGUI::CRect contentSize = content->getViewSize ();
	content->setViewSize (VSTGUI::CRect (0, 0, contentSize.getWidth (), contentSize.getHeight ()), false);
	frame->setSize (contentSize.getWidth (), contentSize.getHeight ());
	frame->addView (content);
	return true;
}

void EditorSnapshot::close ()
{
	// The views go first: the editor's parameter bindings point at them.
	if (frame)
		frame->forget ();
	frame = nullptr;
	editor = nullptr;
	if (view)
		view->release ();
	view = nullptr;
	if (processor)
	{
		if (initialized)
			processor->terminate ();
		processor->release ();
	}
	processor = nullptr;
	initialized = false;
}

tresult EditorSnapshot::setParameter (ParamID id, ParamValue normalized)
{
	if (!processor)
		return kNotInitialized;
	return processor->setParamNormalized (id, normalized);
}

tresult EditorSnapshot::selectProgram (int32 index)
{
	if (!processor)
		return kNotInitialized;
	const int32 count = processor->getParameterCount ();
	for (int32 i = 0; i < count; ++i)
	{
		ParameterInfo info {};
		if (processor->getParameterInfo (i, info) != kResultOk || (info.flags & ParameterInfo::kIsProgramChange) == 0)
			continue;
		if (index < 0 || index > info.stepCount)
			return kInvalidArgument;
		const ParamValue normalized =
		    info.stepCount > 0 ? static_cast<double> (index) / static_cast<double> (info.stepCount) : 0.0;
		return processor->setParamNormalized (info.id, normalized);
	}
	return kResultFalse;
}

void EditorSnapshot::syncControls ()
{
	// What the editor's timer does at every tick: host-side changes reach the controls.
	if (editor)
		editor->syncControlsFromParameters ();
}

bool EditorSnapshot::draw (double scale, VSTGUI::COffscreenImage& image)
{
	if (!frame)
	{
		lastError = "no editor is open";
		return false;
	}
	syncControls ();
	if (!VSTGUI::renderFrame (frame, scale, image))
	{
		lastError = "the editor cannot be drawn at scale " + std::to_string (scale);
		return false;
	}
	return true;
}

bool EditorSnapshot::writePng (const std::string& path, double scale)
{
	if (!frame)
	{
		lastError = "no editor is open";
		return false;
	}
	syncControls ();
	if (!VSTGUI::renderFrameToPNG (frame, path, scale))
	{
		lastError = "cannot write the editor snapshot '" + path + "'";
		return false;
	}
	return true;
}

} // namespace Snapshot
} // namespace Tarnwick
