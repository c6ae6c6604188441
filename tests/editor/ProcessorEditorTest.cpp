// The Processor's editor side: createView's rules, VST3EditorVx (knob mode, timer,
// dependent-control feedback) and the delegate's open, close and timer messages.
#include "EditorRig.h"
#include "VST3EditorVx.h"
#include "CVexaCustomView.h"

#include "vstgui/lib/controls/ccontrol.h"
#include "vstgui/lib/cvstguitimer.h"

#include "pluginterfaces/gui/iplugview.h"

#include <gtest/gtest.h>

using namespace VSTGUI;
using Vire2VUR3::VST3EditorVx;

namespace {

// Owns one reference to a created view.
struct ViewHolder
{
	explicit ViewHolder (Steinberg::IPlugView* v) : view (v) {}
	~ViewHolder ()
	{
		if (view)
			view->release ();
	}
	Steinberg::IPlugView* view;
};


} // namespace

// IPlugView* → the concrete view: every view here is a VSTGUIEditor underneath.
template <typename T>
static T* viewAs (Steinberg::IPlugView* view)
{
	if (!view)
		return nullptr;
	auto* pluginView = static_cast<Steinberg::CPluginView*> (view);
	return dynamic_cast<T*> (pluginView);
}

TEST (CreateView, NullWithoutAnEffect)
{
	auto* processor = new TestProcessor ();
	EXPECT_EQ (processor->createView (Steinberg::Vst::ViewType::kEditor), nullptr);
	processor->release ();
}

TEST (CreateView, NullForAnyNameButEditor)
{
	EditorRig rig;
	EXPECT_EQ (rig.processor ()->createView ("Editor"), nullptr);
	EXPECT_EQ (rig.processor ()->createView ("editor2"), nullptr);
	EXPECT_EQ (rig.processor ()->createView (""), nullptr);
	EXPECT_EQ (rig.processor ()->createView (nullptr), nullptr);
}

TEST (CreateView, NullWhenTheEffectHasNoEditor)
{
	auto* effect = new EditorProbeEffect (eightControls (), false);
	EditorRig rig (effect);
	EXPECT_EQ (rig.processor ()->createView ("editor"), nullptr);
	EXPECT_EQ (effect->count (kGuiQueryOwnEditor), 0);
}

TEST (CreateView, ProductGetsTheDescriptionEditor)
{
	EditorRig rig;
	ViewHolder holder (rig.processor ()->createView ("editor"));
	auto* editor = viewAs<VST3EditorVx> (holder.view);
	ASSERT_NE (editor, nullptr);
	EXPECT_EQ (editor->knobMode, 2);
	EXPECT_EQ (editor->effect, rig.rig.effect ());
	EXPECT_EQ (editor->getKnobMode (), kLinearMode);
	EXPECT_EQ (editor->getIdleRate (), 50);
	EXPECT_EQ (editor->getTemplateName (), "Editor");
	ASSERT_EQ (editor->editorControls.controlCount (), 12);
	for (int i = 0; i < 12; ++i)
	{
		EXPECT_STREQ (editor->editorControls.controlAt (i)->controlName, rig.rig.effect ()->controlAt (i)->controlName);
		EXPECT_EQ (editor->editorControls.controlAt (i)->controlId, rig.rig.effect ()->controlAt (i)->controlId);
		// A copy, not the effect's own descriptor.
		EXPECT_NE (editor->editorControls.controlAt (i), rig.rig.effect ()->controlAt (i));
	}
	// 485 x 270, fixed.
	Steinberg::ViewRect size;
	ASSERT_EQ (holder.view->getSize (&size), Steinberg::kResultOk);
	EXPECT_EQ (size.getWidth (), 485);
	EXPECT_EQ (size.getHeight (), 270);
	EXPECT_EQ (holder.view->canResize (), Steinberg::kResultFalse);
	EXPECT_EQ (holder.view->isPlatformTypeSupported ("X11EmbedWindowID"), Steinberg::kResultTrue);
}

TEST (CreateView, AsksTheEffectWhetherItDrawsItsOwnEditor)
{
	auto* effect = new EditorProbeEffect (eightControls ());
	EditorRig rig (effect);
	{
		ViewHolder holder (rig.processor ()->createView ("editor"));
		EXPECT_NE (viewAs<VST3EditorVx> (holder.view), nullptr);
		EXPECT_EQ (viewAs<Vire2VUR3::CVexaCustomView> (holder.view), nullptr);
	}
	ASSERT_EQ (effect->codes (), (std::vector<uint32_t> {kGuiQueryOwnEditor}));

	effect->drawsOwnEditor = true;
	ViewHolder holder (rig.processor ()->createView ("editor"));
	auto* custom = viewAs<Vire2VUR3::CVexaCustomView> (holder.view);
	ASSERT_NE (custom, nullptr);
	EXPECT_EQ (custom->effect, effect);
	Steinberg::ViewRect size;
	holder.view->getSize (&size);
	EXPECT_EQ (size.getWidth (), 100);
	EXPECT_EQ (size.getHeight (), 100);
}

TEST (VST3EditorVx, KnobModeTable)
{
	EditorRig rig;
	ViewHolder holder (rig.processor ()->createView ("editor"));
	auto* editor = viewAs<VST3EditorVx> (holder.view);
	ASSERT_NE (editor, nullptr);
	editor->knobMode = 0;
	EXPECT_EQ (editor->getKnobMode (), kCircularMode);
	editor->knobMode = 1;
	EXPECT_EQ (editor->getKnobMode (), kRelativCircularMode);
	editor->knobMode = 2;
	EXPECT_EQ (editor->getKnobMode (), kLinearMode);
	editor->knobMode = 7;
	EXPECT_EQ (editor->getKnobMode (), kLinearMode);
	editor->knobMode = -1;
	EXPECT_EQ (editor->getKnobMode (), kLinearMode);

	// 3: the host's choice, as it told the edit controller.
	editor->knobMode = 3;
	rig.processor ()->setKnobMode (1);
	EXPECT_EQ (editor->getKnobMode (), kRelativCircularMode);
	rig.processor ()->setKnobMode (0);
	EXPECT_EQ (editor->getKnobMode (), kCircularMode);
	rig.processor ()->setKnobMode (5);
	EXPECT_EQ (editor->getKnobMode (), kLinearMode);
	rig.processor ()->setKnobMode (2);
	EXPECT_EQ (editor->getKnobMode (), kLinearMode);
	rig.processor ()->setKnobMode (0);
}

TEST (VST3EditorVx, StartsWithModeThreeAndNoEffect)
{
	EditorRig rig;
	auto* editor = new VST3EditorVx (rig.processor (), "Editor", "vexa.uidesc");
	EXPECT_EQ (editor->knobMode, 3);
	EXPECT_EQ (editor->effect, nullptr);
	EXPECT_EQ (editor->editorControls.controlCount (), 0);
	EXPECT_TRUE (editor->beforeSizeChange (CRect (0, 0, 10, 10), CRect (0, 0, 485, 270)));
	editor->release ();
}

TEST (VST3EditorVx, EveryTimerTickReachesTheEffectAsCodeTwo)
{
	auto* effect = new EditorProbeEffect (eightControls ());
	EditorRig rig (effect);
	ViewHolder holder (rig.processor ()->createView ("editor"));
	auto* editor = viewAs<VST3EditorVx> (holder.view);
	ASSERT_NE (editor, nullptr);
	effect->records.clear ();
	for (int i = 0; i < 3; ++i)
		editor->notify (nullptr, CVSTGUITimer::kMsgTimer);
	editor->notify (nullptr, "something else");
	EXPECT_EQ (effect->codes (), (std::vector<uint32_t> {kGuiTimerPing, kGuiTimerPing, kGuiTimerPing}));
}

TEST (VST3EditorVx, DependentControlsFollowAnEdit)
{
	auto* effect = new EditorProbeEffect (eightControls ());
	effect->hasDependency = true;
	effect->dependencySourceId = 100; // C0 drives C3
	effect->dependentTargetId = 103;
	effect->dependentOffset = 1.f;
	EditorRig rig (effect);
	ViewHolder holder (rig.processor ()->createView ("editor"));
	auto* editor = viewAs<VST3EditorVx> (holder.view);
	ASSERT_NE (editor, nullptr);

	// A control bound to no parameter still drives the feedback.
	auto* control = new CControl (CRect (0, 0, 10, 10), nullptr, 0);
	control->setValueNormalized (0.5f); // plain 5
	rig.handler.edits.clear ();
	const int freedBefore = effect->freedLists;
	editor->valueChanged (control);
	control->forget ();

	ASSERT_EQ (rig.handler.edits.size (), 1u);
	EXPECT_EQ (rig.handler.edits[0].first, 3u);
	EXPECT_DOUBLE_EQ (rig.handler.edits[0].second, 0.6); // plain 6 of 0 .. 10
	EXPECT_DOUBLE_EQ (rig.processor ()->getParamNormalized (3), 0.6);
	// Set before reported.
	EXPECT_DOUBLE_EQ (rig.handler.heldAtEdit[0], 0.6);
	EXPECT_EQ (effect->freedLists, freedBefore + 1);

	// Without a dependency nothing moves.
	rig.handler.edits.clear ();
	editor->applyDependentUpdates (105, 2.f, false);
	EXPECT_TRUE (rig.handler.edits.empty ());
}

TEST (Delegate, OpenCloseAndTimerMessages)
{
	auto* effect = new EditorProbeEffect (eightControls ());
	EditorRig rig (effect);
	ViewHolder holder (rig.processor ()->createView ("editor"));
	auto* editor = viewAs<VST3EditorVx> (holder.view);
	ASSERT_NE (editor, nullptr);
	effect->records.clear ();

	rig.processor ()->delegateMessage.listener = reinterpret_cast<void*> (0x1);
	rig.processor ()->didOpen (editor);
	rig.processor ()->didOpen (nullptr); // nothing without an editor
	rig.processor ()->willClose (nullptr);
	EXPECT_EQ (rig.processor ()->receiveText ("VSTGUITimerPing"), Steinberg::kResultOk);
	EXPECT_EQ (rig.processor ()->receiveText ("RecreateView"), Steinberg::kResultOk);
	EXPECT_EQ (rig.processor ()->receiveText ("anything"), Steinberg::kResultOk);
	EXPECT_EQ (rig.processor ()->receiveText (nullptr), Steinberg::kResultOk);

	ASSERT_EQ (effect->codes (), (std::vector<uint32_t> {kGuiDidOpen, kGuiWillClose, kGuiTimerPing, kGuiDidOpen}));
	EXPECT_EQ (effect->records[0].viewName, "");
	EXPECT_EQ (effect->records[0].listener, nullptr);
	EXPECT_EQ (effect->records[0].editorPart, nullptr);
}

TEST (Delegate, NothingWithoutAnEffect)
{
	auto* processor = new TestProcessor ();
	EXPECT_EQ (processor->receiveText ("VSTGUITimerPing"), Steinberg::kResultOk);
	processor->didOpen (nullptr);
	processor->willClose (nullptr);
	UIAttributes attributes;
	attributes.setAttribute ("origin", "0, 0");
	attributes.setAttribute ("size", "10, 10");
	EXPECT_EQ (processor->createCustomView ("EffectView", attributes, nullptr, nullptr), nullptr);
	EXPECT_EQ (processor->createSubController ("VectorJoystick", nullptr, nullptr), nullptr);
	processor->release ();
}

TEST (VST3EditorVx, ARecreatedViewCountsAsOpenedAgain)
{
	auto* effect = new EditorProbeEffect (eightControls ());
	EditorRig rig (effect);
	ViewHolder holder (rig.processor ()->createView ("editor"));
	auto* editor = viewAs<VST3EditorVx> (holder.view);
	ASSERT_NE (editor, nullptr);
	effect->records.clear ();
	editor->requestRecreateView ();
	editor->notify (nullptr, "not the timer"); // re-creation waits for the tick
	EXPECT_TRUE (effect->records.empty ());
	editor->notify (nullptr, CVSTGUITimer::kMsgTimer);
	EXPECT_FALSE (editor->isRecreateViewPending ());
	editor->notify (nullptr, CVSTGUITimer::kMsgTimer);
	EXPECT_EQ (effect->codes (), (std::vector<uint32_t> {kGuiTimerPing, kGuiDidOpen, kGuiTimerPing}));
}
