// An error that the host runtime raises. It travels as a C++ exception up to
// whoever runs the host's code (the embedded host's console reports it and
// goes on); the message is code page 852 bytes.
#pragma once

#include <stdexcept>
#include <string>

namespace zuvtill::runtime {

class HostError : public std::runtime_error {
 public:
  explicit HostError(const std::string& message);
  ~HostError() override;
};

}  // namespace zuvtill::runtime
