#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include "link/realtime_manager.h"
#include "link/sensor_image.h"

namespace frame {

class Program;

// The text shown for one reading.
using ReadingFormatter = std::function<std::string(const stationlink::SensorImage&)>;

// Writes each new reading to `out`: on a terminal in place of the one before, otherwise
// one after another. Tells `onEnd` when the view ends: the manager has closed it (the
// connection was lost or the station closed), or its output is gone (the reader of a
// pipe went away).
class BulletinView : public stationlink::RealtimeView {
 public:
  BulletinView(std::ostream& out, bool redraw, ReadingFormatter format,
               std::function<void()> onEnd = {});
  void update(const stationlink::SensorImage& image) override { image_ = image; }
  void refresh() override;
  void closed() override;
  bool isClosed() const { return closed_; }
  bool outputGone() const { return outputGone_; }

 private:
  std::ostream& out_;
  bool redraw_;
  ReadingFormatter format_;
  std::function<void()> onEnd_;
  stationlink::SensorImage image_ = stationlink::resetSensorImage();
  int shown_ = 0;
  bool closed_ = false;
  bool outputGone_ = false;
};

// The bulletin of the open station: every sensor it has, in the user's units and date
// conventions, stamped with the time the reading is shown.
ReadingFormatter bulletinFormatter(Program& program);

// Shows the open station's current conditions as they arrive: the real-time readings run
// on the program's loop and every new reading is written to `out` (on a terminal, in place
// of the one before). Ends on a termination signal or when `out` is gone (exit code 0), or
// when the connection to the console is lost (1).
int followCurrentConditions(Program& program, std::ostream& out, bool terminal,
                            const ReadingFormatter& format);

}  // namespace frame
