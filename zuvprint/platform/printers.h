// The installed printers: the built-in printers first ("PDF" on Linux, one
// PDF file per job; "TRACE", the draw log with the printed output beside
// it), then the system's printers (the CUPS destinations in the order
// libcups lists them; the Windows printers as EnumPrintersW lists them).
// A built-in name therefore always means the built-in printer, whatever the
// system's queues are called, and a run that prints on one never asks the
// system: its printers are asked for once, when first needed.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace zuvprint::platform {

enum class PrinterKind { System, Pdf, Trace };

struct Printer {
  std::string name;
  PrinterKind kind;
};

// What the system answers: its printers and the name of its default one
// (empty when it has none).
struct SystemPrinters {
  std::vector<std::string> names;
  std::string defaultName;
};

class PrinterList {
 public:
  // The built-in printers of this system, and the system's printers (none
  // when no print service answers).
  static PrinterList Installed();
  PrinterList(std::vector<Printer> builtIn, std::function<SystemPrinters()> askSystem);

  const std::vector<Printer>& BuiltIn() const { return builtIn_; }
  // Every printer: the built-in ones, then the system's.
  const std::vector<Printer>& Printers() const;
  // The printer at an index (from 0) of that list; throws std::out_of_range.
  const Printer& At(int index) const;

  // Index (from 0) of the default printer: the printer named by LPDEST or
  // PRINTER when there is one of that name, else the system's default
  // printer, else "PDF", else the first printer (-1 when there is none).
  int DefaultIndex() const;

 private:
  int IndexOf(const std::string& name) const;

  // Every printer and the system's default, from its one answer.
  struct Listed {
    std::vector<Printer> printers;
    std::string systemDefault;
  };
  const Listed& All() const;

  std::vector<Printer> builtIn_;
  std::function<SystemPrinters()> askSystem_;
  mutable std::optional<Listed> all_;
};

// Opens the surface of a printer for the jobs of one print run. Built-in
// printers write into OutputDirectory(), their files named after
// documentName (the print file's name) and never replacing a file.
// Throws PrintError when the printer's output cannot be created.
std::unique_ptr<Surface> OpenPrinter(const Printer& printer, const std::string& documentName);

}  // namespace zuvprint::platform
