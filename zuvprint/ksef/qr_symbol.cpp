#include "ksef/qr_symbol.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/qr_encoder.h"
#include "platform/screen_text.h"
#include "platform/utf8.h"
#include "render/page_images.h"

namespace zuvprint {
namespace {

constexpr int kDlugiPodpis = 27;

platform::Bitmap Biala(int width, int height) {
  platform::Bitmap b;
  b.width = width;
  b.height = height;
  b.rgb.assign(static_cast<std::size_t>(width) * height * 3, 255);
  return b;
}

}  // namespace

platform::Bitmap ObrazModulow(std::string_view link) {
  // Too much data for any version leaves the symbol empty.
  const platform::QrModules symbol = platform::EncodeQrLevelL(link);
  const int n = symbol.size;
  const int M = n + 2 * kStrefaCiszy;
  platform::Bitmap moduly = Biala(M, M);
  for (int r = 0; r < n; ++r)
    for (int c = 0; c < n; ++c)
      if (symbol.Dark(r, c)) {
        auto* px = moduly.rgb.data() + (static_cast<std::size_t>(r + kStrefaCiszy) * M + c + kStrefaCiszy) * 3;
        px[0] = px[1] = px[2] = 0;
      }
  return moduly;
}

UkladKodu UkladKoduQR(int S) {
  int b = S / 10;
  return {S, b, S - b};
}

int RozmiarPodpisu(std::string_view podpis, int b) {
  return platform::CharacterCount(podpis) < kDlugiPodpis ? b / 2 + 1 : b / 3;
}

PolozeniePodpisu PolozeniePodpisuQR(const UkladKodu& u, int w) {
  return {(u.D - w) / 2, u.D + u.S / 20 - u.b};
}

platform::Bitmap ZlozObrazQR(const platform::Bitmap& moduly, int S, std::string_view podpis) {
  const UkladKodu u = UkladKoduQR(S);
  platform::Bitmap obraz = Biala(u.D, u.S);  // the symbol image is its top D x D square
  const int M = moduly.width;
  const int k = M > 0 ? u.D / M : 0;
  if (k > 0) {
    // One enlarged row per module row, copied into its k pixel rows.
    const std::size_t stride = static_cast<std::size_t>(u.D) * 3;
    std::vector<std::uint8_t> wiersz(stride, 255);
    for (int r = 0; r < M; ++r) {
      const std::uint8_t* src = moduly.rgb.data() + static_cast<std::size_t>(r) * M * 3;
      for (int c = 0; c < M; ++c)
        for (int i = 0; i < k; ++i) std::memcpy(&wiersz[(static_cast<std::size_t>(c) * k + i) * 3], src + c * 3, 3);
      for (int i = 0; i < k; ++i)
        std::memcpy(obraz.rgb.data() + (static_cast<std::size_t>(r) * k + i) * stride, wiersz.data(), stride);
    }
  }
  const platform::ScreenFont font{"Arial", RozmiarPodpisu(podpis, u.b)};
  const PolozeniePodpisu p = PolozeniePodpisuQR(u, platform::ScreenTextWidth(font, podpis));
  platform::DrawScreenText(obraz, font, podpis, p.left, p.top, 0x000000, 0xFFFFFF);
  return obraz;
}

void RysujQR(const KontekstQR& kontekst, const std::string& podpis, const std::string& link, float x, float y,
             float H) {
  const platform::Bitmap moduly = ObrazModulow(link);
  const int S = platform::TruncatePixels(H);
  const UkladKodu u = UkladKoduQR(S);
  if (S <= 0 || u.D <= 0 || static_cast<std::uint32_t>(S) > platform::kMaxImageSide ||
      static_cast<std::uint64_t>(S) * static_cast<std::uint64_t>(u.D) > platform::kMaxImagePixels) {
    kontekst.pokaz("Błąd towrzenia kodu QR " + podpis);
    return;
  }
  const platform::Bitmap obraz = ZlozObrazQR(moduly, S, podpis);
  const platform::Rect cel{platform::TruncatePixels(x), platform::TruncatePixels(y),
                           platform::TruncatePixels(u.D + static_cast<double>(x)),
                           platform::TruncatePixels(S + static_cast<double>(y))};
  RozciagnijBitmape(kontekst.drukarka, cel, obraz, platform::Rect{0, 0, obraz.width, obraz.height});
}

}  // namespace zuvprint
