// The drawing surface over a Windows device context: a printer's DC, whose
// jobs go to the printer's queue or into files, or a memory DC that only
// measures.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/surface.h"

namespace zuvprint::platform {

// Where the jobs of a printer surface are written instead of the printer's
// queue: each job into a new file directory/stem + extension (or the first
// free numbered variant, stem-2 + extension, ...), never replacing a file.
struct JobFiles {
  std::string directory;
  std::string stem;
  std::string extension;
};

// The surface of the Windows printer of that name, at the printer's own
// resolution and page size. Throws PrintError when the printer cannot be
// opened or its device context cannot be created.
std::unique_ptr<Surface> MakePrinterSurface(const std::string& printer, std::optional<JobFiles> files = {});

// A surface over a memory DC: fonts measured as on a printer of 600 pixels
// per inch with an A4 page (portrait 4961 x 7016, landscape swapped); jobs
// begin and end, nothing is drawn and nothing is written.
std::unique_ptr<Surface> MakeMeasuringSurface();

// The page of a measuring surface.
constexpr int kMeasuringDpi = 600;
constexpr int kMeasuringA4Width = 4961;   // 210 mm
constexpr int kMeasuringA4Height = 7016;  // 297 mm

}  // namespace zuvprint::platform
