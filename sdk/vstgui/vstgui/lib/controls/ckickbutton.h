#pragma once
// CKickButton lives with the other buttons.
#include "cbuttons.h"
