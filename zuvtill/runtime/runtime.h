// The host runtime of this process: its memory variables, work areas,
// console, byte files, functions, data directory, and the record of the
// stand-ins' calls. One instance serves the embedding program and every
// library it loads (they all link this runtime's shared library).
#pragma once

#include "runtime/byte_files.h"
#include "runtime/console.h"
#include "runtime/data_directory.h"
#include "runtime/functions.h"
#include "runtime/memvars.h"
#include "runtime/stand_ins.h"
#include "runtime/work_areas.h"

namespace zuvtill::runtime {

class Runtime {
 public:
  static Runtime& Get();

  Memvars& Variables() { return memvars_; }
  WorkAreas& Areas() { return areas_; }
  Console& Terminal() { return console_; }
  ByteFiles& Files() { return files_; }
  FunctionTable& Functions() { return functions_; }
  DataDirectory& Data() { return data_; }
  StandIns& Recorder() { return standIns_; }

  // Everything back to the state of a fresh process (tests start from it).
  void Reset();

 private:
  Runtime() = default;

  Memvars memvars_;
  WorkAreas areas_;
  Console console_;
  ByteFiles files_;
  FunctionTable functions_;
  DataDirectory data_;
  StandIns standIns_;
};

}  // namespace zuvtill::runtime
