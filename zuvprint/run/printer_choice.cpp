#include "run/printer_choice.h"

#include <string_view>

namespace zuvprint {

namespace {

std::string_view Przytnij(std::string_view s) {
  auto pusty = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!s.empty() && pusty(s.front())) s.remove_prefix(1);
  while (!s.empty() && pusty(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

int ZnajdzDrukarke(const std::string& nazwa, const std::vector<platform::Printer>& drukarki) {
  if (nazwa.empty() || drukarki.empty()) return 0;
  std::string_view szukana = Przytnij(nazwa);
  for (std::size_t i = 0; i < drukarki.size(); ++i)
    if (Przytnij(drukarki[i].name) == szukana) return static_cast<int>(i) + 1;
  return 0;
}

int WybierzDrukarke(const std::string& nazwa, const std::vector<platform::Printer>& drukarki, int zapasowa) {
  int pozycja = ZnajdzDrukarke(nazwa, drukarki);
  return pozycja >= 1 ? pozycja - 1 : zapasowa;
}

}  // namespace zuvprint
