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
        m_fLoadedState[i] = d->smoothState;
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
        // A state restore on the host's thread may have made the control jump during the run:
        // that jump stands.
        if (d->smoothState != m_fLoadedState[i])
            continue;
        d->smoothState = m_fState[i];
        d->smoothLastOutput = m_fLast[i];
        *d->floatVariable = m_fValue[i];
        // So may a new target have come; the glide then goes on toward it.
        const bool settled = (m_nMovedBits & (1 << i)) == 0 && d->smoothingTarget == m_fTarget[i];
        d->smoothingSettled = settled;
        if (settled)
            d->smoothingSettledTarget = m_fTarget[i];
    }
}
