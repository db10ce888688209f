#include "platform/printers.h"

#include <cups/cups.h>

#include <cstdlib>

#include "platform/posix/cairo_surface.h"
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
    cups_option_t* options = nullptr;
    int count = cupsAddOption("document-format", "application/pdf", 0, &options);
    int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, destination_.c_str(), pdfPath.c_str(), title.c_str(), count,
                             options);
    cupsFreeOptions(count, options);
    if (job == 0)
      throw PrintError("Drukarka " + destination_ + " nie przyjęła wydruku " + title + ": " +
                       cupsLastErrorString());
  }

 private:
  std::string destination_;
};

}  // namespace

PrinterList PrinterList::Installed() {
  std::vector<Printer> printers;
  std::string systemDefault;
  cups_dest_t* dests = nullptr;
  int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
  for (int i = 0; i < count; ++i) {
    if (dests[i].instance) continue;  // instances are option sets, not printers
    printers.push_back({dests[i].name, PrinterKind::System});
    if (dests[i].is_default) systemDefault = dests[i].name;
  }
  cupsFreeDests(count, dests);
  printers.push_back({"PDF", PrinterKind::Pdf});
  printers.push_back({"TRACE", PrinterKind::Trace});
  return PrinterList(std::move(printers), std::move(systemDefault));
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
