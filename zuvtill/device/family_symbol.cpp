// The family symbol, the one source that differs between the builds for
// the two families (ZUV_FAMILY_SYMBOL is set by the build).
#include "device/family.h"

namespace zuvtill::device {

std::string FamilySymbol() { return ZUV_FAMILY_SYMBOL; }

}  // namespace zuvtill::device
