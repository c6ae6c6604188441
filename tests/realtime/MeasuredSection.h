// What a real-time check does around each IAudioProcessor::process call: switch its counting on
// just before the call and off just after it.
#pragma once

namespace Tarnwick {
namespace Realtime {

class MeasuredSection
{
public:
	virtual ~MeasuredSection () = default;
	virtual void enter () = 0;
	virtual void leave () = 0;
};

} // namespace Realtime
} // namespace Tarnwick
