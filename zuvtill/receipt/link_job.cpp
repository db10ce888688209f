#include "receipt/link_job.h"

#include "exchange/link_runner.h"
#include "hostlibs/zuvcore.h"
#include "runtime/runtime.h"

namespace zuvtill::receipt {

using runtime::Call;
using runtime::Value;

std::string ExchangeFilePath(const std::string& workDirectory, const std::string& variant, const std::string& fileName) {
  return workDirectory + "\\" + (variant == exchange::kMer30 ? "MERA30\\" : "") + fileName;
}

double PrintExchangeFile(const ExchangeFile& file, const std::function<void()>& afterFailure) {
  runtime::ByteFiles& files = runtime::Runtime::Get().Files();
  const std::string path = ExchangeFilePath("FISK", file.variant, file.name);
  if (files.Exists("DEBUGWIN")) {
    runtime::Array lines{Value::Text(file.printer), Value::Text("Wersja testowa bez uruchamiania drukarki fiskalnej"),
                         Value::Text(file.job)};
    Call(KOM3, {Value::OfArray(std::move(lines))});
    Call(MK_VIEWER, {Value::Text(path)});
    return 0;
  }
  bool printed =
      exchange::RunLink({.commandLine = exchange::LinkCommand(file.jobCode) + " " + file.name, .variant = file.variant});
  if (!printed && afterFailure) afterFailure();
  if (files.Exists(path)) Call(E_FILEDELETE, {Value::Text(path)});
  return printed ? 0 : -2;
}

}  // namespace zuvtill::receipt
