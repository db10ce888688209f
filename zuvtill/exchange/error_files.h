// The files a link program leaves when a job went wrong, and the error log
// of each device: their names per device symbol, and the rule by which the
// error file (or, for the SYS600 cash registers, the report file) says
// that the job failed.
#pragma once

#include <string>
#include <string_view>

namespace zuvtill::exchange {

// The device's error file and error log, bare file names ("ERROR.FP6",
// "ERRORZUV.FP6"); both "" for a device that has none.
std::string ErrorFileName(std::string_view deviceSymbol);
std::string ErrorLogName(std::string_view deviceSymbol);

// The job of the device failed, judged by its error file at errorFilePath
// (the work directory, "\" and the error file name).
bool JobFailed(std::string_view deviceSymbol, const std::string& errorFilePath);

// The file of handle read in pieces of up to 200 bytes (a zero byte ends a
// piece early) until a piece holds sought: answers that piece, with the
// 1-based place of sought in it and the number of pieces read before it;
// "" at the end of the file, leaving position as it was. A sought text
// that straddles two pieces is in neither.
std::string StringSeek(int handle, std::string_view sought, int& piecesBefore, int& position);

}  // namespace zuvtill::exchange
