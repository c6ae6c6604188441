#pragma once
// COnOffButton lives with the other buttons.
#include "cbuttons.h"
