#include "runtime/work_areas.h"

#include "runtime/host_error.h"
#include "runtime/text.h"

namespace zuvtill::runtime {

WorkArea& WorkAreas::Open(std::string alias, DbfTable table, std::vector<OrderDefinition> orders) {
  alias = Upper(alias);
  if (NumberOf(alias) != 0) throw HostError("alias " + alias + " is already in use");
  int number = 1;
  while (areas_.count(number)) ++number;
  auto area = std::make_unique<WorkArea>(alias, std::move(table), std::move(orders));
  WorkArea& opened = *area;
  areas_[number] = std::move(area);
  current_ = number;
  return opened;
}

bool WorkAreas::Close(std::string_view alias) {
  int number = NumberOf(alias);
  if (number == 0) return false;
  areas_.erase(number);
  return true;
}

void WorkAreas::CloseAll() {
  areas_.clear();
  current_ = 1;
}

int WorkAreas::NumberOf(std::string_view alias) const {
  std::string wanted = Upper(alias);
  for (const auto& [number, area] : areas_) {
    if (area->Alias() == wanted) return number;
  }
  return 0;
}

WorkArea* WorkAreas::Find(std::string_view alias) {
  int number = NumberOf(alias);
  return number == 0 ? nullptr : areas_[number].get();
}

WorkArea& WorkAreas::Require(std::string_view alias) {
  WorkArea* area = Find(alias);
  if (!area) throw HostError("no table is open under the alias " + Upper(alias));
  return *area;
}

WorkArea* WorkAreas::Current() {
  auto it = areas_.find(current_);
  return it == areas_.end() ? nullptr : it->second.get();
}

void WorkAreas::Select(int number) {
  if (number < 1) throw HostError("no work area " + std::to_string(number));
  current_ = number;
}

void WorkAreas::Select(std::string_view alias) {
  int number = NumberOf(alias);
  if (number == 0) throw HostError("no table is open under the alias " + Upper(alias));
  current_ = number;
}

}  // namespace zuvtill::runtime
