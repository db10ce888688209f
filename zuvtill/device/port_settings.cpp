// The port settings and their exports DF_PARPORT and WD_DRFIS.
#include "device/port_settings.h"

#include "runtime/export.h"

namespace zuvtill::device {
namespace {

using runtime::Value;

PortSettings settings;

Value ToArray(const PortSettings& s) {
  return Value::OfArray(runtime::Array{Value::Number(s.port), Value::Number(s.speed), Value::Number(s.lineOption),
                                       Value::Number(s.workMode)});
}

}  // namespace

PortSettings CurrentPortSettings() { return settings; }

PortSettings ExchangePortSettings(const Value& elements) {
  PortSettings before = settings;
  if (!elements.IsArray()) return before;
  double* targets[] = {&settings.port, &settings.speed, &settings.lineOption, &settings.workMode};
  const runtime::Array& given = *elements.AsArray();
  for (std::size_t i = 0; i < std::size(targets) && i < given.size(); ++i) {
    if (given[i].IsNumber()) *targets[i] = given[i].AsNumber();
  }
  return before;
}

void RestorePortSettingsAtLoad() { settings = PortSettings{}; }

bool DeviceOperated() { return settings.workMode > 1; }

}  // namespace zuvtill::device

using zuvtill::runtime::Params;
using zuvtill::runtime::Value;

// DF_PARPORT(aSettings): sets the elements of aSettings that are numbers;
// answers a copy of the settings as they were before.
ZUV_EXPORT void DF_PARPORT(Params& p) {
  p.SetResult(zuvtill::device::ToArray(zuvtill::device::ExchangePortSettings(p.Get(1))));
}

// WD_DRFIS(): .T. while the fiscal device is really operated.
ZUV_EXPORT void WD_DRFIS(Params& p) { p.SetResult(Value::Logical(zuvtill::device::DeviceOperated())); }
