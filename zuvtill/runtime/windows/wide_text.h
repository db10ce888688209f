// The Windows API takes UTF-16; the host's texts, file names among them,
// are code page 852 bytes. (UTF-8 to and from UTF-16 is the print
// program's platform/windows/wide_text.h, compiled into this library too.)
#pragma once

#include <string>
#include <string_view>

namespace zuvtill::runtime {

// Code page 852 bytes as UTF-16, by the runtime's own code page table, so
// that a name means the same file on every machine whatever its OEM or ANSI
// code page.
std::wstring WideFromHost(std::string_view bytes);

// UTF-16 as code page 852 bytes; a character the code page lacks becomes
// '?'.
std::string HostFromWide(std::wstring_view wide);

}  // namespace zuvtill::runtime
