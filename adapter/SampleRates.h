// Sample rates the delay lines and filters are made for; others are refused
// (NaN fails both comparisons).
#pragma once

namespace Vire2VUR3 {

constexpr double kLowestSampleRate = 8000.;
constexpr double kHighestSampleRate = 384000.;

inline bool isSupportedSampleRate (double rate)
{
	return rate >= kLowestSampleRate && rate <= kHighestSampleRate;
}

} // namespace Vire2VUR3
