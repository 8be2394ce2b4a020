// Built without X11: only headless windows exist.
#include "../WindowBackend.h"

namespace kxplatform {

bool X11BackendBuilt() { return false; }

WindowBackend* OpenX11Backend(const char*) { return nullptr; }

}  // namespace kxplatform
