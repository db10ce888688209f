// What the host libraries' and device modules' stand-ins share: a record of
// every call made to them (name, arguments, which arguments were
// references) and the answers that a test or a script has set for them.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/params.h"

namespace zuvtill::runtime {

struct RecordedCall {
  std::string name;
  std::vector<Value> arguments;  // as they were when the call began
  std::vector<bool> byReference;
  // NAME(arg, @arg, ...) with texts in double quotes (code page 852).
  std::string Describe() const;
};

// A value written out for the console: texts as they stand at the top level
// and in double quotes inside arrays; numbers shortest; .T./.F.; NIL; dates
// as YYYY-MM-DD; arrays as {a, b}; blocks by their source.
std::string Display(const Value& value, bool quoteText = false);

class StandIns {
 public:
  // Records the call; then answers it: when an answer is set for name, the
  // result is that answer and the set writes go to the arguments passed by
  // reference; when a raise is set, HostError with its message is thrown.
  // Answers true when a set answer was given (the stand-in then does
  // nothing of its own).
  bool Answer(std::string_view name, Params& params);
  // The same without recording the call: for the stand-ins that only look
  // something up.
  bool AnswerUnrecorded(std::string_view name, Params& params);
  void Record(std::string_view name, const Params& params);

  void SetAnswer(std::string_view name, Value result);
  void SetWrite(std::string_view name, int position, Value value);
  void SetRaise(std::string_view name, std::string message);
  void ClearAnswers();

  const std::vector<RecordedCall>& Calls() const { return calls_; }
  // The calls so far, leaving the record empty.
  std::vector<RecordedCall> TakeCalls();
  void Reset();

 private:
  struct SetAnswerFor {
    bool hasResult = false;
    Value result;
    std::map<int, Value> writes;
    bool raises = false;
    std::string message;
  };
  std::map<std::string, SetAnswerFor, std::less<>> answers_;
  std::vector<RecordedCall> calls_;
};

}  // namespace zuvtill::runtime
