// The local time of the system's clock, as the C library breaks it down.
#pragma once

#include <ctime>

namespace zuvtill::runtime {

// The local calendar time of the moment, in the system's time zone.
std::tm LocalTime(std::time_t moment);

}  // namespace zuvtill::runtime
