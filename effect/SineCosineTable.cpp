#include "effect/SineCosineTable.h"

#include <cmath>

SineCosineTable::SineCosineTable() : m_bFilled(false)
{
    for (int i = 0; i < kEntries; ++i)
    {
        const double angle = static_cast<double>(i) / kStepsPerRadian;
        m_Sine[i] = std::sin(angle);
        m_Cosine[i] = std::cos(angle);
    }
    m_bFilled = true;
}

// Built at load time, so no audio thread ever pays for (or waits on) the first use.
const SineCosineTable SineCosineTable::s_Shared;
