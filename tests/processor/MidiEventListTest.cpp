// CVSTMidiEventList: the block's MIDI events fired by the effect itself.
#include "CVSTMidiEventList.h"
#include "ProcessorRig.h"
#include "ProbeEffect.h"

#include <gtest/gtest.h>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Vire2VUR3;
using TestHost::AudioBlock;
using TestHost::EventList;

namespace {

ProbeControl gainControl ()
{
	ProbeControl control;
	control.name = "Gain";
	return control;
}

} // namespace

TEST (MidiEventList, TwoNotesAtOneOffsetGoOutInOneCall)
{
	ProbeEffect effect ({gainControl ()});
	CVSTMidiEventList list (&effect);
	EventList events;
	events.noteOn (4, 60, 0.5f);
	events.noteOn (4, 67, 1.f);
	events.noteOff (6, 60, 0.f);
	list.beginBlock (&events);
	EXPECT_EQ (list.getEventCount (), 3);

	EXPECT_FALSE (list.fireMidiEvents (0));
	EXPECT_TRUE (effect.calls.empty ());
	EXPECT_TRUE (list.fireMidiEvents (4));
	ASSERT_EQ (effect.calls.size (), 2u);
	EXPECT_EQ (effect.calls[0].what, "noteOn");
	EXPECT_EQ (effect.calls[0].b, 60);
	EXPECT_EQ (effect.calls[0].c, 63);
	EXPECT_EQ (effect.calls[1].b, 67);
	EXPECT_EQ (effect.calls[1].c, 127);
	// Already fired: the cursor has moved on.
	EXPECT_FALSE (list.fireMidiEvents (4));
	EXPECT_FALSE (list.fireMidiEvents (5));
	EXPECT_TRUE (list.fireMidiEvents (6));
	ASSERT_EQ (effect.calls.size (), 3u);
	EXPECT_EQ (effect.calls[2].what, "noteOff");
	EXPECT_FALSE (list.fireMidiEvents (7));
}

TEST (MidiEventList, OutsideABlockThereAreNoEvents)
{
	ProbeEffect effect ({gainControl ()});
	CVSTMidiEventList list (&effect);
	EXPECT_EQ (list.getEventCount (), 0);
	EXPECT_FALSE (list.fireMidiEvents (0));
	EventList events;
	events.noteOn (0, 60, 0.5f);
	list.beginBlock (&events);
	list.endBlock ();
	EXPECT_EQ (list.getEventCount (), 0);
	EXPECT_FALSE (list.fireMidiEvents (0));
	EXPECT_TRUE (effect.calls.empty ());

	// A new block starts from its first event.
	list.beginBlock (&events);
	EXPECT_TRUE (list.fireMidiEvents (0));
	list.beginBlock (&events);
	EXPECT_TRUE (list.fireMidiEvents (0));
	EXPECT_EQ (effect.countCalls ("noteOn"), 2);
}

TEST (MidiEventList, OtherEventTypesAreSkippedButStillConsumed)
{
	ProbeEffect effect ({gainControl ()});
	CVSTMidiEventList list (&effect);
	EventList events;
	Event expression {};
	expression.type = Event::kNoteExpressionValueEvent;
	expression.sampleOffset = 2;
	events.events.push_back (expression);
	events.polyPressure (2, 50, 1.f, 2);
	list.beginBlock (&events);
	EXPECT_TRUE (list.fireMidiEvents (2));
	ASSERT_EQ (effect.calls.size (), 1u);
	EXPECT_EQ (effect.calls[0].what, "midi");
	EXPECT_EQ (effect.calls[0].a, 2);
	EXPECT_EQ (effect.calls[0].b, 0xA0);
	EXPECT_EQ (effect.calls[0].c, 50);
	EXPECT_EQ (effect.calls[0].value, 127.);
}

TEST (MidiEventList, ProcessorHandsTheListToTheEffectAndFillsItEachBlock)
{
	auto* effect = new ProbeEffect ({gainControl ()});
	effect->fireMidiFromList = true;
	ProcessorRig rig (effect);
	rig.start ();
	ASSERT_NE (effect->midiList, nullptr);

	AudioBlock block (2, 8);
	EventList events;
	events.noteOn (3, 60, 0.5f);
	events.noteOn (3, 62, 0.5f);
	block.data.inputEvents = &events;
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	const std::vector<int> expected = {0, 0, 0, 1, 0, 0, 0, 0};
	EXPECT_EQ (effect->fireResults, expected);
	// The frame loop delivers the notes too; the list is the effect's own view.
	EXPECT_EQ (effect->countCalls ("noteOn"), 4);
	// After the block the list no longer refers to the host's events.
	EXPECT_EQ (effect->midiList->getEventCount (), 0);

	rig.processor->terminate ();
	rig.initialized = false;
	EXPECT_EQ (effect->midiList, nullptr);
}
