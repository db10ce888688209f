// The port settings: how the fiscal printer is connected and whether it is
// really operated. One set per loaded library, {1, 9600, 5, 1} at load, so
// that every device operation is inactive until a device start succeeds.
#pragma once


#include "runtime/value.h"

namespace zuvtill::device {

struct PortSettings {
  double port = 1;
  double speed = 9600;
  double lineOption = 5;
  double workMode = 1;  // above 1 the fiscal device is really operated
};

// What the link programs are started with: port, speed and line option.
PortSettings CurrentPortSettings();

// Replaces each setting whose element (1 port, 2 speed, 3 line option,
// 4 work mode) is a number; other elements, and a value that is no array,
// leave the settings as they are. Answers the settings as they were.
PortSettings ExchangePortSettings(const runtime::Value& elements);

// The settings at load: the device is not operated.
void RestorePortSettingsAtLoad();

// The device is really operated: the work mode is above 1.
bool DeviceOperated();

}  // namespace zuvtill::device
