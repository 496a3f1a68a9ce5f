#pragma once

#include "platform/intl_settings.h"
#include "quantities/record_values.h"
#include "quantities/units.h"

namespace quantities {

// The user's display units and date conventions, as every view and listing shows values.
// The frame reads them once from the program directory and hands them down.
struct UserConventions {
  Units units;
  platform::IntlSettings intl;

  // The value context of a station whose skin-type factor is `skinFactor`.
  ValueContext values(double skinFactor = 1.0) const {
    return ValueContext{units, intl, skinFactor};
  }
};

}  // namespace quantities
