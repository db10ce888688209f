// Trace mode: a file named "Test" in the current directory makes the run
// show progress messages. It is tested afresh at every such message.
#pragma once

namespace zuvprint {

bool TrybTestowy();

}  // namespace zuvprint
