// Benchmarks of the print program's hot routines: reading lines off a large
// work copy, cutting sequences off lines, drawing text runs onto the
// recording and the cairo surface, and composing a verification code image.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "ksef/qr_symbol.h"
#include "platform/posix/cairo_surface.h"
#include "platform/posix/fonts.h"
#include "platform/recording_surface.h"
#include "render/line_splitter.h"
#include "render/page_renderer.h"
#include "render/print_mode.h"
#include "run/line_reader.h"
#include "style/print_style.h"

namespace zuvprint {
namespace {

namespace fs = std::filesystem;

// 80 characters of an invoice line in code page 852, Polish letters included
// (0xA5 'ą', 0x86 'ć', 0xA9 'ę', 0x88 'ł', 0xE4 'ń', 0xA2 'ó', 0x98 'ś',
// 0xAB 'ź', 0xBE 'ż').
std::string TypicalLine() {
  std::string line = "  12 \xB3 Us\x88ug\xA5 konferencyjn\xA5 z obs\x88ug\xA5 \x98wi\xA9teczn\xA5 \xB3 szt. \xB3";
  while (line.size() < 80) line += " 1 234,56 \xB3";
  line.resize(80);
  return line;
}

// A line with a sequence every 20 characters: bold on and off, a pitch.
std::string DenseLine(std::size_t length) {
  std::string line;
  static const std::string kSequences[] = {"\x1bG", "\x1bH", "\x1bM", "\x1bP"};
  for (std::size_t i = 0; line.size() < length; ++i) {
    line += kSequences[i % 4];
    line += "Zam\xA2wienie nr 42 ";  // 18 characters
  }
  line.resize(length);
  return line;
}

class ScratchFile {
 public:
  explicit ScratchFile(const std::string& content) {
    path_ = (fs::temp_directory_path() / ("zuvprint-bench-" + std::to_string(::getpid()))).string();
    std::ofstream(path_, std::ios::binary) << content;
  }
  ~ScratchFile() { fs::remove(path_); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

void BM_CzytajLinie(benchmark::State& state) {
  const std::size_t lines = static_cast<std::size_t>(state.range(0));
  std::string content;
  for (std::size_t i = 0; i < lines; ++i) content += TypicalLine() + "\r\n";
  ScratchFile file(content);
  for (auto _ : state) {
    int stan = kNieCzytano;
    BuforLinii bufor;
    std::size_t count = 0;
    do {
      benchmark::DoNotOptimize(CzytajLinie(file.Path(), stan, bufor));
      ++count;
    } while (stan >= 0);
    benchmark::DoNotOptimize(count);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * content.size()));
}
BENCHMARK(BM_CzytajLinie)->Arg(12000)->Arg(120000)->Unit(benchmark::kMillisecond);

void Split(benchmark::State& state, const std::string& line) {
  std::size_t pieces = 0;
  for (auto _ : state) {
    LiniaDruku linia(line);
    std::string_view przed;
    int numer = 0;
    while (PodzielLinie(linia, przed, numer)) ++pieces;
    benchmark::DoNotOptimize(pieces);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
}

void BM_PodzielLinie_Typical(benchmark::State& state) { Split(state, "\x1bG" + TypicalLine() + "\x1bH"); }
BENCHMARK(BM_PodzielLinie_Typical);

void BM_PodzielLinie_Dense(benchmark::State& state) {
  Split(state, DenseLine(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_PodzielLinie_Dense)->Arg(4000)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);

// Draws one 80-character line after another, 60 to a page, on an open job.
void DrawLines(benchmark::State& state, platform::Surface& surface) {
  TStylWydruku styl;
  UstawStylDomyslny(styl);
  TTrybyDruku tryb;
  ResetujTryb(tryb, styl);
  MiaryStrony miary;
  surface.BeginJob("bench");
  WybierzCzcionke(tryb, styl, surface, miary);
  const std::string line = TypicalLine();
  int onPage = 0;
  for (auto _ : state) {
    miary.x = 0;
    RysujNapis(surface, miary, line, 200.0f + 100.0f * onPage, tryb, styl);
    if (++onPage == 60) {
      surface.NewPage();
      onPage = 0;
    }
  }
  surface.EndJob();
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * line.size()));
}

void BM_RysujNapis_Cairo(benchmark::State& state) {
  fs::path dir = fs::temp_directory_path() / ("zuvprint-bench-pdf-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  {
    auto surface = platform::MakeCairoSurface(platform::MakePdfFileSink(dir.string(), "bench"));
    DrawLines(state, *surface);
  }
  fs::remove_all(dir);
}
BENCHMARK(BM_RysujNapis_Cairo)->Unit(benchmark::kMicrosecond);

void BM_RysujNapis_Recording(benchmark::State& state) {
  fs::path dir = fs::temp_directory_path() / ("zuvprint-bench-log-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  {
    std::string logPath;
    auto surface = platform::MakeRecordingSurface(
        platform::MakeCairoSurface(platform::MakePdfFileSink(dir.string(), "bench")),
        platform::CreateWithoutOverwrite(dir.string(), "bench", ".jsonl", logPath), logPath);
    DrawLines(state, *surface);
  }
  fs::remove_all(dir);
}
BENCHMARK(BM_RysujNapis_Recording)->Unit(benchmark::kMicrosecond);

void BM_ZlozObrazQR(benchmark::State& state) {
  const std::string link =
      "https://qr.ksef.mf.gov.pl/certificate/Nip/8982143767/8982143767/01F4A3C59E21B7D6/"
      "-JcbH0VWPqGdQEdU25qcaC-pHQ0rW31GiyzRZAbY9fE/"
      "lgAo1yeULGpj9Kt6yd8rg5zrsbgQf6M74KgaMbVyPWQokijWQ9hA7wfXfahPWSDaYFANSkf1iUmgP0SoaV3brg";
  const int S = static_cast<int>(state.range(0));
  for (auto _ : state) {
    platform::Bitmap moduly = ObrazModulow(link);
    benchmark::DoNotOptimize(ZlozObrazQR(moduly, S, "CERTYFIKAT"));
  }
}
BENCHMARK(BM_ZlozObrazQR)->Arg(590)->Arg(2400)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zuvprint

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  zuvprint::platform::ReleaseFontCaches();
  return 0;
}
