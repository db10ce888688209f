// The printers on Windows: the printers EnumPrintersW lists (local ones and
// connections to shared printers), then "TRACE". There is no built-in PDF
// printer here: a PDF comes from a PDF printer of the system.
#include "platform/printers.h"

#include <windows.h>
#include <winspool.h>
// Our DeleteFile, MessageBox and OpenPrinter are names that windows.h and
// winspool.h make macros (the ...A functions).
#undef DeleteFile
#undef MessageBox
#undef OpenPrinter

#include <vector>

#include "platform/files.h"
#include "platform/recording_surface.h"
#include "platform/windows/gdi_surface.h"
#include "platform/windows/wide_text.h"

namespace zuvprint::platform {

namespace {

std::vector<std::string> EnumeratedPrinters() {
  constexpr DWORD kFlags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  std::vector<BYTE> buffer;
  DWORD needed = 0, count = 0;
  // The list can grow between asking for its size and reading it.
  for (int attempt = 0; attempt < 4; ++attempt) {
    if (::EnumPrintersW(kFlags, nullptr, 4, buffer.data(), static_cast<DWORD>(buffer.size()), &needed, &count))
      break;
    count = 0;
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
    buffer.assign(needed, 0);
  }
  std::vector<std::string> names;
  const auto* info = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i)
    if (info[i].pPrinterName) names.push_back(Utf8(info[i].pPrinterName));
  return names;
}

std::string SystemDefaultPrinter() {
  DWORD size = 0;
  ::GetDefaultPrinterW(nullptr, &size);
  if (size == 0) return {};
  std::wstring name(size, L'\0');
  if (!::GetDefaultPrinterW(name.data(), &size)) return {};
  name.resize(size > 0 ? size - 1 : 0);  // size counts the terminating zero
  return Utf8(name);
}

// The surface behind TRACE's draw log. With a printer installed it is the
// default printer's DC (the first printer when there is no default), each
// job written by the printer's driver into a file beside the log (same stem,
// ".prn"), so the log holds that printer's real measures. Without a printer
// (a bare Wine prefix, a server with no queues), or when the printer's DC
// cannot be made, it is a memory DC that measures the fonts at 600 pixels
// per inch on an A4 page, like a printer of that resolution, and draws
// nothing: the draw log is then the only output.
std::unique_ptr<Surface> TraceTarget(const std::string& dir, const std::string& stem) {
  std::string printer = SystemDefaultPrinter();
  if (printer.empty()) {
    std::vector<std::string> printers = EnumeratedPrinters();
    if (!printers.empty()) printer = printers.front();
  }
  if (!printer.empty()) {
    try {
      return MakePrinterSurface(printer, JobFiles{dir, stem, ".prn"});
    } catch (const PrintError&) {
      // measured on the memory DC instead
    }
  }
  return MakeMeasuringSurface();
}

}  // namespace

PrinterList PrinterList::Installed() {
  return PrinterList({{"TRACE", PrinterKind::Trace}}, [] {
    return SystemPrinters{EnumeratedPrinters(), SystemDefaultPrinter()};
  });
}

std::unique_ptr<Surface> OpenPrinter(const Printer& printer, const std::string& documentName) {
  switch (printer.kind) {
    case PrinterKind::System:
      return MakePrinterSurface(printer.name);
    case PrinterKind::Trace: {
      const std::string dir = OutputDirectory();
      const std::string stem = StemOf(BaseName(documentName));
      std::unique_ptr<Surface> target = TraceTarget(dir, stem);
      std::string logPath;
      NativeFile log = CreateWithoutOverwrite(dir, stem, ".jsonl", logPath);
      return MakeRecordingSurface(std::move(target), std::move(log), std::move(logPath));
    }
    case PrinterKind::Pdf:
      break;
  }
  throw PrintError("Drukarka " + printer.name + " nie jest dostępna w systemie Windows");
}

}  // namespace zuvprint::platform
