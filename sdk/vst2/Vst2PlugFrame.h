// The frame around a wrapped editor in a VST 2 host's window: a resize goes to
// the host's size-window request.
#pragma once

#include "IdlePlugFrame.h"
#include "Vst2Abi.h"

namespace Steinberg {
namespace Vst {

class Vst2PlugFrame : public IdlePlugFrame
{
public:
	// Created with one reference, owned by the caller.
	Vst2PlugFrame (vst_effect* effect, Vst2Abi::HostCallback hostCallback);

protected:
	bool hostResize (int32 width, int32 height) override;

private:
	vst_effect* effect;
	Vst2Abi::HostCallback hostCallback;
};

} // namespace Vst
} // namespace Steinberg
