// The three jobs of a link program: 3 reads the printer's information into
// a file, 4 prints a receipt, 13 prints the deposit summary, the last two
// onto the paper roll. A fault is a JobFailure.
#pragma once

#include <ctime>

#include "command_line.h"
#include "family.h"
#include "settings.h"

namespace zuvlink {

void RunJob(const JobRequest& request, const Family& family, const Settings& settings, std::time_t now);

}  // namespace zuvlink
