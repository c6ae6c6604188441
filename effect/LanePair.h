#pragma once

// Two single-precision lanes, left and right, in one SSE2 register (x86-64's baseline), and the
// few operations the voices need. Every operation is the IEEE one lane by lane, so a lane
// computes exactly what the scalar code computes on its own sample: write the lane code in the
// scalar code's order, and keep the build free of fused multiply-adds (-ffp-contract=off) so
// that neither side is contracted.

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

struct LanePair
{
#if defined(__SSE2__)
    __m128 v;  // lanes 0 and 1 hold left and right; lanes 2 and 3 are ignored
#else
    float left;
    float right;
#endif
};

#if defined(__SSE2__)

inline LanePair lanePair(float left, float right)
{
    return {_mm_unpacklo_ps(_mm_set_ss(left), _mm_set_ss(right))};
}

inline LanePair loadLanes(const float* left, const float* right)
{
    return {_mm_unpacklo_ps(_mm_load_ss(left), _mm_load_ss(right))};
}

inline LanePair bothLanes(float value)
{
    return {_mm_set1_ps(value)};
}

inline void storeLanes(LanePair p, float* left, float* right)
{
    _mm_store_ss(left, p.v);
    _mm_store_ss(right, _mm_shuffle_ps(p.v, p.v, 1));
}

inline float leftLane(LanePair p)
{
    return _mm_cvtss_f32(p.v);
}

inline float rightLane(LanePair p)
{
    return _mm_cvtss_f32(_mm_shuffle_ps(p.v, p.v, 1));
}

inline LanePair operator+(LanePair a, LanePair b)
{
    return {_mm_add_ps(a.v, b.v)};
}

inline LanePair operator-(LanePair a, LanePair b)
{
    return {_mm_sub_ps(a.v, b.v)};
}

inline LanePair operator*(LanePair a, LanePair b)
{
    return {_mm_mul_ps(a.v, b.v)};
}

// A lane mask: all bits set where the condition holds.
struct LaneMask
{
    __m128 m;
};

inline LaneMask laneMask(bool left, bool right)
{
    return {_mm_castsi128_ps(_mm_set_epi32(0, 0, right ? -1 : 0, left ? -1 : 0))};
}

inline LanePair select(LaneMask mask, LanePair ifSet, LanePair otherwise)
{
    return {_mm_or_ps(_mm_and_ps(mask.m, ifSet.v), _mm_andnot_ps(mask.m, otherwise.v))};
}

inline LaneMask equalLanes(LanePair a, LanePair b)
{
    return {_mm_cmpeq_ps(a.v, b.v)};
}

inline LaneMask greaterLanes(LanePair a, LanePair b)
{
    return {_mm_cmpgt_ps(a.v, b.v)};
}

inline LaneMask lessLanes(LanePair a, LanePair b)
{
    return {_mm_cmplt_ps(a.v, b.v)};
}

inline LaneMask atLeastLanes(LanePair a, LanePair b)
{
    return {_mm_cmpge_ps(a.v, b.v)};
}

// Each lane widened to double, multiplied by `factor` and rounded back to float.
inline LanePair timesInDouble(LanePair a, double factor)
{
    return {_mm_cvtpd_ps(_mm_mul_pd(_mm_cvtps_pd(a.v), _mm_set1_pd(factor)))};
}

// Each lane truncated toward zero to a 32-bit integer and back to float.
inline LanePair truncated(LanePair a)
{
    return {_mm_cvtepi32_ps(_mm_cvttps_epi32(a.v))};
}

// CBiQuad's underflow flush: a result that is not zero but, widened to double, lies within
// 1.175494351e-38 of it becomes +0. That double bound falls between the smallest normal float
// and the next float up, so in float terms: 0 < |y| <= FLT_MIN. Exact zeros (-0 included) and
// NaNs pass, as in the scalar test. With denormals-are-zero set, both sides see a subnormal as
// zero and keep it.
inline LanePair flushTiny(LanePair y)
{
    const __m128 magnitude = _mm_and_ps(y.v, _mm_castsi128_ps(_mm_set1_epi32(0x7fffffff)));
    const __m128 tiny = _mm_cmple_ps(magnitude, _mm_castsi128_ps(_mm_set1_epi32(0x00800000)));
    const __m128 nonZero = _mm_cmpneq_ps(y.v, _mm_setzero_ps());
    return {_mm_andnot_ps(_mm_and_ps(tiny, nonZero), y.v)};
}

#else

inline LanePair lanePair(float left, float right)
{
    return {left, right};
}

inline LanePair loadLanes(const float* left, const float* right)
{
    return {*left, *right};
}

inline LanePair bothLanes(float value)
{
    return {value, value};
}

inline void storeLanes(LanePair p, float* left, float* right)
{
    *left = p.left;
    *right = p.right;
}

inline float leftLane(LanePair p)
{
    return p.left;
}

inline float rightLane(LanePair p)
{
    return p.right;
}

inline LanePair operator+(LanePair a, LanePair b)
{
    return {a.left + b.left, a.right + b.right};
}

inline LanePair operator-(LanePair a, LanePair b)
{
    return {a.left - b.left, a.right - b.right};
}

inline LanePair operator*(LanePair a, LanePair b)
{
    return {a.left * b.left, a.right * b.right};
}

struct LaneMask
{
    bool left;
    bool right;
};

inline LaneMask laneMask(bool left, bool right)
{
    return {left, right};
}

inline LanePair select(LaneMask mask, LanePair ifSet, LanePair otherwise)
{
    return {mask.left ? ifSet.left : otherwise.left, mask.right ? ifSet.right : otherwise.right};
}

inline LaneMask equalLanes(LanePair a, LanePair b)
{
    return {a.left == b.left, a.right == b.right};
}

inline LaneMask greaterLanes(LanePair a, LanePair b)
{
    return {a.left > b.left, a.right > b.right};
}

inline LaneMask lessLanes(LanePair a, LanePair b)
{
    return {a.left < b.left, a.right < b.right};
}

inline LaneMask atLeastLanes(LanePair a, LanePair b)
{
    return {a.left >= b.left, a.right >= b.right};
}

inline LanePair timesInDouble(LanePair a, double factor)
{
    return {static_cast<float>(static_cast<double>(a.left) * factor),
            static_cast<float>(static_cast<double>(a.right) * factor)};
}

inline LanePair truncated(LanePair a)
{
    return {static_cast<float>(static_cast<int32_t>(a.left)), static_cast<float>(static_cast<int32_t>(a.right))};
}

inline float flushTinyLane(float y)
{
    const double wide = y;
    if ((wide > 0.0 && wide < 1.175494351e-38) || (wide < 0.0 && wide > -1.175494351e-38))
        return 0.0f;
    return y;
}

inline LanePair flushTiny(LanePair y)
{
    return {flushTinyLane(y.left), flushTinyLane(y.right)};
}

#endif
