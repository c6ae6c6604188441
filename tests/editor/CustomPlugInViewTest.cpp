// CVexaCustomView: an effect that draws its own editor gets the window (code 6),
// every parameter's value (code 13, in id order), its size, and a connector.
// Processor.h first: it must precede the other edit-controller headers.
#include "EditorRig.h"

#include "CVexaCustomView.h"

#include "public.sdk/source/vst/vstguieditor.h"

#include <gtest/gtest.h>

using namespace VSTGUI;
using Vire2VUR3::CVexaCustomView;

namespace {

// Records the frame's size at every code 13, to see the sizing come after them.
class SizeWatchingEffect : public EditorProbeEffect
{
public:
	explicit SizeWatchingEffect (const std::vector<ProbeControl>& controls) : EditorProbeEffect (controls)
	{
		drawsOwnEditor = true;
	}
	void* handleGuiMessage (GuiMessage* m) override
	{
		if (m && m->messageCode == kGuiOpenOwnEditor)
			editorPart = static_cast<Steinberg::Vst::VSTGUIEditor*> (m->editorPart);
		if (m && m->messageCode == kGuiParameterChanged && editorPart && editorPart->getFrame ())
			frameWidths.push_back (editorPart->getFrame ()->getWidth ());
		return EditorProbeEffect::handleGuiMessage (m);
	}
	Steinberg::Vst::VSTGUIEditor* editorPart = nullptr;
	std::vector<double> frameWidths;
};

struct CustomViewRig
{
	CustomViewRig () : effect (new SizeWatchingEffect (eightControls ())), rig (effect)
	{
		view = rig.processor ()->createView ("editor");
		custom = view ? dynamic_cast<CVexaCustomView*> (static_cast<Steinberg::CPluginView*> (view)) : nullptr;
		effect->records.clear ();
	}
	~CustomViewRig ()
	{
		if (view)
			view->release ();
	}

	SizeWatchingEffect* effect;
	EditorRig rig;
	Steinberg::IPlugView* view = nullptr;
	CVexaCustomView* custom = nullptr;
};

void* const kParent = reinterpret_cast<void*> (0x5a17);

} // namespace

TEST (CustomPlugInView, OpenSendsWindowThenEveryParameterThenSizes)
{
	CustomViewRig r;
	ASSERT_NE (r.custom, nullptr);
	ASSERT_TRUE (r.custom->open (kParent, kX11EmbedWindowID));

	const Steinberg::int32 count = r.rig.processor ()->getParameterCount ();
	ASSERT_GT (count, 8);
	ASSERT_EQ (r.effect->records.size (), static_cast<size_t> (count) + 1);
	const GuiRecord& open = r.effect->records[0];
	EXPECT_EQ (open.code, kGuiOpenOwnEditor);
	EXPECT_EQ (open.parentWindow, kParent);
	EXPECT_EQ (open.platformType, "X11EmbedWindowID");
	EXPECT_EQ (open.editorPart, static_cast<Steinberg::Vst::VSTGUIEditor*> (r.custom));
	EXPECT_EQ (open.connector, static_cast<Vire2VUR3::CVSTParameterConnector*> (r.custom));
	EXPECT_NE (open.instanceHandle, nullptr);
	EXPECT_EQ (open.listener, nullptr);

	for (Steinberg::int32 i = 0; i < count; ++i)
	{
		const GuiRecord& m = r.effect->records[static_cast<size_t> (i) + 1];
		EXPECT_EQ (m.code, kGuiParameterChanged);
		EXPECT_EQ (m.parameterId, i);
		EXPECT_DOUBLE_EQ (m.value, r.rig.processor ()->getParamNormalized (static_cast<Steinberg::Vst::ParamID> (i)));
	}
	// The frame was still empty while the values went out, then took the effect's size.
	ASSERT_EQ (r.effect->frameWidths.size (), static_cast<size_t> (count));
	for (double w : r.effect->frameWidths)
		EXPECT_EQ (w, 0.0);
	ASSERT_NE (r.custom->getFrame (), nullptr);
	EXPECT_EQ (r.custom->getFrame ()->getWidth (), 400);
	EXPECT_EQ (r.custom->getFrame ()->getHeight (), 300);

	r.effect->records.clear ();
	r.custom->close ();
	ASSERT_EQ (r.effect->codes (), (std::vector<uint32_t> {kGuiCloseOwnEditor}));
	EXPECT_EQ (r.effect->records[0].parentWindow, kParent);
	EXPECT_EQ (r.effect->records[0].instanceHandle, CVexaCustomView::moduleInstanceHandle ());
	EXPECT_EQ (r.custom->getFrame (), nullptr);
}

TEST (CustomPlugInView, EffectDecliningTheOpenGetsNoValues)
{
	CustomViewRig r;
	ASSERT_NE (r.custom, nullptr);
	r.effect->opensOwnEditor = false;
	EXPECT_FALSE (r.custom->open (kParent, kX11EmbedWindowID));
	EXPECT_EQ (r.effect->codes (), (std::vector<uint32_t> {kGuiOpenOwnEditor}));
	// The empty frame stays until close.
	ASSERT_NE (r.custom->getFrame (), nullptr);
	EXPECT_EQ (r.custom->getFrame ()->getWidth (), 0);
	r.custom->close ();
	EXPECT_EQ (r.custom->getFrame (), nullptr);
}

TEST (CustomPlugInView, WithoutAnEffectOpenFails)
{
	CustomViewRig r;
	ASSERT_NE (r.custom, nullptr);
	r.custom->effect = nullptr;
	EXPECT_FALSE (r.custom->open (kParent, kX11EmbedWindowID));
	EXPECT_TRUE (r.effect->records.empty ());
	r.custom->close ();
	EXPECT_TRUE (r.effect->records.empty ());
}

TEST (CustomPlugInView, ConnectorSetsThenReportsAndFramesEdits)
{
	CustomViewRig r;
	ASSERT_NE (r.custom, nullptr);
	Vire2VUR3::CVSTParameterConnector* connector = r.custom;
	connector->guiBeginEdit (3);
	connector->guiSetParameter (3, 0.25f);
	connector->guiEndEdit (3);
	EXPECT_EQ (r.rig.handler.begins, (std::vector<Steinberg::Vst::ParamID> {3}));
	EXPECT_EQ (r.rig.handler.ends, (std::vector<Steinberg::Vst::ParamID> {3}));
	ASSERT_EQ (r.rig.handler.edits.size (), 1u);
	EXPECT_EQ (r.rig.handler.edits[0].first, 3u);
	EXPECT_DOUBLE_EQ (r.rig.handler.edits[0].second, 0.25);
	EXPECT_DOUBLE_EQ (r.rig.handler.heldAtEdit[0], 0.25); // set before reported
	EXPECT_DOUBLE_EQ (r.rig.processor ()->getParamNormalized (3), 0.25);
	// The Processor passes the change on to the effect as well.
	ASSERT_EQ (r.effect->count (kGuiParameterChanged), 1);
	EXPECT_EQ (r.effect->records.back ().parameterId, 3);
	EXPECT_DOUBLE_EQ (r.effect->records.back ().value, 0.25);
}

TEST (CustomPlugInView, OpeningTwiceKeepsOneFrame)
{
	CustomViewRig r;
	ASSERT_NE (r.custom, nullptr);
	ASSERT_TRUE (r.custom->open (kParent, kX11EmbedWindowID));
	ASSERT_TRUE (r.custom->open (kParent, kX11EmbedWindowID));
	EXPECT_EQ (r.custom->getFrame ()->getNbReference (), 1);
	r.custom->close ();
}

TEST (CustomPlugInView, PlatformTypeTexts)
{
	EXPECT_STREQ (CVexaCustomView::platformTypeText (kX11EmbedWindowID), "X11EmbedWindowID");
	EXPECT_STREQ (CVexaCustomView::platformTypeText (kHWND), "HWND");
	EXPECT_STREQ (CVexaCustomView::platformTypeText (kNSView), "NSView");
}
