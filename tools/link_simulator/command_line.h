// The command line the library builds for a link program: job code, port,
// speed, the family's tail, then the exchange file, e.g.
// "ELZABDR.EXE 4 1 9600 25 ZUVHOSTi.fp6". A number too wide for its place
// comes out as asterisks there, which no printer can be opened with.
#pragma once

#include <string>
#include <vector>

#include "family.h"

namespace zuvlink {

enum class Job { kInformation = 3, kReceipt = 4, kDepositSummary = 13 };

struct JobRequest {
  Job job;
  std::string file;  // a bare name in the current directory
};

// The request of the arguments after the program name; a JobFailure naming
// the first wrong parameter otherwise.
JobRequest CheckCommandLine(const Family& family, const std::vector<std::string>& arguments);

}  // namespace zuvlink
