// WD_RUNLINK, GETPROGNAME and WD_GETPROG.
#include "exchange/link_runner.h"

#include <optional>

#include "device/port_settings.h"
#include "exchange/error_files.h"
#include "exchange/error_log.h"
#include "exchange/error_texts.h"
#include "hostlibs/zuvcore.h"
#include "hostlibs/zuvfault.h"
#include "modules/zuvcollect.h"
#include "runtime/current_directory.h"
#include "runtime/export.h"
#include "runtime/numbers.h"
#include "runtime/runtime.h"
#include "runtime/shell.h"
#include "runtime/text.h"

namespace zuvtill::exchange {
namespace {

using runtime::Call;
using runtime::Value;

constexpr double kLinkReport = 8527;

Value Text(std::string text) { return Value::Text(std::move(text)); }
Value Number(double n) { return Value::Number(n); }

void Report(const std::string& text) { Call(RAPORT, {Number(kLinkReport), Text(text)}); }
void Message(const std::string& text) { Call(KOM3, {Text(text), Number(0), Number(0), Number(3)}); }

// The console as the host had it: cursor shape and the whole screen, put
// back by Restore() or, on a path that leaves by an error, when the run
// ends.
class ConsoleState {
 public:
  ConsoleState() : console_(runtime::Runtime::Get().Terminal()) {
    cursor_ = console_.SetCursor(runtime::Console::kCursorNormal);
    screen_ = console_.SaveScreen(0, 0, console_.MaxRow(), console_.MaxCol());
  }
  ~ConsoleState() {
    if (!restored_) Restore();
  }
  ConsoleState(const ConsoleState&) = delete;
  ConsoleState& operator=(const ConsoleState&) = delete;

  void Restore() {
    console_.SetCursor(cursor_);
    console_.RestScreen(0, 0, console_.MaxRow(), console_.MaxCol(), screen_);
    restored_ = true;
  }

 private:
  runtime::Console& console_;
  int cursor_ = 0;
  std::string screen_;
  bool restored_ = false;
};

// The host's current directory, kept while the program runs in its work
// directory.
class HostDirectory {
 public:
  // Back by the host's own function with the path it gave; into the kept
  // directory itself when that fails or leads elsewhere (the directory
  // moved, the path now names another one, the path was none).
  void ChangeBack(const std::optional<std::string>& path) const {
    if (path) {
      Value answer = Call(CHANGEDIR, {Text(*path)});
      if (answer.IsNumber() && answer.AsNumber() == 0 && kept_.IsCurrent()) return;
    }
    (void)kept_.MakeCurrent();
  }

 private:
  runtime::KeptDirectory kept_;
};

// Runs the command line in the work directory; false when the program was
// not started (the change of directory included).
bool RunInWorkDirectory(const std::string& workDirectory, const std::string& commandLine) {
  HostDirectory host;
  Value remembered = Call(DIRNAME, {Value::Logical(true)});
  std::optional<std::string> hostPath;
  if (remembered.IsText()) hostPath = remembered.AsText();
  Value changed = Call(CHANGEDIR, {Text(hostPath.value_or(".") + "\\" + workDirectory)});
  if (!changed.IsNumber() || changed.AsNumber() != 0) {
    Message("Nie powiodl`a sie` zmiana katalogu na " + workDirectory + "!");
    return false;
  }
  bool started = true;
  try {
    // A program that ran has started, whatever status it ended with; only
    // one that could not be executed has not.
    started = runtime::RunShell("/C " + commandLine).has_value();
  } catch (...) {
    host.ChangeBack(hostPath);
    throw;
  }
  host.ChangeBack(hostPath);
  return started;
}

std::string WorkDirectory(const LinkRun& run) {
  std::string directory = !device::IsDataCollector(run.deviceSymbol) ? "FISK"
                          : run.collectorKind == 8                   ? "KOLEKT_1"
                                                                     : "KOLEKTOR";
  if (run.variant == kMer30) directory += "\\MERA30";
  return directory;
}

// The program file is missing: told, recorded as error 1005, reported.
void ReportMissingProgram(const LinkRun& run, const std::string& program, double collectorFlag) {
  Message("Nie znaleziono programu komunikacyjnego: \"" + program + "\"!");
  if (device::IsDataCollector(run.deviceSymbol)) {
    RecordExchangeError(kNoLinkProgram, "Nie znaleziono programu komunikacyjnego dla kolektora: \"" + program + "\"",
                        run.deviceSymbol, collectorFlag);
    Report("Brak link'a kolektora: " + program);
  } else {
    RecordExchangeError(kNoLinkProgram, "Nie znaleziono programu komunikacyjnego dla drukarki: \"" + program + "\"",
                        device::kFiscalPrinter, collectorFlag);
    Report("Brak link'a drukarki: " + program);
  }
}

// Shows a host notice window while work is done.
template <typename Work>
void WithNotice(const std::string& text, Work work) {
  Value window = Call(KOM4, {Text(text), Number(0), Number(0), Value::Logical(false)});
  work();
  Call(ZWIN, {window});
}

}  // namespace

std::string Variant(const Value& argument) {
  return argument.IsText() && argument.AsText() == kMer30 ? std::string(kMer30) : "";
}

std::string LinkProgramName(std::string_view deviceSymbol, double collectorNumber, const Value& collectorKind) {
  if (device::IsDataCollector(deviceSymbol)) {
    Value name = Call(KL_SLODAN, {Value(), Number(7), collectorKind, Number(collectorNumber)});
    return name.IsText() ? name.AsText() : "";
  }
  const std::string family = device::FamilySymbol();
  if (family == device::kElzabFamily) return "ELZABDR.EXE";
  if (family == device::kPosnetFamily) return "POSNETDR.EXE";
  return "";
}

std::string LinkCommand(std::string_view jobCode) {
  device::PortSettings port = device::CurrentPortSettings();
  const std::string family = device::FamilySymbol();
  std::string tail = family == device::kPosnetFamily ? (port.lineOption == 0 ? "0" : "1")
                     : family == device::kElzabFamily ? "25"
                                                      : "0";
  return LinkProgramName(device::kFiscalPrinter, 1, Value()) + " " + std::string(jobCode) + " " +
         runtime::Str(port.port, 1, 0) + " " + runtime::AllTrim(runtime::Str(port.speed, 5, 0)) + " " + tail;
}

bool RunLink(const LinkRun& run) {
  const double collectorFlag = run.collectorKind == 8 ? 1 : 0;
  const std::string workDirectory = WorkDirectory(run);
  const std::string program = runtime::IsBlank(run.programName)
                                  ? LinkProgramName(run.deviceSymbol, run.collectorNumber, Number(run.collectorKind))
                                  : run.programName;
  const std::string errorSymbol = runtime::IsBlank(run.errorSymbol) ? run.deviceSymbol : run.errorSymbol;
  const std::string errorLog = workDirectory + "\\" + ErrorLogName(errorSymbol);
  const std::string errorFile = workDirectory + "\\" + ErrorFileName(errorSymbol);

  runtime::Console& console = runtime::Runtime::Get().Terminal();
  ConsoleState hostConsole;
  Call(STATLINE, {Text("Uruchamianie programu komunikacyjnego ...")});
  Report("Uruchomienie linka:" + program);

  if (!runtime::Runtime::Get().Files().Exists(workDirectory + "\\" + program)) {
    ReportMissingProgram(run, program, collectorFlag);
    hostConsole.Restore();
    return false;
  }

  console.SetPos(24, 0);
  console.DevOut("");
  bool started = RunInWorkDirectory(workDirectory, run.commandLine);
  Call(NOWY_GEN, {Value::Logical(true)});
  hostConsole.Restore();
  console.SetCursor(runtime::Console::kCursorNone);
  Call(STATLINE, {Number(-1)});

  if (!started) {
    Report("Blad uruchomienia linka: " + program);
    WithNotice("Zapis bl`e`du do pliku...", [&] {
      AppendToErrorLog({.source = "#1001: Bl`a`d uruchomienia programu komunikacyjnego\r\n            ;Bl`a`d RunShell`a.",
                        .logPath = errorLog,
                        .fromFile = false,
                        .stamped = true});
    });
    return false;
  }
  Report("Koniec pracy linka: " + program);
  if (!JobFailed(errorSymbol, errorFile)) return true;
  Report("Blad pracy linka: " + program);
  WithNotice("kopiowanie zbioru z zawartos`cia` bl`e`du ...", [&] {
    AppendToErrorLog({.source = errorFile,
                      .logPath = errorLog,
                      .fromFile = true,
                      .stamped = true,
                      .deviceSymbol = run.deviceSymbol});
    Call(E_FILEDELETE, {Text(errorFile)});
  });
  return false;
}

}  // namespace zuvtill::exchange

using zuvtill::runtime::Params;
using zuvtill::runtime::Value;
namespace exchange = zuvtill::exchange;

// WD_RUNLINK(cCommandLine, cProgram, cErrorSymbol, cDevice, nCollector,
// cVariant, nCollectorKind): .T. when the program ran and reported no error.
ZUV_EXPORT void WD_RUNLINK(Params& p) {
  exchange::LinkRun run{.commandLine = p.Text(1),
                        .programName = p.Text(2),
                        .errorSymbol = p.Text(3),
                        .deviceSymbol = p.Text(4, zuvtill::device::kFiscalPrinter),
                        .collectorNumber = p.Number(5, 1),
                        .variant = exchange::Variant(p.Get(6)),
                        .collectorKind = p.Number(7, 1)};
  p.SetResult(Value::Logical(exchange::RunLink(run)));
}

// GETPROGNAME(cDevice, nCollector, nCollectorKind): the link program's name.
ZUV_EXPORT void GETPROGNAME(Params& p) {
  p.SetResult(Value::Text(
      exchange::LinkProgramName(p.Text(1, zuvtill::device::kFiscalPrinter), p.Number(2, 1), p.Get(3))));
}

// WD_GETPROG(cJob): the fiscal printer's link command line for the job.
ZUV_EXPORT void WD_GETPROG(Params& p) { p.SetResult(Value::Text(exchange::LinkCommand(p.Text(1)))); }
