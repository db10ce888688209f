#include "run/style_location.h"

#include "platform/files.h"

namespace zuvprint {

namespace {

using platform::kPathSeparator;
using platform::kPathSeparators;

bool EndsInSeparator(const std::string& path) {
  return !path.empty() && kPathSeparators.find(path.back()) != std::string_view::npos;
}

}  // namespace

std::string DomyslnyPlikStylu(const std::string& sciezkaProgramu) {
  auto slash = sciezkaProgramu.find_last_of(kPathSeparators);
  std::string katalog = slash == std::string::npos ? std::string() : sciezkaProgramu.substr(0, slash + 1);
  while (EndsInSeparator(katalog)) katalog.pop_back();
  auto nadrzedny = katalog.find_last_of(kPathSeparators);
  std::string rodzic = nadrzedny == std::string::npos ? katalog : katalog.substr(0, nadrzedny + 1);
  return rodzic + "DOSPRINT" + kPathSeparator + "Default.dpc";
}

std::string WybierzPlikStylu(const std::string& parametr, const std::string& sciezkaProgramu) {
  if (parametr.empty() || !platform::FileExists(parametr)) return DomyslnyPlikStylu(sciezkaProgramu);
  auto slash = parametr.find_last_of(kPathSeparators);
  if (slash == std::string::npos) return parametr;
  std::string katalog = parametr.substr(0, slash);
  while (katalog.size() > 1 && EndsInSeparator(katalog)) katalog.pop_back();
  if (katalog.empty() || (katalog.size() == 1 && EndsInSeparator(katalog)))
    return kPathSeparator + parametr.substr(slash + 1);
  return katalog + kPathSeparator + parametr.substr(slash + 1);
}

}  // namespace zuvprint
