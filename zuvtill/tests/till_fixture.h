// The till library bound as the host binds it, for the family named by
// ZUVTILL_FAMILY (the build's own family when unset; the other family's
// library lives in bin/<family>/), loaded once per test program: its
// exports called by name, the device modules' calls since the last look,
// and the work mode set through the port settings.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "fixtures.h"
#include "host/till_library.h"

namespace zuvtill::testing {

inline std::string FamilyUnderTest() {
  const char* family = std::getenv("ZUVTILL_FAMILY");
  return family && *family ? family : ZUV_FAMILY_SYMBOL;
}

inline std::string LibraryOf(const std::string& family) {
  std::string beside = host::TillLibraryBesideProgram();
  if (family == ZUV_FAMILY_SYMBOL) return beside;
  std::filesystem::path library(beside);
  return (library.parent_path() / family / library.filename()).string();
}

inline Value Numbers(std::vector<Value> elements) { return Value::OfArray(std::move(elements)); }

class TillTest : public RuntimeTest {
 protected:
  static void SetUpTestSuite() { till_ = new host::TillLibrary(LibraryOf(FamilyUnderTest())); }
  static void TearDownTestSuite() {
    runtime::Runtime::Get().Reset();
    delete till_;
    till_ = nullptr;
  }

  // Expressions reach the library's exports, as the host's do.
  void SetUp() override {
    RuntimeTest::SetUp();
    rt().Functions().SetLookup([](std::string_view name) { return till_->Find(name); });
    SetWorkMode(1);
  }

  static bool Elzab() { return FamilyUnderTest() == "FP600"; }

  static runtime::Params Run(const std::string& name, runtime::Params p) {
    runtime::HostFunction fn = till_->Find(name);
    if (!fn) throw std::runtime_error("no export " + name);
    fn(p);
    return p;
  }
  static Value CallExport(const std::string& name, std::vector<Value> args = {}) {
    return Run(name, runtime::Params(std::move(args))).Result();
  }
  // The port settings at load, with the work mode given.
  static void SetWorkMode(double mode) { CallExport("DF_PARPORT", {Numbers({N(1), N(9600), N(5), N(mode)})}); }

  // The calls recorded by the stand-ins since the last look, "; " between.
  std::string Calls() {
    std::string calls;
    for (const runtime::RecordedCall& c : rt().Recorder().TakeCalls()) calls += (calls.empty() ? "" : "; ") + c.Describe();
    return calls;
  }

  static inline host::TillLibrary* till_ = nullptr;
};

}  // namespace zuvtill::testing
