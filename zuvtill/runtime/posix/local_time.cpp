#include "runtime/local_time.h"

namespace zuvtill::runtime {

std::tm LocalTime(std::time_t moment) {
  std::tm tm{};
  ::localtime_r(&moment, &tm);
  return tm;
}

}  // namespace zuvtill::runtime
