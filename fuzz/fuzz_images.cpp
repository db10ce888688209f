// Logo and background files: the bitmap and PNG loaders over untrusted bytes.
#include "fuzz_support.h"
#include "platform/images.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zuvprint;
  const std::string path = fuzzing::WriteInput("image", data, size);
  for (auto load : {platform::LoadBmp, platform::LoadPng}) {
    platform::Bitmap b;
    if (load(path, b) == platform::ImageLoad::Loaded &&
        (b.width <= 0 || b.height <= 0 || b.rgb.size() != static_cast<std::size_t>(b.width) * b.height * 3))
      std::abort();
  }
  return 0;
}
