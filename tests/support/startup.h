// Puts the viewer's record back to its start-up values between tests, with
// the panels and the scene's handlers installed once over it.
#pragma once

#include "app/viewer.h"

void restoreStartup();
