#include "effect/ControlGlide.h"

bool ControlGlide::load(ControlDescriptor* const* descriptors)
{
    m_bLoaded = false;
    for (int i = 0; i < kControls; ++i)
    {
        const ControlDescriptor* d = descriptors[i];
        if (d == nullptr || !d->smoothingEnabled || d->dataType != kDataFloat || d->floatVariable == nullptr)
            return false;
    }
    for (int i = 0; i < kControls; ++i)
    {
        ControlDescriptor* d = descriptors[i];
        m_pDescriptor[i] = d;
        m_fA[i] = d->smoothCoeffA;
        m_fB[i] = d->smoothCoeffB;
        m_fTarget[i] = d->smoothingTarget;
        m_fState[i] = d->smoothState;
        m_fLast[i] = d->smoothLastOutput;
        m_fValue[i] = *d->floatVariable;
        m_fPrevious[i] = m_fValue[i];
    }
    // A settled control stays settled until a step says otherwise.
    m_nMovedBits = 0;
    for (int i = 0; i < kControls; ++i)
        if (!descriptors[i]->smoothingSettled)
            m_nMovedBits |= 1 << i;
    m_bLoaded = true;
    return true;
}

void ControlGlide::store()
{
    if (!m_bLoaded)
        return;
    for (int i = 0; i < kControls; ++i)
    {
        ControlDescriptor* d = m_pDescriptor[i];
        d->smoothState = m_fState[i];
        d->smoothLastOutput = m_fLast[i];
        const bool settled = (m_nMovedBits & (1 << i)) == 0;
        d->smoothingSettled = settled;
        if (settled)
            d->smoothingSettledTarget = m_fTarget[i];
        *d->floatVariable = m_fValue[i];
    }
}
