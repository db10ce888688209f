#include "runtime/windows/wide_text.h"

#include "platform/windows/wide_text.h"
#include "runtime/code_page.h"

namespace zuvtill::runtime {

std::wstring WideFromHost(std::string_view bytes) { return zuvprint::platform::Wide(Cp852ToUtf8(bytes)); }

std::string HostFromWide(std::wstring_view wide) { return Utf8ToCp852(zuvprint::platform::Utf8(wide)); }

}  // namespace zuvtill::runtime
