#include "platform/message_box.h"

#include <cstdio>

#include "platform/surface.h"
#include "platform/utf8.h"

namespace zuvprint::platform {

void MessageBox::Show(const std::string& raw) {
  std::string text = DisplayUtf8(raw);
  std::string block;
  block.reserve(text.size() + 2);
  for (char c : text)
    if (c != '\r') block += c;
  block += "\n\n";
  std::fwrite(block.data(), 1, block.size(), stderr);
  std::fflush(stderr);
  if (printer_) printer_->NoteMessage(text);
}

}  // namespace zuvprint::platform
