// Text copies into the fixed-size buffers of the VST 2 interface.
#pragma once

#include "pluginterfaces/vst/vsttypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Steinberg {
namespace Vst {
namespace Vst2Text {

// Copies a zero-terminated byte string into dst (size bytes, terminator
// included), cutting it short when needed. Does nothing when dst is null or
// size is not positive.
void copyBytes (char* dst, int32_t size, const char* src);

// Copies a zero-terminated UTF-16 string as UTF-8 into dst (size bytes,
// terminator included), never cutting a character in half.
void copyUtf16 (char* dst, int32_t size, const TChar* src);

// Converts a zero-terminated UTF-8 string into dst (at most dstSize units,
// terminator included). Invalid bytes become U+FFFD.
void toUtf16 (TChar* dst, int32_t dstSize, const char* src);

// Makes the names pairwise different, each within size bytes (terminator included): a
// name that an earlier one already took ends in the lowest number from 2 up that makes it
// new, cut short to make room. Deterministic; the first of equal names keeps its own.
void makeUnique (std::vector<std::string>& names, int32_t size);

} // namespace Vst2Text
} // namespace Vst
} // namespace Steinberg
