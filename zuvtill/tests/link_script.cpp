// A link program for the tests, on every system: installed under a link
// program's name in a work directory, it carries out the lines of
// SKRYPT.TXT in its current directory, one command a line:
//
//   pwd FILE          writes the current directory and "\n" into FILE
//   args FILE         writes its arguments, blank-separated, and "\n"
//   write FILE TEXT   writes TEXT ("\r", "\n" and "\\" escaped) into FILE
//   touch FILE        makes FILE, empty
//   move FROM TO      renames FROM to TO (directories too)
//   exit N            ends with status N
//
// and ends with status 0 after the last line. A line it cannot carry out
// ends it with status 99 and a complaint on standard error.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string Unescaped(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    char c = text[++i];
    out += c == 'r' ? '\r' : c == 'n' ? '\n' : c;
  }
  return out;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

int Fail(const std::string& line) {
  std::cerr << "link_script: cannot carry out: " << line << std::endl;
  return 99;
}

}  // namespace

int main(int argc, char** argv) {
  std::ifstream script("SKRYPT.TXT", std::ios::binary);
  std::string line;
  while (std::getline(script, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::string command, first;
    words >> command >> first;
    std::string rest;
    std::getline(words >> std::ws, rest);
    std::error_code error;
    if (command.empty()) {
      continue;
    } else if (command == "pwd") {
      WriteFile(first, fs::current_path().string() + "\n");
    } else if (command == "args") {
      std::string joined;
      for (int i = 1; i < argc; ++i) joined += (i > 1 ? " " : "") + std::string(argv[i]);
      WriteFile(first, joined + "\n");
    } else if (command == "write") {
      WriteFile(first, Unescaped(rest));
    } else if (command == "touch") {
      WriteFile(first, "");
    } else if (command == "move") {
      fs::rename(first, rest, error);
      if (error) return Fail(line);
    } else if (command == "exit") {
      return std::atoi(first.c_str());
    } else {
      return Fail(line);
    }
  }
  return 0;
}
