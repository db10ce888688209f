// zuvhost shows texts in UTF-8 with "\n" line ends on every system: its
// output is the same bytes wherever it runs, and a console shows it right.
#pragma once

namespace zuvtill::host {

// Called once before anything is written. One backend per system.
void PrepareStandardStreams();

}  // namespace zuvtill::host
