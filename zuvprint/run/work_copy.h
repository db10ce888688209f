// The work copy: the print run never reads the file the host handed over,
// but a copy of it named dprtemp<N>.lst in the same directory.
#pragma once

#include <string>

namespace zuvprint {

// Highest number tried: dprtemp0.lst ... dprtemp1000.lst.
constexpr int kOstatniNumerKopii = 1000;

// The work copy name with number n beside the print file.
std::string NazwaRoboczaNr(const std::string& plik, int n);

// The first work copy name under which no file exists, or "" when all
// 1001 names are taken.
std::string NazwaRobocza(const std::string& plik);

// Copies the print file to the first free work copy name and answers its
// path, or "" when no name was free or the copy failed. The name is claimed
// by creating the file exclusively, so two runs in one directory never share
// a work copy, and a half-made copy is removed.
std::string KopiaRobocza(const std::string& plik);

}  // namespace zuvprint
