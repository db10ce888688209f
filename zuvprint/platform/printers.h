// The installed printers: the CUPS destinations in the order libcups lists
// them, then the built-in printers "PDF" (one PDF file per job) and "TRACE"
// (the draw log, with the PDF beside it).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace zuvprint::platform {

enum class PrinterKind { Cups, Pdf, Trace };

struct Printer {
  std::string name;
  PrinterKind kind;
};

class PrinterList {
 public:
  // Asks libcups for its destinations (none when no CUPS server answers).
  static PrinterList Installed();
  explicit PrinterList(std::vector<Printer> printers, std::string cupsDefault = {});

  const std::vector<Printer>& Printers() const { return printers_; }

  // Index (from 0) of the system default printer: the printer named by
  // LPDEST or PRINTER when there is one of that name, else the CUPS default
  // destination, else "PDF".
  int DefaultIndex() const;

 private:
  int IndexOf(const std::string& name) const;

  std::vector<Printer> printers_;
  std::string cupsDefault_;
};

// Opens the surface of a printer for the jobs of one print run. Built-in
// printers write into OutputDirectory(), their files named after
// documentName (the print file's name) and never replacing a file.
// Throws PrintError when the printer's output cannot be created.
std::unique_ptr<Surface> OpenPrinter(const Printer& printer, const std::string& documentName);

}  // namespace zuvprint::platform
