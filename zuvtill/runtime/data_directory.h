// The host's data directory: one DBF file per table, named by its alias in
// lower case ("pozycje.dbf"), and "tables.ini" with one section per alias
// whose keys are order numbers and whose values are key expressions:
//
//   [pozycje]
//   1 = przeds+zaklad+odnosnik+nr_poz
//
// Lines starting with ';' are comments.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "runtime/work_area.h"
#include "runtime/work_areas.h"

namespace zuvtill::runtime {

class DataDirectory {
 public:
  // Reads tables.ini of dir (a missing file defines no orders). Throws
  // HostError naming the line of a malformed entry.
  void SetPath(const std::string& dir);
  const std::string& Path() const { return path_; }

  std::vector<OrderDefinition> OrdersOf(const std::string& alias) const;
  // The table file of the alias, or "" when the directory has none.
  std::string TableFile(const std::string& alias) const;
  // The aliases of every table file, in name order.
  std::vector<std::string> Aliases() const;

  // Opens the alias's table with its orders in a new area (selected).
  WorkArea& Open(WorkAreas& areas, const std::string& alias) const;

 private:
  std::string path_ = ".";
  std::map<std::string, std::vector<OrderDefinition>> orders_;  // by upper-case alias
};

}  // namespace zuvtill::runtime
