#include "render/page_images.h"

#include "platform/files.h"
#include "platform/images.h"
#include "platform/utf8.h"

namespace zuvprint {

platform::Rect CelObrazu(const platform::Surface& drukarka, int szerokosc, int wysokosc, bool tlo, float x, float y,
                         float zoom) {
  if (tlo) return {0, 0, drukarka.PageWidth(), drukarka.PageHeight()};
  if (zoom == 0) zoom = 1;
  platform::Rect cel;
  cel.left = platform::TruncatePixels(static_cast<double>(x) * drukarka.DpiX() / 25.4);
  cel.top = platform::TruncatePixels(static_cast<double>(y) * drukarka.DpiY() / 25.4);
  int szerokoscNaStronie = platform::TruncatePixels(szerokosc * static_cast<double>(zoom));
  int wysokoscNaStronie = platform::TruncatePixels(wysokosc * static_cast<double>(zoom));
  cel.right = platform::TruncatePixels(static_cast<double>(cel.left) + szerokoscNaStronie);
  cel.bottom = platform::TruncatePixels(static_cast<double>(cel.top) + wysokoscNaStronie);
  return cel;
}

void RysujObraz(platform::Surface& drukarka, const std::function<void(const std::string&)>& pokaz,
                const std::string& plik, bool tlo, float x, float y, float zoom) {
  if (plik == "Brak" || platform::CharacterCount(plik) <= 5 || !platform::FileExists(plik)) return;
  platform::Bitmap bitmapa;
  if (platform::LoadBmp(plik, bitmapa) != platform::ImageLoad::Loaded &&
      platform::LoadPng(plik, bitmapa) != platform::ImageLoad::Loaded) {
    bitmapa = platform::Bitmap{};  // released before the message, as the user waits on it
    if (pokaz) pokaz("Niewłaściwy format pliku: " + plik);
    return;
  }
  platform::Rect zrodlo{0, 0, bitmapa.width, bitmapa.height};
  RozciagnijBitmape(drukarka, CelObrazu(drukarka, bitmapa.width, bitmapa.height, tlo, x, y, zoom), bitmapa, zrodlo);
}

void RozciagnijBitmape(platform::Surface& drukarka, const platform::Rect& cel, const platform::Bitmap& bitmapa,
                       const platform::Rect& zrodlo) {
  drukarka.StretchBitmap(cel, bitmapa, zrodlo);
}

}  // namespace zuvprint
