#include "effect/CBiQuad.h"

CBiQuad::CBiQuad()
    : m_fX1(0.0f), m_fX2(0.0f), m_fY1(0.0f), m_fY2(0.0f), m_fA0(0.0f), m_fA1(0.0f), m_fA2(0.0f), m_fB1(0.0f), m_fB2(0.0f)
{
}

CBiQuad::~CBiQuad() {}
