// The recording surface behind the TRACE printer: every call is written to
// a draw log (JSON Lines, one object per call, in call order) and then
// passed on to the surface it wraps, which supplies the font measures and
// may draw the same pages into a PDF.
#pragma once

#include <memory>
#include <string>

#include "platform/files.h"
#include "platform/surface.h"

namespace zuvprint::platform {

// Writes the log into the file log, open at logPath (owned from now on).
std::unique_ptr<Surface> MakeRecordingSurface(std::unique_ptr<Surface> inner, NativeFile log, std::string logPath);

}  // namespace zuvprint::platform
