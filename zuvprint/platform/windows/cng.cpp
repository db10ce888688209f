#include "platform/windows/cng.h"

#include <cstdio>

namespace zuvprint::platform {

std::string CngFailure(const char* call, NTSTATUS status) {
  static const struct {
    ULONG code;
    const char* name;
  } kNames[] = {
      {0xC0000002, "STATUS_NOT_IMPLEMENTED"},  {0xC0000008, "STATUS_INVALID_HANDLE"},
      {0xC000000D, "STATUS_INVALID_PARAMETER"}, {0xC0000017, "STATUS_NO_MEMORY"},
      {0xC0000023, "STATUS_BUFFER_TOO_SMALL"}, {0xC00000BB, "STATUS_NOT_SUPPORTED"},
      {0xC00000E5, "STATUS_INTERNAL_ERROR"},   {0xC0000206, "STATUS_INVALID_BUFFER_SIZE"},
      {0xC0000225, "STATUS_NOT_FOUND"},        {0xC000A000, "STATUS_INVALID_SIGNATURE"},
  };
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(status));
  std::string text = std::string(call) + ": " + code;
  for (const auto& n : kNames)
    if (n.code == static_cast<ULONG>(status)) text += std::string(" (") + n.name + ")";
  return text;
}

}  // namespace zuvprint::platform
