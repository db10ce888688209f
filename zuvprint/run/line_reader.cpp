#include "run/line_reader.h"

#include "platform/files.h"

namespace zuvprint {

namespace {

constexpr char kCR = '\r';
constexpr char kFF = '\f';

}  // namespace

std::string CzytajLinie(const std::string& sciezka, int& stan, BuforLinii& bufor) {
  if (stan == kNieCzytano) {
    bufor = BuforLinii{};
    switch (platform::ReadWholeFile(sciezka, bufor.dane)) {
      case platform::ReadResult::Ok:
        stan = kJestDalej;
        break;
      case platform::ReadResult::CannotOpen:
        stan = kBladOtwarcia;
        return {};
      case platform::ReadResult::ReadFailed:
        stan = kBladOdczytu;
        return {};
    }
  }
  if (stan != kJestDalej) return {};

  std::string_view reszta = bufor.Reszta();
  auto cr = reszta.find(kCR);
  if (cr == std::string_view::npos) {
    std::string linia(reszta);
    bufor = BuforLinii{};
    stan = kOstatniaLinia;
    return linia;
  }

  std::string linia(reszta.substr(0, cr));
  bufor.pozycja += cr + 1;
  std::string_view dalej = bufor.Reszta();
  if (dalej.empty() && !linia.empty() && linia.back() == kFF) {
    linia.pop_back();
    stan = kOstatniaLinia;
  } else if (dalej == std::string_view("\f\r", 2)) {
    stan = kOstatniaLinia;
  }
  if (stan == kOstatniaLinia) bufor = BuforLinii{};
  return linia;
}

}  // namespace zuvprint
