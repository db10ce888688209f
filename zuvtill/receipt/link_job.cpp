#include "receipt/link_job.h"

#include "exchange/link_runner.h"
#include "hostlibs/zuvcore.h"
#include "runtime/runtime.h"

namespace zuvtill::receipt {

using runtime::Call;
using runtime::Value;

double PrintExchangeFile(const ExchangeFile& file, const std::function<void()>& afterFailure) {
  runtime::ByteFiles& files = runtime::Runtime::Get().Files();
  if (files.Exists("DEBUGWIN")) {
    runtime::Array lines{Value::Text(file.printer), Value::Text("Wersja testowa bez uruchamiania drukarki fiskalnej"),
                         Value::Text(file.job)};
    Call(KOM3, {Value::OfArray(std::move(lines))});
    Call(MK_VIEWER, {Value::Text(file.path)});
    return 0;
  }
  bool printed =
      exchange::RunLink({.commandLine = exchange::LinkCommand(file.jobCode) + " " + file.name, .variant = file.variant});
  if (!printed && afterFailure) afterFailure();
  if (files.Exists(file.path)) Call(E_FILEDELETE, {Value::Text(file.path)});
  return printed ? 0 : -2;
}

}  // namespace zuvtill::receipt
