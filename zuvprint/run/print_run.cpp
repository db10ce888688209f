#include "run/print_run.h"

#include <functional>
#include <memory>

#include "ksef/crypto.h"
#include "ksef/qr_entry.h"
#include "platform/files.h"
#include "render/line_splitter.h"
#include "render/page_images.h"
#include "render/page_renderer.h"
#include "render/print_mode.h"
#include "render/sequence_actions.h"
#include "run/line_reader.h"
#include "run/printer_choice.h"
#include "run/style_location.h"
#include "run/text_utils.h"
#include "run/trace_mode.h"
#include "run/work_copy.h"
#include "style/print_style.h"

namespace zuvprint {

namespace {

constexpr int kDomyslnyZestawZnakow = 1;  // DEFAULT_CHARSET: the canvas font before any sequence

// The line loop over an open printer, with the state of one run.
class Wydruk {
 public:
  // Messages of the run (bad images, the verification codes, trace mode) go
  // to komunikat; plikQR is the QR settings file of the invoice.
  Wydruk(platform::Surface& drukarka, const TStylWydruku& styl, std::string tytul, std::string plikQR,
         std::function<void(const std::string&)> komunikat)
      : drukarka_(drukarka),
        styl_(styl),
        tytul_(std::move(tytul)),
        plikQR_(std::move(plikQR)),
        komunikat_(std::move(komunikat)),
        kontekstQR_{drukarka_, komunikat_, TrybTestowy, [this](float y) { return StronaDlaKodow(y); }} {}

  // Prints the work copy. False when the verification codes could not be
  // made: the message is shown, the pages printed so far end the job, and
  // the rest of the file is not printed. PrintError leaves at once.
  bool Drukuj(const std::string& kopia) {
    ResetujTryb(tryb_, styl_);
    PrzygotujDrukarke();
    int stan = kNieCzytano;
    BuforLinii bufor;
    bool wydrukowano = true;
    try {
      do {
        std::string tekst = CzytajLinie(kopia, stan, bufor);
        miary_.x = 0;
        if (tekst.find(kZnacznikQR) != std::string::npos) WstawKody(tekst);
        linia_.Ustaw(std::move(tekst));
        DrukujLinie(stan);
        if (!tryb_.wlasneOdstepy && stronaMaTresc_) {
          miary_.wysokoscLinii = static_cast<float>(drukarka_.TextWidth(U"J"));
          miary_.y += miary_.KrokLinii();
        }
      } while (stan >= 0);
    } catch (const platform::PrintError&) {
      throw;  // the printer itself failed: reported by the caller
    } catch (const std::exception& e) {
      // The codes could not be made (KsefError), or memory ran out for a
      // huge code image: the run ends here, its pages and files still
      // handled as at a normal end.
      komunikat_(e.what());
      wydrukowano = false;
    }
    if (zadanieOtwarte_) ZakonczZadanie();
    return wydrukowano;
  }

 private:
  void PrzygotujDrukarke() {
    platform::FontSpec font{styl_.Face(FontSlot::Normalna), styl_.Size(FontSlot::Normalna), kDomyslnyZestawZnakow,
                            false, false, styl_.Colour(FontSlot::Normalna)};
    drukarka_.SelectFont(font);
    miary_.szerokoscZnaku = miary_.szerokoscKomorki = static_cast<float>(drukarka_.TextWidth(U"W"));
    miary_.wysokoscLinii = static_cast<float>(drukarka_.TextWidth(U"J"));
    miary_.odstepLinii = static_cast<float>(drukarka_.DpiY() * static_cast<double>(styl_.odstep) / 25.4);
    miary_.rozdzielczosc = styl_.liniiNaCal != 0 ? 180 : 216;
    orientacja_ = styl_.orientacja;
  }

  void WstawKody(std::string& tekst) {
    kontekstQR_.Sledz("Kod %% w tekście. Ok");
    WstawKodyQR(kontekstQR_, tekst, plikQR_, miary_.y,
                MiaryQR{miary_.szerokoscZnaku, miary_.wysokoscLinii, styl_.odstep});
  }

  // The codes are drawn on the page at the marker's place, so codes met
  // before anything else open the job first and hang from its top line.
  float StronaDlaKodow(float y) {
    if (zadanieOtwarte_) return y;
    OtworzZadanie();
    return miary_.y;
  }

  void DrukujLinie(int stan) {
    KontekstSekwencji kontekst{tryb_, miary_, styl_, drukarka_, [this](const ZadanieObrazu& obraz) {
                                 RysujObraz(drukarka_, komunikat_, obraz.plik, obraz.tlo, obraz.x, obraz.y, obraz.zoom);
                               }};
    do {
      std::string_view przed;
      int numer = 0;
      if (PodzielLinie(linia_, przed, numer)) {
        if (!przed.empty()) {
          OtworzZadanie();
          stronaMaTresc_ = true;
          RysujNapis(drukarka_, miary_, przed, miary_.y, tryb_, styl_);
        }
        if (numer != kPionowo && numer != kPoziomo) OtworzZadanie();
        switch (numer) {
          case kPionowo:
          case kPoziomo:
            orientacja_ = numer == kPionowo ? 0 : 1;
            zmianaOrientacji_ = true;
            break;
          case kNowaStrona: NowaStrona(stan); break;
          default: WykonajSekwencje(numer, linia_, kontekst); break;
        }
        WybierzCzcionke(tryb_, styl_, drukarka_, miary_);
      } else {
        OtworzZadanie();
        if (!przed.empty()) {
          RysujNapis(drukarka_, miary_, przed, miary_.y, tryb_, styl_);
          stronaMaTresc_ = true;
        }
      }
    } while (!linia_.Pusta());
  }

  void NowaStrona(int stan) {
    if (stan == kOstatniaLinia && linia_.Reszta().size() <= 2) return;  // a form feed that ends the file
    if (zmianaOrientacji_) {
      ZakonczZadanie();
      miary_.x = 0;
    } else if (stronaMaTresc_) {
      miary_.x = 0;
      if (styl_.pojedynczo) {
        ZakonczZadanie();
      } else {
        drukarka_.NewPage();
        drukarka_.SetBaselineAlignment();
        miary_.y = GornaLinia();
        RysujObrazyStylu();
      }
    } else {
      miary_.x = 0;
      miary_.y = GornaLinia();
    }
    stronaMaTresc_ = false;
  }

  void OtworzZadanie() {
    if (zadanieOtwarte_) return;
    if (orientacja_ == 0 || orientacja_ == 1) drukarka_.SetOrientation(orientacja_);
    drukarka_.BeginJob(tytul_);
    zadanieOtwarte_ = true;
    wzniesienieStrony_ = static_cast<float>(drukarka_.Ascent());
    drukarka_.SetBaselineAlignment();
    miary_.y = GornaLinia();
    RysujObrazyStylu();
  }

  // The style's background, then its logo, on a fresh page; text drawn
  // later lies on top. Custom line spacing leaves pages without them.
  void RysujObrazyStylu() {
    if (tryb_.wlasneOdstepy) return;
    RysujObraz(drukarka_, komunikat_, styl_.tlo, true, 0, 0, 1);
    RysujObraz(drukarka_, komunikat_, styl_.logo, false, styl_.logoX, styl_.logoY, styl_.logoZoom);
  }

  void ZakonczZadanie() {
    zadanieOtwarte_ = false;
    drukarka_.EndJob();
  }

  // Baseline of a page's first line: the top margin plus the ascent of the
  // font that was current when the job was begun.
  float GornaLinia() const {
    return static_cast<float>(drukarka_.DpiY() * static_cast<double>(styl_.marginesGorny) / 25.4) +
           wzniesienieStrony_;
  }

  platform::Surface& drukarka_;
  const TStylWydruku& styl_;
  std::string tytul_;
  std::string plikQR_;
  std::function<void(const std::string&)> komunikat_;
  KontekstQR kontekstQR_;
  TTrybyDruku tryb_;
  MiaryStrony miary_;
  LiniaDruku linia_;
  bool zadanieOtwarte_ = false;
  bool stronaMaTresc_ = false;
  bool zmianaOrientacji_ = false;
  int orientacja_ = 0;
  float wzniesienieStrony_ = 0;
};

// Deletes the QR settings file at the end of every run, however it ends.
struct SprzatanieQR {
  const std::string& plik;
  ~SprzatanieQR() {
    if (platform::FileExists(plik)) platform::DeleteFile(plik);
  }
};

}  // namespace

int DrukujPlik(const ParametryWydruku& p, OtoczenieWydruku& o) {
  SprzatanieQR sprzatanie{p.ustawieniaQR};
  if (!platform::FileExists(p.plik)) {
    o.komunikaty.Show("Plik " + p.plik + " nie istnieje !");
    return 1;
  }
  std::string kopia = KopiaRobocza(p.plik);
  if (WielkieLitery(p.zachowaj) != "-GUI") platform::DeleteFile(p.plik);

  TStylWydruku styl;
  UstawStylDomyslny(styl);
  CzytajStyl(styl, WybierzPlikStylu(p.styl, o.sciezkaProgramu));

  int indeks = WybierzDrukarke(p.drukarka == "-2" ? styl.nazwa2 : styl.nazwa, o.drukarki);

  int wynik = 0;
  std::unique_ptr<platform::Surface> drukarka;
  try {
    drukarka = platform::OpenPrinter(o.drukarki.At(indeks), platform::BaseName(p.plik));
    o.komunikaty.SetPrinter(drukarka.get());
    if (kopia.empty() || !platform::FileExists(kopia)) {
      o.komunikaty.Show("Nie można utworzyć kopii roboczej pliku " + p.plik + " !");
      wynik = 1;
    } else {
      Wydruk wydruk(*drukarka, styl, platform::BaseName(p.plik), p.ustawieniaQR,
                    [&](const std::string& tekst) { o.komunikaty.Show(tekst); });
      if (!wydruk.Drukuj(kopia)) wynik = 1;
    }
  } catch (const platform::PrintError& e) {
    o.komunikaty.Show(e.what());
    wynik = 1;
  }
  o.komunikaty.SetPrinter(nullptr);
  drukarka.reset();
  if (!kopia.empty()) platform::DeleteFile(kopia);
  return wynik;
}

}  // namespace zuvprint
