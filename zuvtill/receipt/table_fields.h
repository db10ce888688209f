// Fields of the host's tables as the receipt jobs read them: a field the
// table does not have reads as NIL, which as a text is "" and as a number 0.
#pragma once

#include <string>
#include <string_view>

#include "runtime/runtime.h"
#include "runtime/work_area.h"

namespace zuvtill::receipt {

inline runtime::Value Field(const runtime::WorkArea& area, std::string_view field) {
  int index = area.FieldIndex(field);
  return index < 0 ? runtime::Value() : area.FieldGet(index);
}

inline std::string TextField(const runtime::WorkArea& area, std::string_view field) {
  runtime::Value v = Field(area, field);
  return v.IsText() ? v.AsText() : "";
}

inline double NumberField(const runtime::WorkArea& area, std::string_view field) {
  runtime::Value v = Field(area, field);
  return v.IsNumber() ? v.AsNumber() : 0;
}

// The open table of the alias; HostError when the host has not opened it.
inline runtime::WorkArea& Table(std::string_view alias) { return runtime::Runtime::Get().Areas().Require(alias); }

// A host variable's text, "" when it is none.
inline std::string TextVariable(std::string_view name) {
  runtime::Cell cell = runtime::Runtime::Get().Variables().Find(name);
  return cell && cell->IsText() ? cell->AsText() : "";
}

// The company and plant codes that begin every key of the host's tables.
inline std::string KeyPrefix() { return TextVariable("p_przds") + TextVariable("p_zkld"); }

}  // namespace zuvtill::receipt
