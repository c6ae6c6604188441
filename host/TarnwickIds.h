// Fixed identities of the Tarnwick plug-in. Saved projects find the plug-in by
// these values: never change them.
#pragma once

#include "pluginterfaces/base/funknown.h"

namespace Vire2VUR3 {

// The processor class ID as four 32-bit words.
constexpr Steinberg::uint32 kProcessorClassIdWord1 = 0x7A3C91E4;
constexpr Steinberg::uint32 kProcessorClassIdWord2 = 0x2B6D4F18;
constexpr Steinberg::uint32 kProcessorClassIdWord3 = 0x9E05C3A7;
constexpr Steinberg::uint32 kProcessorClassIdWord4 = 0x41D8F26B;

// The same ID as the 16 bytes hosts see (class info, createInstance, VST 2
// wrapper), in COM-compatible order on every platform: first word little-endian,
// second word as two little-endian 16-bit halves (high half first), third and
// fourth words big-endian. Spelled out here because the SDK's FUID uses another
// order on Linux.
#define TARNWICK_COM_ORDER_UID(l1, l2, l3, l4)                                          \
	{                                                                                   \
		(Steinberg::int8) ((l1) & 0xFF), (Steinberg::int8) (((l1) >> 8) & 0xFF),         \
		(Steinberg::int8) (((l1) >> 16) & 0xFF), (Steinberg::int8) (((l1) >> 24) & 0xFF),\
		(Steinberg::int8) (((l2) >> 16) & 0xFF), (Steinberg::int8) (((l2) >> 24) & 0xFF),\
		(Steinberg::int8) ((l2) & 0xFF), (Steinberg::int8) (((l2) >> 8) & 0xFF),         \
		(Steinberg::int8) (((l3) >> 24) & 0xFF), (Steinberg::int8) (((l3) >> 16) & 0xFF),\
		(Steinberg::int8) (((l3) >> 8) & 0xFF), (Steinberg::int8) ((l3) & 0xFF),         \
		(Steinberg::int8) (((l4) >> 24) & 0xFF), (Steinberg::int8) (((l4) >> 16) & 0xFF),\
		(Steinberg::int8) (((l4) >> 8) & 0xFF), (Steinberg::int8) ((l4) & 0xFF)          \
	}

inline constexpr Steinberg::TUID kProcessorClassTUID =
    TARNWICK_COM_ORDER_UID (kProcessorClassIdWord1, kProcessorClassIdWord2,
                            kProcessorClassIdWord3, kProcessorClassIdWord4);

// The processor class ID as one global FUID, built at module load.
inline const Steinberg::FUID ProcessorUID = Steinberg::FUID::fromTUID (kProcessorClassTUID);

// VST 2 unique ID: the four characters 'T','r','n','w' (the value CCONST builds).
constexpr Steinberg::int32 kVst2UniqueId =
    ('T' << 24) | ('r' << 16) | ('n' << 8) | 'w';

} // namespace Vire2VUR3
