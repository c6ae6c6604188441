// CVSTParamUpdateQueue: sample-accurate values between the host's points, on
// its own and through a Processor whose effect asks for them.
#include "CVSTParamUpdateQueue.h"
#include "ProcessorRig.h"
#include "ProbeEffect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Vire2VUR3;
using TestHost::AudioBlock;
using TestHost::ParameterChanges;
using TestHost::ValueQueue;

namespace {

constexpr double kNone = -1000.;

// What getNextValue hands out at each frame of a block (kNone where nothing).
std::vector<double> walk (CVSTParamUpdateQueue& queue, int32 frames)
{
	std::vector<double> values;
	for (int32 i = 0; i < frames; ++i)
	{
		double value = kNone;
		if (!queue.getNextValue (&value))
			value = kNone;
		values.push_back (value);
	}
	return values;
}

ValueQueue hostQueue (ParamID id, std::vector<std::pair<int32, ParamValue>> points)
{
	ValueQueue queue (id);
	queue.points = std::move (points);
	return queue;
}

} // namespace

TEST (UpdateQueue, FreshQueueInterpolatesBetweenTwoPoints)
{
	int32 granularity = 1;
	CVSTParamUpdateQueue queue (&granularity, 0., 1.);
	ValueQueue host = hostQueue (3, {{0, 0.25}, {99, 1.0}});
	queue.beginBlock (100, &host);
	EXPECT_EQ (queue.getParameterIndex (), 3);
	const std::vector<double> values = walk (queue, 100);
	// Frame 0 still uses the fresh queue's zero segment: 0 repeats the last value 0.
	EXPECT_EQ (values[0], kNone);
	const double slope = (1.0 - 0.25) / static_cast<float> (99);
	for (int k = 1; k <= 98; ++k)
	{
		EXPECT_EQ (values[static_cast<size_t> (k)], k * slope + 0.25) << k;
		EXPECT_NEAR (values[static_cast<size_t> (k)], 0.25 + 0.75 * k / 99., 1e-15);
	}
	EXPECT_EQ (values[99], 1.0);
}

TEST (UpdateQueue, GranularityThinsTheValuesBetweenSegmentEnds)
{
	int32 granularity = 4;
	CVSTParamUpdateQueue queue (&granularity, 0., 1.);
	ValueQueue host = hostQueue (0, {{0, 0.}, {50, 1.0}});
	queue.beginBlock (64, &host);
	const std::vector<double> values = walk (queue, 64);
	for (int k = 1; k < 64; ++k)
	{
		const bool expected = (k < 50 && k % 4 == 0) || k == 50;
		EXPECT_EQ (values[static_cast<size_t> (k)] != kNone, expected) << k;
	}
	EXPECT_EQ (values[50], 1.0);
	EXPECT_EQ (values[8], 8 * (1.0 / 50.f));

	// Granularity 0: only the segment ends.
	granularity = 0;
	CVSTParamUpdateQueue coarse (&granularity, 0., 1.);
	coarse.beginBlock (64, &host);
	const std::vector<double> ends = walk (coarse, 64);
	for (int k = 0; k < 64; ++k)
		EXPECT_EQ (ends[static_cast<size_t> (k)] != kNone, k == 50) << k;
}

TEST (UpdateQueue, ValueHoldsAfterTheLastPointAndCarriesIntoTheNextBlock)
{
	int32 granularity = 1;
	CVSTParamUpdateQueue queue (&granularity, 0., 1.);
	ValueQueue first = hostQueue (0, {{0, 0.2}, {50, 0.6}});
	queue.beginBlock (100, &first);
	std::vector<double> values = walk (queue, 100);
	EXPECT_EQ (values[50], 0.6);
	for (int k = 51; k < 100; ++k)
		EXPECT_EQ (values[static_cast<size_t> (k)], kNone) << k;

	// A point on frame 0: the held value at frame 0, the new one from frame 1.
	ValueQueue second = hostQueue (0, {{0, 0.8}});
	queue.beginBlock (100, &second);
	values = walk (queue, 100);
	EXPECT_EQ (values[0], kNone);
	EXPECT_EQ (values[1], 0.8);
	for (int k = 2; k < 100; ++k)
		EXPECT_EQ (values[static_cast<size_t> (k)], kNone) << k;

	// A later first point: a ramp from the held value, starting at frame 0.
	ValueQueue third = hostQueue (0, {{40, 0.4}});
	queue.beginBlock (100, &third);
	values = walk (queue, 100);
	EXPECT_EQ (values[0], kNone);
	const double slope = (0.4 - 0.8) / static_cast<float> (40);
	EXPECT_EQ (values[1], 1 * slope + 0.8);
	EXPECT_EQ (values[39], 39 * slope + 0.8);
	EXPECT_EQ (values[40], 0.4);
	for (int k = 41; k < 100; ++k)
		EXPECT_EQ (values[static_cast<size_t> (k)], kNone) << k;

	// A block without a host queue hands out nothing.
	queue.beginBlock (100, nullptr);
	values = walk (queue, 100);
	for (double value : values)
		EXPECT_EQ (value, kNone);
	EXPECT_EQ (queue.getParameterIndex (), -1);
}

TEST (UpdateQueue, PointsSharingAFrameJump)
{
	int32 granularity = 1;
	CVSTParamUpdateQueue queue (&granularity, 0., 1.);
	ValueQueue host = hostQueue (0, {{0, 0.2}, {10, 0.5}, {10, 0.9}, {20, 0.1}});
	queue.beginBlock (32, &host);
	const std::vector<double> values = walk (queue, 32);
	EXPECT_EQ (values[10], 0.5);
	const double slope = (0.1 - 0.9) / static_cast<float> (10);
	EXPECT_EQ (values[11], 11 * slope + (0.9 - 10 * slope));
	EXPECT_NEAR (values[11], 0.82, 1e-12);
	EXPECT_EQ (values[20], 0.1);
}

TEST (UpdateQueue, HostileQueuesStayInsideZeroToOne)
{
	int32 granularity = 1;
	CVSTParamUpdateQueue queue (&granularity, 0., 1.);
	ValueQueue host = hostQueue (0, {{0, std::numeric_limits<double>::quiet_NaN ()},
	                                 {30, 2.0},
	                                 {10, -1.0},
	                                 {-5, 0.5},
	                                 {1000, 0.75}});
	queue.beginBlock (64, &host);
	for (double value : walk (queue, 64))
		if (value != kNone)
		{
			EXPECT_GE (value, 0.);
			EXPECT_LE (value, 1.);
		}
	double value = 0.;
	EXPECT_FALSE (queue.getValueAtOffset (-1, 0., &value));
	EXPECT_FALSE (queue.getValueAtOffset (64, 0., &value));
	EXPECT_FALSE (queue.getValueAtOffset (3, 0., nullptr));
}

TEST (UpdateQueue, ValueAtOffsetMovesTheCursor)
{
	int32 granularity = 1;
	CVSTParamUpdateQueue queue (&granularity, 0., 1.);
	ValueQueue host = hostQueue (0, {{0, 0.}, {20, 1.}});
	queue.beginBlock (32, &host);
	double value = 0.;
	EXPECT_FALSE (queue.getValueAtOffset (0, 0., &value));   // repeats the fresh 0
	ASSERT_TRUE (queue.getValueAtOffset (10, 0., &value));
	EXPECT_EQ (value, 10 * (1. / 20.f));
	EXPECT_FALSE (queue.getNextValue (&value));                // frame 10 again: unchanged
	ASSERT_TRUE (queue.getNextValue (&value));                 // frame 11
	EXPECT_EQ (value, 11 * (1. / 20.f));
	EXPECT_EQ (queue.getMinimum (), 0.);
	EXPECT_EQ (queue.getMaximum (), 1.);
}

TEST (UpdateQueue, ProcessorHandsEachChangedControlItsQueue)
{
	ProbeControl a;
	a.name = "A";
	ProbeControl b;
	b.name = "B";
	auto* effect = new ProbeEffect ({a, b});
	effect->options.wantsSampleAccurateAutomation = true;
	effect->readUpdateQueues = true;
	ProcessorRig rig (effect);
	rig.start ();

	AudioBlock block (2, 100);
	ParameterChanges changes;
	int32 index = 0;
	IParamValueQueue* queue = changes.addParameterData (0, index);
	queue->addPoint (0, 0.25, index);
	queue->addPoint (99, 1.0, index);
	block.data.inputParameterChanges = &changes;
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);

	// The frame loop also hands the last point to the control.
	EXPECT_EQ (effect->floats[0], 1.f);
	ASSERT_NE (effect->controlAt (0)->updateQueue, nullptr);
	EXPECT_EQ (effect->controlAt (0)->updateQueue->getParameterIndex (), 0);
	EXPECT_EQ (effect->controlAt (1)->updateQueue, nullptr);
	const std::vector<double>& values = effect->queueValues[0];
	ASSERT_EQ (values.size (), 100u);
	EXPECT_TRUE (std::isnan (values[0]));
	EXPECT_EQ (values[1], 1 * (0.75 / static_cast<float> (99)) + 0.25);
	EXPECT_EQ (values[99], 1.0);

	// Next block without a change: the queue no longer refers to the old host queue.
	changes.clear ();
	effect->queueValues[0].clear ();
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	ASSERT_EQ (effect->queueValues[0].size (), 100u);
	for (double value : effect->queueValues[0])
		EXPECT_TRUE (std::isnan (value));

	rig.processor->terminate ();
	rig.initialized = false;
	EXPECT_EQ (effect->controlAt (0)->updateQueue, nullptr);
}

TEST (UpdateQueue, WithoutSampleAccurateUpdatesControlsGetNoQueue)
{
	ProbeControl a;
	a.name = "A";
	auto* effect = new ProbeEffect ({a});
	effect->readUpdateQueues = true;
	ProcessorRig rig (effect);
	rig.start ();
	AudioBlock block (2, 16);
	ParameterChanges changes;
	changes.add (0, 0.5);
	block.data.inputParameterChanges = &changes;
	ASSERT_EQ (rig.processor->process (block.data), kResultOk);
	EXPECT_EQ (effect->controlAt (0)->updateQueue, nullptr);
	EXPECT_TRUE (effect->queueValues[0].empty ());
	EXPECT_EQ (effect->floats[0], 0.5f);
}
