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

PrinterList::PrinterList(std::vector<Printer> printers, std::string cupsDefault)
    : printers_(std::move(printers)), cupsDefault_(std::move(cupsDefault)) {}

PrinterList PrinterList::Installed() {
  std::vector<Printer> printers;
  std::string cupsDefault;
  cups_dest_t* dests = nullptr;
  int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
  for (int i = 0; i < count; ++i) {
    if (dests[i].instance) continue;  // instances are option sets, not printers
    printers.push_back({dests[i].name, PrinterKind::Cups});
    if (dests[i].is_default) cupsDefault = dests[i].name;
  }
  cupsFreeDests(count, dests);
  printers.push_back({"PDF", PrinterKind::Pdf});
  printers.push_back({"TRACE", PrinterKind::Trace});
  return PrinterList(std::move(printers), std::move(cupsDefault));
}

int PrinterList::IndexOf(const std::string& name) const {
  for (std::size_t i = 0; i < printers_.size(); ++i)
    if (printers_[i].name == name) return static_cast<int>(i);
  return -1;
}

int PrinterList::DefaultIndex() const {
  for (const char* variable : {"LPDEST", "PRINTER"}) {
    const char* name = std::getenv(variable);
    if (name && *name) {
      int index = IndexOf(name);
      if (index >= 0) return index;
    }
  }
  int index = cupsDefault_.empty() ? -1 : IndexOf(cupsDefault_);
  return index >= 0 ? index : IndexOf("PDF");
}

std::unique_ptr<Surface> OpenPrinter(const Printer& printer, const std::string& documentName) {
  std::string dir = OutputDirectory();
  std::string stem = StemOf(documentName);
  switch (printer.kind) {
    case PrinterKind::Cups:
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
