// GETERRNAME, GETZUVERR, BYL_ERROR and STRINGSEEK.
#include "exchange/error_files.h"

#include <array>

#include "device/family.h"
#include "device/port_settings.h"
#include "runtime/export.h"
#include "runtime/numbers.h"
#include "runtime/runtime.h"
#include "runtime/text.h"

namespace zuvtill::exchange {
namespace {

using runtime::ByteFiles;

// How a device's error file tells that its job failed.
enum class Rule {
  kWorkModeAndFile,  // the fiscal printer: failed unless operated and no error file
  kFileExists,
  kReportNumber,     // SYS600: the report file's error number is not 0
  kAlways,           // a device the library does not know
};

struct DeviceErrors {
  std::string_view errorFile;
  std::string_view errorLog;
  Rule rule;
};

// The row of the device, the first that matches.
DeviceErrors ErrorsOf(std::string_view symbol) {
  if (symbol == device::kFiscalPrinter) {
    const std::string family = device::FamilySymbol();
    if (family == device::kElzabFamily) return {"ERROR.FP6", "ERRORZUV.FP6", Rule::kWorkModeAndFile};
    if (family == device::kPosnetFamily) return {"ERROR.DF3", "ERRORZUV.DF3", Rule::kWorkModeAndFile};
    return {"", "", Rule::kAlways};
  }
  struct Row {
    std::string_view symbol;
    DeviceErrors errors;
  };
  static constexpr std::array kRows = {
      Row{" 10  1", {"ERROR.CPT", "ERRORZUV.CPT", Rule::kFileExists}},
      Row{" 10  2", {"ERROR.SP2", "ERRORZUV.SP2", Rule::kFileExists}},
      Row{" 10  3", {"ERROR.CP8", "ERRORZUV.CP8", Rule::kFileExists}},
      Row{"  2  1", {"ERROR.BMC", "ERRORZUV.BMC", Rule::kFileExists}},
      Row{"  2  3", {"ERROR.BMC", "ERRORZUV.BMC", Rule::kFileExists}},
      Row{"  2  2", {"ERROR.IBM", "ERRORZUV.IBM", Rule::kFileExists}},
      Row{"  2  4", {"RAPORT.TXT", "ERRORZUV.S60", Rule::kReportNumber}},
      Row{"  2  5", {"ERROR.SHR", "ERRORZUV.SHR", Rule::kFileExists}},
      Row{"  2  6", {"ERROR.DTS", "ERRORZUV.DTS", Rule::kFileExists}},
      Row{"  2  7", {"ERROR.PSN", "ERRORZUV.PSN", Rule::kFileExists}},
      Row{"  2  8", {"ERROR.NVS", "ERRORZUV.NVS", Rule::kFileExists}},
      Row{"  3  1", {"ERROR.AXS", "ERRORZUV.AXS", Rule::kFileExists}},
  };
  for (const Row& row : kRows) {
    if (row.symbol == symbol) return row.errors;
  }
  if (device::IsDataCollector(symbol)) return {"", "", Rule::kFileExists};
  return {"", "", Rule::kAlways};
}

// The SYS600 report file carries its error number after a line end and
// "#", up to a TAB or the next line end: "\r\n#17\t...". A report file that
// does not open or holds no number means a failed job.
bool ReportNumberIsNot0(ByteFiles& files, const std::string& path) {
  runtime::FileHandle report(files, files.Open(path, ByteFiles::kRead));
  if (!report.IsOpen()) return true;
  int pieces = 0, position = 0;
  std::string piece = StringSeek(report.Get(), "\r\n#", pieces, position);
  if (piece.empty()) return true;
  std::string rest = piece.substr(position + 1);  // from the "#" on
  auto numberEnd = [&rest] {
    std::size_t end = rest.find('\t', 1);
    return end != std::string::npos ? end : rest.find("\r\n", 1);
  };
  std::size_t end = numberEnd();
  if (end == std::string::npos) {
    rest += files.Read(report.Get(), 5);
    end = numberEnd();
  }
  std::string number = end == std::string::npos ? "" : rest.substr(1, end - 1);
  return runtime::Val(number) != 0;
}

}  // namespace

std::string ErrorFileName(std::string_view deviceSymbol) { return std::string(ErrorsOf(deviceSymbol).errorFile); }
std::string ErrorLogName(std::string_view deviceSymbol) { return std::string(ErrorsOf(deviceSymbol).errorLog); }

bool JobFailed(std::string_view deviceSymbol, const std::string& errorFilePath) {
  ByteFiles& files = runtime::Runtime::Get().Files();
  switch (ErrorsOf(deviceSymbol).rule) {
    case Rule::kWorkModeAndFile:
      return !device::DeviceOperated() || files.Exists(errorFilePath);
    case Rule::kFileExists:
      return files.Exists(errorFilePath);
    case Rule::kReportNumber:
      return ReportNumberIsNot0(files, errorFilePath);
    case Rule::kAlways:
      break;
  }
  return true;
}

std::string StringSeek(int handle, std::string_view sought, int& piecesBefore, int& position) {
  ByteFiles& files = runtime::Runtime::Get().Files();
  piecesBefore = 0;
  for (;;) {
    std::string piece = files.ReadString(handle, 200);
    if (piece.empty()) return piece;
    int at = runtime::At(sought, piece);
    if (at > 0) {
      position = at;
      return piece;
    }
    ++piecesBefore;
  }
}

}  // namespace zuvtill::exchange

using zuvtill::runtime::Params;
using zuvtill::runtime::Value;

namespace {

std::string DeviceArgument(const Params& p, int n) { return p.Text(n, zuvtill::device::kFiscalPrinter); }

}  // namespace

// GETERRNAME(cDevice): the device's error file name.
ZUV_EXPORT void GETERRNAME(Params& p) { p.SetResult(Value::Text(zuvtill::exchange::ErrorFileName(DeviceArgument(p, 1)))); }

// GETZUVERR(cDevice): the device's error log name.
ZUV_EXPORT void GETZUVERR(Params& p) { p.SetResult(Value::Text(zuvtill::exchange::ErrorLogName(DeviceArgument(p, 1)))); }

// BYL_ERROR(cDevice, cErrorFilePath): .T. when the device's job failed.
ZUV_EXPORT void BYL_ERROR(Params& p) {
  p.SetResult(Value::Logical(zuvtill::exchange::JobFailed(DeviceArgument(p, 1), p.Text(2))));
}

// STRINGSEEK(nHandle, cSought, @nPieces, @nPosition): the piece of the file
// that holds the sought text, or "".
ZUV_EXPORT void STRINGSEEK(Params& p) {
  int pieces = 0;
  int position = p.Integer(4);
  std::string piece = zuvtill::exchange::StringSeek(p.Integer(1, -1), p.Text(2), pieces, position);
  p.Store(3, Value::Number(pieces));
  if (!piece.empty()) p.Store(4, Value::Number(position));
  p.SetResult(Value::Text(piece));
}
