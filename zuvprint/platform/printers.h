// The installed printers: the system's printers (the CUPS destinations in
// the order libcups lists them; the Windows printers as EnumPrintersW lists
// them), then the built-in printers: "PDF" on Linux (one PDF file per job)
// and "TRACE" (the draw log, with the printed output beside it).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace zuvprint::platform {

enum class PrinterKind { System, Pdf, Trace };

struct Printer {
  std::string name;
  PrinterKind kind;
};

class PrinterList {
 public:
  // Asks the system for its printers (none when no CUPS server answers).
  static PrinterList Installed();
  explicit PrinterList(std::vector<Printer> printers, std::string systemDefault = {});

  const std::vector<Printer>& Printers() const { return printers_; }

  // Index (from 0) of the default printer: the printer named by LPDEST or
  // PRINTER when there is one of that name, else the system's default
  // printer, else "PDF", else the first printer (-1 when there is none).
  int DefaultIndex() const;

 private:
  int IndexOf(const std::string& name) const;

  std::vector<Printer> printers_;
  std::string systemDefault_;
};

// Opens the surface of a printer for the jobs of one print run. Built-in
// printers write into OutputDirectory(), their files named after
// documentName (the print file's name) and never replacing a file.
// Throws PrintError when the printer's output cannot be created.
std::unique_ptr<Surface> OpenPrinter(const Printer& printer, const std::string& documentName);

}  // namespace zuvprint::platform
