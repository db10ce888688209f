// WD_DRPARAM: the fiscal printer's information (clock, tax rates, state and
// further values), written by the link program's job 3 into an information
// file, parsed into the host's output arguments.
//
// The information file: "#Informacja z drukarki#", CR LF, then 24 fields
// in double quotes separated by commas; only its first 500 bytes count.
#include <array>
#include <optional>

#include "device/companions.h"
#include "exchange/error_texts.h"
#include "exchange/link_runner.h"
#include "hostlibs/zuvcore.h"
#include "receipt/tax_rates.h"
#include "runtime/cp852_literal.h"
#include "runtime/export.h"
#include "runtime/numbers.h"
#include "runtime/runtime.h"
#include "runtime/text.h"

namespace zuvtill::exchange {
namespace {

using namespace runtime::literals;
using runtime::ByteFiles;
using runtime::Params;
using runtime::Value;

constexpr std::string_view kHeader = "#Informacja z drukarki#";
constexpr long kLookedAt = 500;
constexpr int kOutputs = 23;
constexpr std::string_view kUnavailable = "___NIM___";
constexpr std::string_view kShortUnavailable = "NIM";
constexpr std::string_view kDryRunFile = "DW_PARDR.df3";

constexpr auto kWrongFormat = "Błędny format danych"_cp852;
constexpr auto kWrongTime = "Błędna wartość czasu"_cp852;
constexpr auto kWrongDate = "Błędna wartość daty"_cp852;
constexpr auto kCloseFailed = "Błąd zamknięcia pliku pomocniczego z danymi z drukarki"_cp852;

ByteFiles& Files() { return runtime::Runtime::Get().Files(); }

// The mark an output holds until something is read: outputs 1 to 7, 16
// and 20 the long one, the others the short one.
std::string_view StartMark(int output) {
  bool longMark = output <= 7 || output == 16 || output == 20;
  return longMark ? kUnavailable : kShortUnavailable;
}

// The mark of an output whose field is empty: the long one for outputs 2
// to 7, 15 and 16, the short one for the rest (output 20 takes the
// device's character value instead).
std::string_view EmptyMark(int output) {
  bool longMark = output <= 7 || output == 15 || output == 16;
  return longMark ? kUnavailable : kShortUnavailable;
}

// The information file's fields, read one after the other from the bytes
// looked at.
class FieldReader {
 public:
  explicit FieldReader(std::string bytes) : bytes_(std::move(bytes)) {}

  bool SkipHeader() {
    if (bytes_.compare(0, kHeader.size(), kHeader) != 0) return false;
    at_ = kHeader.size() + 3;  // CR LF and the first field's opening quote
    return true;
  }
  // The next field up to its end ("\",\"", or the closing quote for the
  // last one); nothing when the end is not among the bytes.
  std::optional<std::string> Next(bool last) {
    std::string_view end = last ? "\"" : "\",\"";
    std::size_t found = at_ <= bytes_.size() ? bytes_.find(end, at_) : std::string::npos;
    if (found == std::string::npos) return std::nullopt;
    return bytes_.substr(at_, found - at_);
  }
  void Advance(std::size_t count) { at_ += count; }

 private:
  std::string bytes_;
  std::size_t at_ = 0;
};

// The name of the month in the host's month-name array tab_mies.
std::string HostMonthName(int month) {
  runtime::Cell months = runtime::Runtime::Get().Variables().Find("tab_mies");
  if (!months || !months->IsArray()) return "";
  const runtime::Array& names = *months->AsArray();
  if (month < 1 || month > static_cast<int>(names.size()) || !names[month - 1].IsText()) return "";
  return names[month - 1].AsText();
}

struct Clock {
  double day = 0, month = 0, year = 0;
  double hour = -1, minute = -1;
};

// Output 1: "14:05   9 Grudzień 2026", or the mark; a reason for a clock
// out of range.
std::optional<std::string> ClockText(const Clock& c, std::string& clock) {
  if (c.hour == -1 || c.minute == -1) {
    clock = kUnavailable;
  } else if (c.hour > 24 || c.hour < 0 || c.minute < 0 || c.minute > 60) {
    return kWrongTime.str();
  } else if (c.year == 0 || c.month == 0 || c.day == 0) {
    clock = kUnavailable;
  } else if (c.year < 1000 || c.year > 9999 || c.month < 1 || c.month > 12 || c.day < 1 || c.day > 31) {
    return kWrongDate.str();
  } else {
    auto twoDigits = [](double n) { return runtime::PadL(runtime::AllTrim(runtime::Str(n, 2, 0)), 2, '0'); };
    clock = twoDigits(c.hour) + ":" + twoDigits(c.minute) + "  " + runtime::Str(c.day, 2, 0) + " " +
            HostMonthName(static_cast<int>(c.month)) + " " + runtime::Str(c.year, 4, 0);
  }
  return std::nullopt;
}

// Parses the fields into the outputs; answers what went wrong, if anything.
class InformationParser {
 public:
  explicit InformationParser(Params& p) : p_(p) {}

  std::optional<std::string> Parse(std::string bytes) {
    FieldReader fields(std::move(bytes));
    if (!fields.SkipHeader()) return kWrongFormat.str();

    Clock clock;
    std::optional<std::string> date = fields.Next(false);
    if (!date) return kWrongFormat.str();
    std::string d = runtime::AllTrim(*date);
    if (d.size() == 10) {
      clock.day = runtime::Val(runtime::Substr(d, 1, 2));
      clock.month = runtime::Val(runtime::Substr(d, 4, 2));
      clock.year = runtime::Val(runtime::Substr(d, 7, 4));
    }
    fields.Advance(d.size() + 3);

    std::optional<std::string> time = fields.Next(false);
    if (!time) return kWrongFormat.str();
    std::string t = runtime::AllTrim(*time);
    if (t.size() == 5) {
      clock.hour = runtime::Val(runtime::Substr(*time, 1, 2));
      clock.minute = runtime::Val(runtime::Substr(*time, 4, 2));
    }
    fields.Advance(t.size() + 3);

    std::string clockText;
    if (std::optional<std::string> wrong = ClockText(clock, clockText)) return wrong;
    Store(1, Value::Text(clockText));

    for (int field = 3; field <= 24; ++field) {
      bool last = field == 24;
      std::optional<std::string> text = fields.Next(last);
      if (!text) return kWrongFormat.str();
      Convert(field, *text);
      fields.Advance(text->size() + (last ? 1 : 3));
    }
    return std::nullopt;
  }

 private:
  void Store(int output, Value value) { p_.Store(output, std::move(value)); }

  void Convert(int field, const std::string& text) {
    const int output = field - 1;
    const bool empty = field == 3 || field == 4 ? runtime::IsBlank(text) : text.empty();
    if (field == 18) {
      runtime::Runtime::Get().Variables().Assign("max_zmina", Value::Text(text));
      return;
    }
    if (empty) {
      Store(output, output == 20 ? runtime::Call(WD_CHAR) : Value::Text(std::string(EmptyMark(output))));
      return;
    }
    if (field == 3 || field == 4) {
      Store(output, Value::Text(runtime::AllTrim(text)));
    } else if (field == 5 || field == 6) {
      Store(output, Value::Text(runtime::Str(runtime::Val(text) / 100, 6, 2)));
    } else if (field >= 9 && field <= 15) {
      Store(output, Value::Text(receipt::PrinterRateText(text)));
    } else if (field == 16) {
      Store(output, Value::Text(text == "1" ? "otwarty" : text == "0" ? "zamknie`ty" : text));
    } else {
      Store(output, Value::Text(text));
    }
  }

  Params& p_;
};

void Record(const std::string& detail) { RecordExchangeError(kOutputFileRead, detail); }

double PrinterInformation(Params& p) {
  Value process = runtime::Call(NAZWA_PROCESU);
  std::string name = runtime::Substr(process.IsText() ? process.AsText() : "", 3) + "i.df3";
  for (int output = 1; output <= kOutputs; ++output) p.Store(output, Value::Text(std::string(StartMark(output))));
  const std::string variant = Variant(p.Get(24));

  const bool dryRun = Files().Exists("DEBUGWIN");
  bool ran = true;
  if (dryRun) {
    name = kDryRunFile;
    runtime::Array lines{Value::Text("Wersja testowa bez uruchamiania drukarki fiskalnej"),
                         Value::Text("Odczyt parametro`w drukarki"), Value::Text("Plik z danymi: " + name)};
    runtime::Call(KOM3, {Value::OfArray(std::move(lines)), Value::Number(0), Value::Number(0), Value::Number(5)});
  } else {
    ran = RunLink({.commandLine = LinkCommand("3") + " " + name, .variant = variant});
  }
  const std::string path = std::string("FISK\\") + (variant == kMer30 ? "MERA30\\" : "") + name;
  if (!ran) return -2;

  ByteFiles& files = Files();
  runtime::FileHandle file(files, files.Open(path, ByteFiles::kRead));
  if (!file.IsOpen()) {
    Record(FileErrorText(files.LastError()));
    return -2;
  }
  // Once opened, the file is closed and, outside the dry run, deleted on
  // every path; false when the close failed.
  auto closeAndDelete = [&] {
    bool closed = file.Close();
    if (closed && !dryRun) files.Erase(path);
    return closed;
  };
  std::string bytes = files.Read(file.Get(), kLookedAt);
  if (files.LastError() != 0) {
    Record(FileErrorText(files.LastError()));
    closeAndDelete();
    return -2;
  }

  std::optional<std::string> wrong;
  try {
    wrong = InformationParser(p).Parse(std::move(bytes));
  } catch (...) {
    closeAndDelete();
    throw;
  }
  if (!closeAndDelete() && !wrong) wrong = kCloseFailed.str();
  if (wrong) {
    Record(name + " - " + *wrong);
    return -2;
  }
  return 0;
}

}  // namespace
}  // namespace zuvtill::exchange

// WD_DRPARAM(@c1, ..., @c23, cVariant): 0 when the printer's information
// was read into the 23 outputs, -2 otherwise.
ZUV_EXPORT void WD_DRPARAM(zuvtill::runtime::Params& p) {
  p.SetResult(zuvtill::runtime::Value::Number(zuvtill::exchange::PrinterInformation(p)));
}
