#include "jobs.h"

#include "byte_files.h"
#include "deposit_file.h"
#include "file_text.h"
#include "information_file.h"
#include "job_failure.h"
#include "paper_roll.h"
#include "printouts.h"
#include "receipt_file.h"

namespace zuvlink {
namespace {

void WriteInformation(const JobRequest& request, const Family& family, const Settings& settings, std::time_t now) {
  std::string bytes = settings.informationFile
                          ? ReadWholeFile(*settings.informationFile, "Plik z informacją (ustawienie informacja)")
                          : InformationFile(DefaultInformationFields(family, now), settings);
  WriteWholeFile(request.file, bytes, "Plik informacji z drukarki");
}

// A receipt is checked whole before the first row is printed. When the
// paper ends after n item lines, the roll holds those and nothing more.
void PrintReceipt(const JobRequest& request, const Family& family, const Settings& settings, std::time_t now) {
  Receipt receipt = CheckReceipt(family, ReadWholeFile(request.file, "Plik paragonu"));
  long number = NextReceiptNumber(kRollFile);
  Rows rows = ReceiptHeadRows();
  std::size_t printed = 0;
  auto paperEnds = [&] {
    if (!settings.paperOutAfter || printed != static_cast<std::size_t>(*settings.paperOutAfter)) return;
    AppendToRoll(kRollFile, rows);
    throw JobFailure(Cp852("Brak papieru: wydrukowano " + std::to_string(printed) + " z " +
                           std::to_string(receipt.items.size()) + " pozycji paragonu"),
                     true);
  };
  paperEnds();
  for (const ItemLine& item : receipt.items) {
    for (std::string& row : ItemRows(item)) rows.push_back(std::move(row));
    ++printed;
    paperEnds();
  }
  for (std::string& row : ReceiptClosingRows(receipt, number, PrintTime(now))) rows.push_back(std::move(row));
  AppendToRoll(kRollFile, rows);
}

void PrintDepositSummary(const JobRequest& request, std::time_t now) {
  DepositSummary summary = CheckDepositFile(ReadWholeFile(request.file, "Plik kaucji"));
  AppendToRoll(kRollFile, DepositSummaryRows(summary, PrintTime(now)));
}

}  // namespace

void RunJob(const JobRequest& request, const Family& family, const Settings& settings, std::time_t now) {
  switch (request.job) {
    case Job::kInformation:
      return WriteInformation(request, family, settings, now);
    case Job::kReceipt:
      return PrintReceipt(request, family, settings, now);
    case Job::kDepositSummary:
      return PrintDepositSummary(request, now);
  }
}

}  // namespace zuvlink
