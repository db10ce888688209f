// The fonts a run has used stay loaded until it ends.
#pragma once

namespace zuvprint::platform {

// Frees the font caches of the platform's text layer. Only when no surface
// is left: a clean exit that leak checkers can tell from a real leak.
void ReleaseFontCaches();

}  // namespace zuvprint::platform
