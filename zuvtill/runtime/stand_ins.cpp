#include "runtime/stand_ins.h"

#include "runtime/dates.h"
#include "runtime/host_error.h"
#include "runtime/numbers.h"
#include "runtime/text.h"

namespace zuvtill::runtime {

std::string Display(const Value& v, bool quoteText) {
  switch (v.GetType()) {
    case Value::Type::Nil: return "NIL";
    case Value::Type::Character: return quoteText ? "\"" + v.AsText() + "\"" : v.AsText();
    case Value::Type::Numeric: return ShortestNumber(v.AsNumber());
    case Value::Type::Logical: return v.AsLogical() ? ".T." : ".F.";
    case Value::Type::Date: {
      if (v.AsDate().IsEmpty()) return "    -  -  ";
      std::string s = Dtos(v.AsDate());
      return s.substr(0, 4) + "-" + s.substr(4, 2) + "-" + s.substr(6, 2);
    }
    case Value::Type::Array: {
      std::string out = "{";
      for (std::size_t i = 0; i < v.AsArray()->size(); ++i) {
        if (i) out += ", ";
        out += Display((*v.AsArray())[i], true);
      }
      return out + "}";
    }
    case Value::Type::Block: return v.AsBlock()->source.empty() ? "{|| ... }" : v.AsBlock()->source;
  }
  return "";
}

std::string RecordedCall::Describe() const {
  std::string out = name + "(";
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (i) out += ", ";
    if (byReference[i]) out += "@";
    out += Display(arguments[i], true);
  }
  return out + ")";
}

void StandIns::Record(std::string_view name, const Params& params) {
  RecordedCall call;
  call.name = std::string(name);
  for (int i = 1; i <= params.Count(); ++i) {
    call.arguments.push_back(params.Get(i));
    call.byReference.push_back(params.IsReference(i));
  }
  calls_.push_back(std::move(call));
}

bool StandIns::Answer(std::string_view name, Params& params) {
  Record(name, params);
  return AnswerUnrecorded(name, params);
}

bool StandIns::AnswerUnrecorded(std::string_view name, Params& params) {
  auto it = answers_.find(Upper(name));
  if (it == answers_.end()) return false;
  const SetAnswerFor& a = it->second;
  if (a.raises) throw HostError(a.message);
  for (const auto& [position, value] : a.writes) {
    if (params.IsReference(position)) params.Store(position, value);
  }
  if (a.hasResult) params.SetResult(a.result);
  return a.hasResult;
}

void StandIns::SetAnswer(std::string_view name, Value result) {
  SetAnswerFor& a = answers_[Upper(name)];
  a.hasResult = true;
  a.result = std::move(result);
}

void StandIns::SetWrite(std::string_view name, int position, Value value) {
  answers_[Upper(name)].writes[position] = std::move(value);
}

void StandIns::SetRaise(std::string_view name, std::string message) {
  SetAnswerFor& a = answers_[Upper(name)];
  a.raises = true;
  a.message = std::move(message);
}

void StandIns::ClearAnswers() { answers_.clear(); }

std::vector<RecordedCall> StandIns::TakeCalls() {
  std::vector<RecordedCall> taken;
  taken.swap(calls_);
  return taken;
}

void StandIns::Reset() {
  answers_.clear();
  calls_.clear();
}

}  // namespace zuvtill::runtime
