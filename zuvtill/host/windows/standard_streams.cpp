#include "host/standard_streams.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

namespace zuvtill::host {

// No "\r" added before "\n" (the output is the same as on other systems),
// and a console told that the bytes are UTF-8.
void PrepareStandardStreams() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  ::SetConsoleOutputCP(CP_UTF8);
}

}  // namespace zuvtill::host
