#include "runtime/data_directory.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "runtime/dos_path.h"
#include "runtime/host_error.h"
#include "runtime/text.h"

namespace zuvtill::runtime {
namespace {

bool IsNumber(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Stem(const std::string& fileName) {
  std::string upper = Upper(fileName);
  if (upper.size() > 4 && upper.compare(upper.size() - 4, 4, ".DBF") == 0) return upper.substr(0, upper.size() - 4);
  return "";
}

// The names of the directory's entries in the host's bytes; none when it
// cannot be read.
std::vector<std::string> EntryNames(const std::string& directory) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(NativePath(directory), error), end; !error && it != end;
       it.increment(error)) {
    names.push_back(HostName(it->path().filename()));
  }
  return names;
}

}  // namespace

void DataDirectory::SetPath(const std::string& dir) {
  path_ = dir.empty() ? "." : dir;
  orders_.clear();
  std::ifstream ini(NativePath(path_ + "/tables.ini"), std::ios::binary);
  std::string line, section;
  int number = 0;
  while (std::getline(ini, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line = AllTrim(line);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    std::string where = "tables.ini line " + std::to_string(number) + ": ";
    if (line[0] == '[') {
      if (line.back() != ']') throw HostError(where + "section without ']'");
      section = Upper(AllTrim(line.substr(1, line.size() - 2)));
      continue;
    }
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) throw HostError(where + "'number = key expression' expected");
    std::string key = AllTrim(line.substr(0, eq));
    std::string expression = AllTrim(line.substr(eq + 1));
    if (section.empty()) throw HostError(where + "an order outside a [table] section");
    if (!IsNumber(key) || key.size() > 6) throw HostError(where + "an order number expected, found '" + key + "'");
    if (expression.empty()) throw HostError(where + "order " + key + " has no key expression");
    orders_[section].push_back({std::stoi(key), expression});
  }
}

std::vector<OrderDefinition> DataDirectory::OrdersOf(const std::string& alias) const {
  auto it = orders_.find(Upper(alias));
  return it == orders_.end() ? std::vector<OrderDefinition>{} : it->second;
}

std::vector<std::string> DataDirectory::Aliases() const {
  std::vector<std::string> aliases;
  for (const std::string& name : EntryNames(path_)) {
    std::string stem = Stem(name);
    if (!stem.empty()) aliases.push_back(stem);
  }
  std::sort(aliases.begin(), aliases.end());
  aliases.erase(std::unique(aliases.begin(), aliases.end()), aliases.end());
  return aliases;
}

std::string DataDirectory::TableFile(const std::string& alias) const {
  // No alias is empty: every file that is not a table has the empty stem.
  if (alias.empty()) return "";
  // The lower-case name is the one the directory should hold, and the one
  // taken whenever it is there, so it is looked up by name (once per receipt
  // item, say); the directory is read through only for another spelling. An
  // alias no entry could be named after ("/", and on Windows "\\" or a
  // drive's ":", would reach outside the directory) is never looked up by
  // name.
  const std::string usual = Lower(alias) + ".dbf";
  std::error_code absent;
  if (alias.find_first_of(std::string("/\\:\0", 4)) == std::string::npos && Stem(usual) == Upper(alias) &&
      std::filesystem::exists(NativePath(path_ + "/" + usual), absent))
    return path_ + "/" + usual;
  std::string wanted = Upper(alias), found;
  for (const std::string& name : EntryNames(path_)) {
    if (Stem(name) == wanted && (found.empty() || name == usual)) found = name;
  }
  return found.empty() ? "" : path_ + "/" + found;
}

WorkArea& DataDirectory::Open(WorkAreas& areas, const std::string& alias) const {
  std::string file = TableFile(alias);
  if (file.empty()) throw HostError("table " + Upper(alias) + " not found: no " + Lower(alias) + ".dbf in " + path_);
  return areas.Open(alias, DbfTable::Open(file), OrdersOf(alias));
}

}  // namespace zuvtill::runtime
