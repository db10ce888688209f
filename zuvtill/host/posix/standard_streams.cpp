#include "host/standard_streams.h"

namespace zuvtill::host {

// Streams are bytes already, and terminals take UTF-8.
void PrepareStandardStreams() {}

}  // namespace zuvtill::host
