// The host's work areas: numbered slots, each holding at most one open
// table under its alias (case-insensitive), and the one currently selected.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/work_area.h"

namespace zuvtill::runtime {

class WorkAreas {
 public:
  // Opens the table in the lowest free area and selects it. Throws
  // HostError when the alias is already open.
  WorkArea& Open(std::string alias, DbfTable table, std::vector<OrderDefinition> orders);
  // Closes the table of that alias; answers false when none was open.
  bool Close(std::string_view alias);
  void CloseAll();

  WorkArea* Find(std::string_view alias);
  // Throws HostError when no table is open under the alias.
  WorkArea& Require(std::string_view alias);
  WorkArea* Current();
  int CurrentNumber() const { return current_; }
  // The number of the alias's area, 0 when it is not open.
  int NumberOf(std::string_view alias) const;

  // Selects an area by number (it may be empty) or by alias (which must be open).
  void Select(int number);
  void Select(std::string_view alias);

 private:
  std::map<int, std::unique_ptr<WorkArea>> areas_;
  int current_ = 1;
};

// Selects an area for a while and selects the previous one again at the end.
class SelectedArea {
 public:
  SelectedArea(WorkAreas& areas, std::string_view alias) : areas_(areas), previous_(areas.CurrentNumber()) {
    areas_.Select(alias);
  }
  ~SelectedArea() { areas_.Select(previous_); }
  SelectedArea(const SelectedArea&) = delete;
  SelectedArea& operator=(const SelectedArea&) = delete;

 private:
  WorkAreas& areas_;
  int previous_;
};

}  // namespace zuvtill::runtime
