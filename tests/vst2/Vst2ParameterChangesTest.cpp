// The fixed-capacity parameter changes and event list the wrapper hands to
// process: ordered points, bounded storage, clear refusals when full.
#include "Vst2EventList.h"
#include "Vst2ParameterChanges.h"

#include <gtest/gtest.h>

using namespace Steinberg;
using namespace Steinberg::Vst;

TEST (Vst2ParameterChanges, PointsStayOrderedByOffset)
{
	Vst2ParameterChanges changes (4);
	ASSERT_TRUE (changes.addChange (7, 10, 0.1));
	ASSERT_TRUE (changes.addChange (7, 0, 0.2));
	ASSERT_TRUE (changes.addChange (7, 5, 0.3));
	ASSERT_TRUE (changes.addChange (7, 5, 0.4)); // same offset: replaced
	ASSERT_EQ (changes.getParameterCount (), 1);
	IParamValueQueue* queue = changes.getParameterData (0);
	ASSERT_NE (queue, nullptr);
	EXPECT_EQ (queue->getParameterId (), 7u);
	ASSERT_EQ (queue->getPointCount (), 3);
	int32 offset = 0;
	ParamValue value = 0;
	queue->getPoint (0, offset, value);
	EXPECT_EQ (offset, 0);
	EXPECT_EQ (value, 0.2);
	queue->getPoint (1, offset, value);
	EXPECT_EQ (offset, 5);
	EXPECT_EQ (value, 0.4);
	queue->getPoint (2, offset, value);
	EXPECT_EQ (offset, 10);
	EXPECT_EQ (queue->getPoint (3, offset, value), kInvalidArgument);
	EXPECT_EQ (queue->getPoint (-1, offset, value), kInvalidArgument);
	EXPECT_EQ (changes.getParameterData (1), nullptr);
	EXPECT_EQ (changes.getParameterData (-1), nullptr);
}

TEST (Vst2ParameterChanges, QueuesAreBoundedAndTheLastValueSurvivesAFullQueue)
{
	Vst2ParameterChanges changes (2);
	EXPECT_TRUE (changes.addChange (1, 0, 0.0));
	EXPECT_TRUE (changes.addChange (2, 0, 0.0));
	EXPECT_FALSE (changes.addChange (3, 0, 0.0));
	int32 index = -1;
	EXPECT_EQ (changes.addParameterData (3, index), nullptr);
	EXPECT_NE (changes.addParameterData (2, index), nullptr);
	EXPECT_EQ (index, 1);

	for (int32 i = 0; i < Vst2ParamValueQueue::kMaxPoints + 10; ++i)
		changes.addChange (1, i, i / 100.0);
	IParamValueQueue* queue = changes.getParameterData (0);
	ASSERT_EQ (queue->getPointCount (), Vst2ParamValueQueue::kMaxPoints);
	int32 offset = 0;
	ParamValue value = 0;
	queue->getPoint (Vst2ParamValueQueue::kMaxPoints - 1, offset, value);
	EXPECT_EQ (offset, Vst2ParamValueQueue::kMaxPoints + 9);
	EXPECT_EQ (value, (Vst2ParamValueQueue::kMaxPoints + 9) / 100.0);
	// An early point cannot be squeezed into a full queue.
	int32 pointIndex = 0;
	EXPECT_EQ (queue->addPoint (0, 1.0, pointIndex), kResultOk); // offset 0 exists: replaced
	EXPECT_EQ (queue->addPoint (-1, 1.0, pointIndex), kResultFalse);

	changes.clear ();
	EXPECT_EQ (changes.getParameterCount (), 0);
	EXPECT_TRUE (changes.addChange (9, 0, 0.5));
	EXPECT_EQ (changes.getParameterData (0)->getPointCount (), 1);
}

TEST (Vst2EventList, RefusesEventsOnceFull)
{
	Vst2EventList list;
	Event e {};
	for (int32 i = 0; i < Vst2EventList::kMaxEvents; ++i)
	{
		e.sampleOffset = i;
		ASSERT_EQ (list.addEvent (e), kResultOk);
	}
	EXPECT_EQ (list.addEvent (e), kResultFalse);
	EXPECT_EQ (list.getEventCount (), Vst2EventList::kMaxEvents);
	Event out {};
	EXPECT_EQ (list.getEvent (5, out), kResultOk);
	EXPECT_EQ (out.sampleOffset, 5);
	EXPECT_EQ (list.getEvent (Vst2EventList::kMaxEvents, out), kInvalidArgument);
	EXPECT_EQ (list.getEvent (-1, out), kInvalidArgument);
	list.clear ();
	EXPECT_EQ (list.getEventCount (), 0);
}
