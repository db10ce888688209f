// The whole print run over an untrusted print file: the line reader, the
// sequence splitter and actions, the renderer, onto the recording printer
// (draw log and PDF).
#include <cstdlib>

#include "fuzz_support.h"
#include "platform/message_box.h"
#include "platform/printers.h"
#include "run/print_run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zuvprint;
  static const bool ready = [] {
    ::setenv("ZUVPRINT_OUTPUT_DIR", fuzzing::ScratchDirectory().c_str(), 1);
    return true;
  }();
  (void)ready;
  const std::string plik = fuzzing::WriteInput("doc.txt", data, size);
  // TRACE alone, and no system to ask for more.
  platform::PrinterList drukarki({{"TRACE", platform::PrinterKind::Trace}}, nullptr);
  platform::MessageBox komunikaty;
  OtoczenieWydruku otoczenie{"/nonexistent/bin/zuvprint", drukarki, komunikaty};
  DrukujPlik(ParametryWydruku{plik, "", "", "", ""}, otoczenie);
  // Each run publishes its draw log and PDF; remove them so names stay free.
  std::filesystem::remove(fuzzing::ScratchDirectory() / "doc.jsonl");
  std::filesystem::remove(fuzzing::ScratchDirectory() / "doc.pdf");
  return 0;
}
