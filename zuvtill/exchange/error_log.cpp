// WD_ERR2PLIK: appending to a device's error log.
#include "exchange/error_log.h"

#include "device/companions.h"
#include "exchange/error_texts.h"
#include "hostlibs/zuvcore.h"
#include "runtime/dates.h"
#include "runtime/export.h"
#include "runtime/numbers.h"
#include "runtime/runtime.h"
#include "runtime/text.h"

namespace zuvtill::exchange {
namespace {

using runtime::ByteFiles;
using runtime::Value;

ByteFiles& Files() { return runtime::Runtime::Get().Files(); }

// The file error box: the runtime's last file error, as the user sees it.
void ShowFileError() {
  std::string cause = FileErrorText(Files().LastError());
  runtime::Array lines{Value::Text("Bl`a`d: #1001:" + ExchangeErrorText(kErrorFileAccess) + ","), Value::Text(cause)};
  runtime::Call(KOM3, {Value::OfArray(std::move(lines)), Value::Number(0), Value::Number(0), Value::Number(3)});
}

// "\r\n==>   9 Grudzień 2026, 14:05:31, Kowalska\r\n\t"
std::string Stamp() {
  runtime::YearMonthDay today = runtime::Split(runtime::Today());
  runtime::Memvars& vars = runtime::Runtime::Get().Variables();
  Value operatorName = vars.Exists("pikoperator") ? vars.Get("pikoperator") : Value();
  return "\r\n==> " + runtime::Str(today.day, 3, 0) + " " + runtime::MonthName(today.month) + " " +
         std::to_string(today.year) + ", " + runtime::TimeOfDay() + ", " +
         runtime::AllTrim(operatorName.IsText() ? operatorName.AsText() : "") + "\r\n\t";
}

// The log open for writing at its end, emptied first beyond the limit;
// -1 after the file error box.
int OpenLogForAppend(const std::string& logPath) {
  ByteFiles& files = Files();
  int log = files.Open(logPath, ByteFiles::kWrite);
  bool recreate = log < 0;
  if (log >= 0 && files.Seek(log, 0, 2) > kErrorLogLimit) {
    if (!files.Close(log)) {
      ShowFileError();
      return -1;
    }
    recreate = true;
  }
  // A log that is there but did not open (locked, no permission) is not
  // emptied: its history is what the log is for.
  if (log < 0 && files.Occupied(logPath)) {
    ShowFileError();
    return -1;
  }
  if (recreate) {
    log = files.Create(logPath);
    if (log < 0) ShowFileError();
  }
  return log;
}

// The error file's first line, copied in pieces of up to 50 bytes; the
// line ends at its CR LF, also when a piece ends between CR and LF. A
// line longer than a whole log is cut there: beyond it the log would be
// emptied by its next entry anyway.
bool CopyFirstLine(int source, int log, std::string& collected) {
  ByteFiles& files = Files();
  bool written = true;
  bool heldCr = false;  // a CR that ended the previous piece
  for (bool ended = false; !ended && collected.size() < static_cast<std::size_t>(kErrorLogLimit);) {
    std::string piece = files.Read(source, 50);
    if (piece.size() < 50) {
      ended = true;
      if (files.LastError() != 0) {
        ShowFileError();
        written = false;
      }
    }
    if (heldCr) {
      heldCr = false;
      if (!piece.empty() && piece.front() == '\n') break;
      piece.insert(piece.begin(), '\r');
    }
    std::size_t lineEnd = piece.find("\r\n");
    if (lineEnd != std::string::npos) {
      piece.resize(lineEnd);
      ended = true;
    } else if (!ended && piece.back() == '\r') {
      piece.pop_back();
      heldCr = true;
    }
    collected += piece;
    if (files.Write(log, piece) < static_cast<long>(piece.size())) {
      if (files.LastError() != 0) {
        ShowFileError();
        written = false;
      }
      break;
    }
  }
  return written;
}

void ShowTheDevicesWay(const std::string& text, const std::string& deviceSymbol) {
  runtime::Call(WD_PISZERR, {Value::Text(text), Value::Text(deviceSymbol)});
}

}  // namespace

bool AppendToErrorLog(const LogEntry& entry) {
  ByteFiles& files = Files();
  runtime::FileHandle log(files, OpenLogForAppend(entry.logPath));
  if (!log.IsOpen()) return false;

  if (entry.stamped && files.Write(log.Get(), Stamp()) == 0) {
    ShowFileError();
    return false;
  }

  bool written = true;
  if (entry.fromFile) {
    runtime::FileHandle source(files, files.Open(entry.source, ByteFiles::kRead));
    if (source.IsOpen()) {
      std::string collected;
      written = CopyFirstLine(source.Get(), log.Get(), collected);
      ShowTheDevicesWay(collected, entry.deviceSymbol);
    }
  } else {
    ShowTheDevicesWay(entry.source, entry.deviceSymbol);
    if (files.Write(log.Get(), entry.source) < static_cast<long>(entry.source.size()) && files.LastError() != 0) {
      ShowFileError();
      written = false;
    }
  }

  // The entry is on disk only once the log is closed.
  if (!log.Close()) {
    ShowFileError();
    written = false;
  }
  return written;
}

}  // namespace zuvtill::exchange

using zuvtill::runtime::Params;
using zuvtill::runtime::Value;

// WD_ERR2PLIK(cSource, cLogPath, lFromFile, lStamped, cDevice)
ZUV_EXPORT void WD_ERR2PLIK(Params& p) {
  zuvtill::exchange::LogEntry entry{.source = p.Text(1),
                                    .logPath = p.Text(2),
                                    .fromFile = p.Logical(3),
                                    .stamped = p.Logical(4),
                                    .deviceSymbol = p.Text(5, zuvtill::device::kFiscalPrinter)};
  p.SetResult(Value::Logical(zuvtill::exchange::AppendToErrorLog(entry)));
}
