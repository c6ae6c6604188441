#include "hostkit/HostTransport.h"

namespace Tarnwick {
namespace HostKit {

using namespace Steinberg;
using namespace Steinberg::Vst;

HostTransport::HostTransport (double sampleRate, double tempo, int32 numerator, int32 denominator)
{
	processContext.sampleRate = sampleRate;
	processContext.tempo = tempo;
	processContext.timeSigNumerator = numerator;
	processContext.timeSigDenominator = denominator;
	processContext.state = ProcessContext::kTempoValid | ProcessContext::kTimeSigValid |
	                       ProcessContext::kProjectTimeMusicValid | ProcessContext::kBarPositionValid;
	updateMusicalPosition ();
}

void HostTransport::setPlaying (bool playing)
{
	if (playing)
		processContext.state |= ProcessContext::kPlaying;
	else
		processContext.state &= ~static_cast<uint32> (ProcessContext::kPlaying);
}

void HostTransport::setTempo (double bpm)
{
	processContext.tempo = bpm;
	updateMusicalPosition ();
}

void HostTransport::setPosition (int64 projectTimeSamples)
{
	processContext.projectTimeSamples = projectTimeSamples;
	updateMusicalPosition ();
}

void HostTransport::advance (int32 frames)
{
	if ((processContext.state & ProcessContext::kPlaying) == 0 || frames <= 0)
		return;
	processContext.projectTimeSamples += frames;
	updateMusicalPosition ();
}

void HostTransport::updateMusicalPosition ()
{
	const double seconds = static_cast<double> (processContext.projectTimeSamples) / processContext.sampleRate;
	processContext.projectTimeMusic = seconds * processContext.tempo / 60.0; // in quarter notes
	const double quartersPerBar = processContext.timeSigNumerator * 4.0 / processContext.timeSigDenominator;
	const auto bars = static_cast<int64> (processContext.projectTimeMusic / quartersPerBar);
	processContext.barPositionMusic = static_cast<double> (bars) * quartersPerBar;
}

} // namespace HostKit
} // namespace Tarnwick
