#include "job_failure.h"

#include "file_text.h"

namespace zuvlink {

void Fail(const std::string& utf8Text) { throw JobFailure(Cp852(utf8Text)); }

}  // namespace zuvlink
