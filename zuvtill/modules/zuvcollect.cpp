// Stand-in of the device module zuvcollect: the data collectors' functions.
#include "modules/device_function.h"
#include "modules/zuvcollect.h"

using zuvtill::modules::DeviceCall;
using zuvtill::runtime::Params;
using zuvtill::runtime::Value;

ZUV_DEVICE_FUNCTION(KL_PISZERR)
ZUV_DEVICE_FUNCTION(KL_ERRWPR)

// The file name of the collector's link program; none unless set.
ZUV_EXPORT void KL_SLODAN(Params& p) { DeviceCall("KL_SLODAN", p, Value::Text("")); }
