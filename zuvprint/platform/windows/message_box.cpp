// Message boxes on Windows: a modal MessageBoxW the user closes, or, for
// unattended print servers and tests (ZUVPRINT_MESSAGES=stderr), one block
// of text on standard error exactly as the Linux backend writes it. A
// headless Wine, like a service with no desktop, has nobody to press OK.
#include "platform/message_box.h"

#include <windows.h>
// message_box.h names a class MessageBox, which windows.h makes a macro.
#undef MessageBox

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/surface.h"
#include "platform/utf8.h"
#include "platform/windows/wide_text.h"

namespace zuvprint::platform {
namespace {

bool MessagesToStandardError() {
  const char* where = std::getenv("ZUVPRINT_MESSAGES");
  return where != nullptr && std::strcmp(where, "stderr") == 0;
}

// The same block as on Linux: the text without CRs, then an empty line.
void WriteToStandardError(const std::string& text) {
  std::string block;
  block.reserve(text.size() + 2);
  for (char c : text)
    if (c != '\r') block += c;
  block += "\n\n";
  // Straight to the handle: the C runtime's text mode would turn every LF
  // into CR LF, and the block must read the same on both platforms.
  std::fflush(stderr);
  const HANDLE handle = ::GetStdHandle(STD_ERROR_HANDLE);
  const char* p = block.data();
  std::size_t left = block.size();
  DWORD done = 0;
  while (left > 0 && handle && handle != INVALID_HANDLE_VALUE &&
         ::WriteFile(handle, p, static_cast<DWORD>(left), &done, nullptr) && done > 0) {
    p += done;
    left -= done;
  }
}

// A box shows CR LF as a line break; a lone LF breaks the line as well, a
// lone CR is dropped, so lines split the way the standard error block
// splits them.
std::wstring BoxText(const std::string& text) {
  std::string lines;
  lines.reserve(text.size() + 8);
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') lines += '\r';
    lines += c;
  }
  return Wide(lines);
}

}  // namespace

void MessageBox::Show(const std::string& raw) {
  // Bytes that are not UTF-8 (a file name in a single-byte code page) are
  // shown as the characters of their numbers, on either path.
  const std::string text = DisplayUtf8(raw);
  if (MessagesToStandardError()) {
    WriteToStandardError(text);
  } else {
    ::MessageBoxW(nullptr, BoxText(text).c_str(), L"ZuvPrint",
                  MB_OK | MB_ICONINFORMATION | MB_TASKMODAL | MB_SETFOREGROUND);
  }
  if (printer_) printer_->NoteMessage(text);
}

}  // namespace zuvprint::platform
