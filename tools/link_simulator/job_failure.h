// A job that fails, as the printer would report it: the text that becomes
// the first line of the error file, in code page 852. Thrown where the
// fault is found and caught once, in main, which leaves the error file.
#pragma once

#include <stdexcept>
#include <string>

namespace zuvlink {

class JobFailure : public std::runtime_error {
 public:
  // text: code page 852 bytes. paperOut: the printer stopped in the middle
  // of a printout, so the print-end marker is left whatever the settings say.
  explicit JobFailure(std::string text, bool paperOut = false)
      : std::runtime_error(text), text_(std::move(text)), paperOut_(paperOut) {}

  const std::string& Text() const { return text_; }
  bool PaperOut() const { return paperOut_; }

 private:
  std::string text_;
  bool paperOut_;
};

// A failure whose text is written here in UTF-8; see file_text.h.
[[noreturn]] void Fail(const std::string& utf8Text);

}  // namespace zuvlink
