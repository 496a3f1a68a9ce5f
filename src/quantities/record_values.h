#pragma once

// One value of an archive record by sensor code: read as a number, read as text, written.
// Values are exchanged in the user's units unless the internal-units flag is set (°F,
// inHg, mph, inches). -32768 is "no data" both ways.

#include <cstdint>
#include <string>

#include "records/month_format.h"
#include "platform/intl_settings.h"
#include "quantities/code_resolver.h"
#include "quantities/sensor_code.h"
#include "quantities/units.h"

namespace quantities {

// What reading a record needs besides its bytes.
struct ValueContext {
  const Units& units;
  const platform::IntlSettings& intl;
  double skinFactor = 1.0;  // the station's skin-type factor for UV dose
};

inline constexpr int kValueOk = 0;
inline constexpr int kValueBadArgument = -1601;

// 0 with the value (or -32768) in *value; -1601 when value is null.
int GetWeatherData(const records::ArchiveRecord& record, SensorCode code, unsigned internalUnits,
                   float* value, const ValueContext& ctx);
// The value as display text in the user's units; "---" for no data or an unknown code.
std::string GetWeatherDataStr(const records::ArchiveRecord& record, SensorCode code,
                              const ValueContext& ctx);
// 0 when stored; -1601 when the code cannot be set. A value the field cannot hold (out of
// range, non-finite) stores the field's no-data value.
int SetWeatherData(records::ArchiveRecord& record, SensorCode code, float value,
                   unsigned internalUnits, const ValueContext& ctx);
// Stores type << 12 | tips for tips 0 to 4095 and type 0 to 6, else the no-data 0x8000.
int SetRainData(records::ArchiveRecord& record, unsigned tips, int type);

// The same read with the code resolved beforehand, for callers that read one code from
// many records.
double readValue(const records::ArchiveRecord& record, const ResolvedCode& code,
                 bool internalUnits, const ValueContext& ctx);

// Expected wind samples in an interval of `minutes` for transmitter `id`.
int expectedWindSamples(int minutes, int id);

}  // namespace quantities
