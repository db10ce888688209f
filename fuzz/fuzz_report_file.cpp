// Report and error files from untrusted bytes: the SYS600 report's error
// number (BYL_ERROR) and STRINGSEEK over the file for a sought text taken
// from the input's first bytes.
#include "fuzz_support.h"
#include "runtime/export.h"
#include "runtime/runtime.h"

ZUV_EXPORT void BYL_ERROR(zuvtill::runtime::Params& p);
ZUV_EXPORT void STRINGSEEK(zuvtill::runtime::Params& p);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zuvtill::runtime;
  // The first byte says how long the sought text is (up to 15 bytes).
  std::size_t soughtLength = size ? std::min<std::size_t>(data[0] % 16, size - 1) : 0;
  std::string sought(reinterpret_cast<const char*>(data) + (size ? 1 : 0), soughtLength);
  std::size_t skip = size ? 1 + soughtLength : 0;
  const std::string path = zuvprint::fuzzing::WriteInput("RAPORT.TXT", data + skip, size - skip);

  Runtime& rt = Runtime::Get();
  rt.Reset();
  Params failed({Value::Text("  2  4"), Value::Text(path)});
  BYL_ERROR(failed);
  if (!failed.Result().IsLogical()) std::abort();

  int handle = rt.Files().Open(path, ByteFiles::kRead);
  if (handle < 0) std::abort();
  auto pieces = std::make_shared<Value>(Value::Number(0));
  auto position = std::make_shared<Value>(Value::Number(0));
  Params seek;
  seek.Add(Value::Number(handle));
  seek.Add(Value::Text(sought));
  seek.AddReference(pieces);
  seek.AddReference(position);
  STRINGSEEK(seek);
  const std::string& piece = seek.Result().AsText();
  if (!piece.empty()) {
    // The piece holds the sought text where the position says.
    std::size_t at = static_cast<std::size_t>(position->AsNumber());
    if (piece.size() > 200 || at < 1 || piece.compare(at - 1, sought.size(), sought) != 0) std::abort();
  }
  rt.Files().Close(handle);
  return 0;
}
