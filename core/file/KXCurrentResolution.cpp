#include "KXCurrentResolution.h"

namespace {
double g_currentResolution = 1.0;
}

double KXGetCurrentResolution() { return g_currentResolution; }
void KXSetCurrentResolution(double resolution) { g_currentResolution = resolution; }
