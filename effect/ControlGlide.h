#pragma once

#include "effect/ControlDescriptor.h"

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The one-pole smoothers of a few float controls, stepped together over a run of frames with
// their state in one place: per control exactly the step of CPlugIn::smoothControls (a settled
// control steps to the same value it would keep), loaded from the descriptors before the run
// and stored back after it.
class ControlGlide
{
public:
    static const int kControls = 8;

    // False, and nothing loaded, unless each of the kControls descriptors is a smoothed float
    // control with a variable.
    bool load(ControlDescriptor* const* descriptors);

    // One smoothing step of every control, in order. Returns the highest position whose value
    // changed (a glide step, or a stalled glide landing on its target), or -1 when none did.
    int step()
    {
#if defined(__SSE2__)
        // Four controls per instruction; the same single-precision operations as one by one.
        int movedBits = 0;
        for (int i = 0; i < kControls; i += 4)
        {
            const __m128 value = _mm_load_ps(m_fValue + i);
            const __m128 target = _mm_load_ps(m_fTarget + i);
            const __m128 y = _mm_add_ps(_mm_mul_ps(_mm_load_ps(m_fB + i), target),
                                        _mm_mul_ps(_mm_load_ps(m_fA + i), _mm_load_ps(m_fState + i)));
            const __m128 moved = _mm_cmpneq_ps(y, _mm_load_ps(m_fLast + i));
            _mm_store_ps(m_fPrevious + i, value);
            _mm_store_ps(m_fState + i, y);
            _mm_store_ps(m_fLast + i, y);
            _mm_store_ps(m_fValue + i, _mm_or_ps(_mm_and_ps(moved, y), _mm_andnot_ps(moved, target)));
            movedBits |= _mm_movemask_ps(moved) << i;
        }
        m_nMovedBits = movedBits;
        // A control that does not move lands on its target: a change when it was not there. That
        // can only raise the answer while the last control did not move.
        int changedBits = movedBits;
        if ((movedBits & (1 << (kControls - 1))) == 0)
            for (int i = 0; i < kControls; i += 4)
                changedBits |= _mm_movemask_ps(_mm_cmpneq_ps(_mm_load_ps(m_fPrevious + i), _mm_load_ps(m_fTarget + i)))
                                << i;
#else
        int movedBits = 0;
        int changedBits = 0;
        for (int i = 0; i < kControls; ++i)
        {
            m_fPrevious[i] = m_fValue[i];
            const float y = m_fB[i] * m_fTarget[i] + m_fA[i] * m_fState[i];
            m_fState[i] = y;
            const bool moved = y != m_fLast[i];
            m_fLast[i] = y;
            m_fValue[i] = moved ? y : m_fTarget[i];
            if (moved)
                movedBits |= 1 << i;
            if (moved || m_fPrevious[i] != m_fTarget[i])
                changedBits |= 1 << i;
        }
        m_nMovedBits = movedBits;
#endif
        if (changedBits == 0)
            return -1;
        return 31 - __builtin_clz(static_cast<unsigned>(changedBits));
    }

    // The control's variable now.
    float value(int position) const { return m_fValue[position]; }

    // The control's variable as it stood when the control at `lastMover` moved in the last
    // step: controls after it still held their values from before the step.
    float valueAtMove(int position, int lastMover) const
    {
        return position <= lastMover ? m_fValue[position] : m_fPrevious[position];
    }

    // Writes the smoother state and the variables back; a control whose smoother was set
    // elsewhere during the run keeps that setting.
    void store();

private:
    ControlDescriptor* m_pDescriptor[kControls];
    alignas(16) float m_fA[kControls];
    alignas(16) float m_fB[kControls];
    alignas(16) float m_fTarget[kControls];
    alignas(16) float m_fState[kControls];
    alignas(16) float m_fLast[kControls];
    alignas(16) float m_fValue[kControls];
    alignas(16) float m_fPrevious[kControls];
    float m_fLoadedState[kControls];
    int m_nMovedBits = 0;  // bit i: control i moved in the last step
    bool m_bLoaded = false;
};
