// Puts the process-wide state back to its start-up values between tests,
// with the panels built once so that their handles exist.
#pragma once

void restoreStartup();
