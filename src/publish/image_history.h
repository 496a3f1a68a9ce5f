#pragma once

// A history picture: a line chart of the last 24 hours of records in the user's units,
// or bars of the last 30 daily summaries, with both axes labelled. A value without data
// leaves a gap, never a zero; a span without any value is an empty chart marked "---".

#include <string>

#include "platform/intl_settings.h"
#include "publish/image_catalogue.h"
#include "publish/image_history_data.h"
#include "publish/raster.h"
#include "quantities/record_values.h"

namespace publish {

Raster drawHistoryPicture(const ImageKind& kind, const std::string& title, const HistoryData& data,
                          const quantities::ValueContext& ctx, int sizeCode);

// Gridline steps for a value axis: a 1, 2 or 5 times a power of ten that puts at most
// `maxTicks` lines between low and high.
double niceStep(double low, double high, int maxTicks);

}  // namespace publish
