// Sets the default resolution of a Windows printer, as its owner would in
// the printer's preferences, for the tests that compare the Windows
// program's pages with the Linux program's: both then lay their grid out
// at the same number of pixels an inch.
//   printer_resolution NAME DPI     exit 0 when the printer took it
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cwchar>
#include <vector>

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fputs("usage: printer_resolution NAME DPI\n", stderr);
    return 2;
  }
  const short dpi = static_cast<short>(std::wcstol(argv[2], nullptr, 10));
  PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE printer = nullptr;
  if (!::OpenPrinterW(argv[1], &printer, &access)) {
    std::fprintf(stderr, "OpenPrinterW failed: %lu\n", ::GetLastError());
    return 1;
  }
  const LONG size = ::DocumentPropertiesW(nullptr, printer, argv[1], nullptr, nullptr, 0);
  std::vector<BYTE> buffer(size > 0 ? size : 0);
  auto* devmode = reinterpret_cast<DEVMODEW*>(buffer.data());
  bool ok = size > 0 && ::DocumentPropertiesW(nullptr, printer, argv[1], devmode, nullptr, DM_OUT_BUFFER) == IDOK;
  if (ok) {
    devmode->dmPrintQuality = dpi;
    devmode->dmYResolution = dpi;
    devmode->dmFields |= DM_PRINTQUALITY | DM_YRESOLUTION;
    ok = ::DocumentPropertiesW(nullptr, printer, argv[1], devmode, devmode, DM_IN_BUFFER | DM_OUT_BUFFER) == IDOK;
  }
  PRINTER_INFO_8W global{devmode};
  PRINTER_INFO_9W user{devmode};
  ok = ok && ::SetPrinterW(printer, 8, reinterpret_cast<BYTE*>(&global), 0) &&
       ::SetPrinterW(printer, 9, reinterpret_cast<BYTE*>(&user), 0);
  if (!ok) std::fprintf(stderr, "the printer did not take %d dpi: error %lu\n", dpi, ::GetLastError());
  ::ClosePrinter(printer);
  return ok ? 0 : 1;
}
