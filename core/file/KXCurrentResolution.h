// The process-wide current resolution: fixed by the last KXClose and used
// by KXWrite to convert line weights. Process-wide by design, which is why
// two documents must not be finished and written concurrently.
#pragma once

double KXGetCurrentResolution();
void KXSetCurrentResolution(double resolution);
