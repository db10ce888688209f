#include "run/work_copy.h"

#include "platform/files.h"

namespace zuvprint {

std::string NazwaRoboczaNr(const std::string& plik, int n) {
  auto slash = plik.find_last_of(platform::kPathSeparators);
  std::string katalog = slash == std::string::npos ? std::string() : plik.substr(0, slash + 1);
  return katalog + "dprtemp" + std::to_string(n) + ".lst";
}

std::string NazwaRobocza(const std::string& plik) {
  for (int n = 0; n <= kOstatniNumerKopii; ++n) {
    std::string nazwa = NazwaRoboczaNr(plik, n);
    if (!platform::FileExists(nazwa)) return nazwa;
  }
  return {};
}

std::string KopiaRobocza(const std::string& plik) {
  for (int n = 0; n <= kOstatniNumerKopii; ++n) {
    std::string nazwa = NazwaRoboczaNr(plik, n);
    switch (platform::CopyToNewFile(plik, nazwa)) {
      case platform::CopyResult::Copied:
        return nazwa;
      case platform::CopyResult::TargetExists:
        continue;  // taken, perhaps a moment ago by another run
      case platform::CopyResult::Failed:
        return {};
    }
  }
  return {};
}

}  // namespace zuvprint
