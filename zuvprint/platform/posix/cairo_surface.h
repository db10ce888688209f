// The drawing surface backed by cairo: every print job becomes one PDF
// document, which a job sink then publishes as a file or hands to CUPS.
#pragma once

#include <memory>
#include <string>

#include "platform/surface.h"

namespace zuvprint::platform {

// Where a finished job goes.
class JobSink {
 public:
  virtual ~JobSink() = default;
  // Directory for the job's temporary PDF (the same file system as the
  // final place, when there is one, so publishing is a link).
  virtual std::string TemporaryDirectory() const = 0;
  // Takes the complete PDF at pdfPath. Throws PrintError when it cannot.
  // The caller removes pdfPath afterwards if it is still there.
  virtual void Deliver(const std::string& pdfPath, const std::string& title) = 0;
};

// Publishes each job as <stem>.pdf in a directory, never replacing a file.
std::unique_ptr<JobSink> MakePdfFileSink(std::string directory, std::string stem);

std::unique_ptr<Surface> MakeCairoSurface(std::unique_ptr<JobSink> sink);

// The page measures every surface reports: 600 pixels per inch, A4.
constexpr int kDpi = 600;
constexpr int kA4WidthPx = 4961;   // 210 mm
constexpr int kA4HeightPx = 7016;  // 297 mm

}  // namespace zuvprint::platform
