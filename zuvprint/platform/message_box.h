// Modal message boxes. On Windows a box the user closes (MessageBoxW), or,
// with ZUVPRINT_MESSAGES=stderr, standard error. On Linux nobody is there to
// press OK: each message is written to standard error as one block and the
// run goes on as if the user had closed the box. A printer surface that
// keeps a log is told as well.
#pragma once

#include <string>

namespace zuvprint::platform {

class Surface;

class MessageBox {
 public:
  // Shows a message (UTF-8; CR LF inside it separates its lines; bytes that
  // are not UTF-8 are shown as the characters with their numbers).
  void Show(const std::string& text);

  // The printer surface in use, or nullptr; it sees every later message.
  void SetPrinter(Surface* printer) { printer_ = printer; }

 private:
  Surface* printer_ = nullptr;
};

}  // namespace zuvprint::platform
