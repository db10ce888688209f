#include "platform/printers.h"

#include <cstdlib>

#include "platform/posix/cairo_surface.h"
#include "platform/posix/cups_library.h"
#include "platform/files.h"
#include "platform/recording_surface.h"

namespace zuvprint::platform {

namespace {

// Hands each finished job to a CUPS destination, titled with the document.
class CupsSink : public JobSink {
 public:
  explicit CupsSink(std::string destination) : destination_(std::move(destination)) {}

  std::string TemporaryDirectory() const override {
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
  }

  void Deliver(const std::string& pdfPath, const std::string& title) override {
    // Only a destination that CUPS listed gets here, so the library loaded.
    std::string reason;
    const CupsLibrary* cups = LoadCups(&reason);
    if (!cups) throw PrintError("Drukarka " + destination_ + " nie przyjęła wydruku " + title + ": " + reason);
    cups_option_t* options = nullptr;
    int count = cups->addOption("document-format", "application/pdf", 0, &options);
    int job = cups->printFile2(CUPS_HTTP_DEFAULT, destination_.c_str(), pdfPath.c_str(), title.c_str(), count,
                               options);
    cups->freeOptions(count, options);
    if (job == 0)
      throw PrintError("Drukarka " + destination_ + " nie przyjęła wydruku " + title + ": " +
                       cups->lastErrorString());
  }

 private:
  std::string destination_;
};

// The CUPS destinations; none without libcups (the built-in printers still
// print) or without a server that answers.
SystemPrinters CupsDestinations() {
  SystemPrinters system;
  const CupsLibrary* cups = LoadCups();
  if (!cups) return system;
  cups_dest_t* dests = nullptr;
  int count = cups->getDests2(CUPS_HTTP_DEFAULT, &dests);
  for (int i = 0; i < count; ++i) {
    if (dests[i].instance) continue;  // instances are option sets, not printers
    system.names.emplace_back(dests[i].name);
    if (dests[i].is_default) system.defaultName = dests[i].name;
  }
  cups->freeDests(count, dests);
  return system;
}

}  // namespace

PrinterList PrinterList::Installed() {
  return PrinterList({{"PDF", PrinterKind::Pdf}, {"TRACE", PrinterKind::Trace}}, CupsDestinations);
}

std::unique_ptr<Surface> OpenPrinter(const Printer& printer, const std::string& documentName) {
  std::string dir = OutputDirectory();
  std::string stem = StemOf(documentName);
  switch (printer.kind) {
    case PrinterKind::System:
      return MakeCairoSurface(std::make_unique<CupsSink>(printer.name));
    case PrinterKind::Pdf:
      return MakeCairoSurface(MakePdfFileSink(dir, stem));
    case PrinterKind::Trace: {
      std::string logPath;
      NativeFile log = CreateWithoutOverwrite(dir, stem, ".jsonl", logPath);
      return MakeRecordingSurface(MakeCairoSurface(MakePdfFileSink(dir, stem)), std::move(log), logPath);
    }
  }
  return nullptr;
}

}  // namespace zuvprint::platform
