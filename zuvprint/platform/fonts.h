// Font lookup through fontconfig with the program's own face aliases, so the
// Windows face names of style files ("Lucida Console", "Courier New",
// "Arial") find a face with every Polish letter on any Linux machine.
#pragma once

namespace zuvprint::platform {

// Loads the system's fontconfig configuration plus our aliases and makes it
// current. Cheap after the first call; call it before any font is used.
void InstallFontAliases();

// Frees the font caches of cairo and fontconfig. Only when no surface is
// left: a clean exit that leak checkers can tell from a real leak.
void ReleaseFontCaches();

}  // namespace zuvprint::platform
