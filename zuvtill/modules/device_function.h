// The device modules' stand-ins: each function records its call (name,
// arguments, which were references) and answers what a test or a script
// has set for it, writing the set values into the reference arguments;
// with nothing set it answers its default (0 for a device operation: done).
#pragma once

#include "runtime/export.h"
#include "runtime/runtime.h"

namespace zuvtill::modules {

inline void DeviceCall(const char* name, runtime::Params& p, runtime::Value fallback) {
  if (!runtime::Runtime::Get().Recorder().Answer(name, p)) p.SetResult(std::move(fallback));
}

}  // namespace zuvtill::modules

// One exported device function answering 0 unless told otherwise.
#define ZUV_DEVICE_FUNCTION(NAME)                         \
  ZUV_EXPORT void NAME(zuvtill::runtime::Params& p) {     \
    zuvtill::modules::DeviceCall(#NAME, p, zuvtill::runtime::Value::Number(0)); \
  }

// The companions of a family's device functions: the error display, the
// receipt footer list (none unless set) and the character value (empty
// unless set).
#define ZUV_COMPANION_FUNCTIONS(PREFIX)                                                        \
  ZUV_DEVICE_FUNCTION(PREFIX##_PISZERR)                                                        \
  ZUV_DEVICE_FUNCTION(PREFIX##_ERRWPR)                                                         \
  ZUV_EXPORT void PREFIX##_FOOTLINE(zuvtill::runtime::Params& p) {                             \
    zuvtill::modules::DeviceCall(#PREFIX "_FOOTLINE", p,                                       \
                                 zuvtill::runtime::Value::OfArray(zuvtill::runtime::Array{})); \
  }                                                                                            \
  ZUV_EXPORT void PREFIX##_CHAR(zuvtill::runtime::Params& p) {                                 \
    zuvtill::modules::DeviceCall(#PREFIX "_CHAR", p, zuvtill::runtime::Value::Text(""));       \
  }
