#include "frame/current_follow.h"

#include <ostream>
#include <utility>

#include "frame/bulletin_text.h"
#include "frame/program.h"
#include "link/realtime_manager.h"

namespace frame {

namespace {

// Clears a terminal's screen and puts the cursor home, so each reading replaces the last.
constexpr const char* kRedraw = "\033[H\033[2J";

}  // namespace

BulletinView::BulletinView(std::ostream& out, bool redraw, ReadingFormatter format,
                           std::function<void()> onEnd)
    : out_(out), redraw_(redraw), format_(std::move(format)), onEnd_(std::move(onEnd)) {}

void BulletinView::refresh() {
  if (redraw_) {
    out_ << kRedraw;
  } else if (shown_++ > 0) {
    out_ << "\n";
  }
  out_ << format_(image_) << std::flush;
  if (!out_.good() && !outputGone_) {
    outputGone_ = true;
    if (onEnd_) onEnd_();
  }
}

void BulletinView::closed() {
  closed_ = true;
  if (onEnd_) onEnd_();
}

ReadingFormatter bulletinFormatter(Program& program) {
  return [&program](const stationlink::SensorImage& image) -> std::string {
    const station::StationConfig* config = program.currentStation();
    if (config == nullptr) return {};
    return bulletinText(image, *config, program.units(), program.dateStyle(),
                        program.clock().localNow());
  };
}

int followCurrentConditions(Program& program, std::ostream& out, bool terminal,
                            const ReadingFormatter& format) {
  if (program.currentStation() == nullptr) return kProgramExitFailed;
  platform::EventLoop& loop = program.loop();
  (void)loop.handleTerminationSignals([&loop](int) { loop.stop(); });
  BulletinView view(out, terminal, format, [&loop] { loop.stop(); });
  stationlink::RealtimeManager& realtime = program.realtime();
  realtime.openView(&view);
  loop.run();
  realtime.closeView(&view);
  return view.isClosed() ? kProgramExitFailed : kProgramExitOk;
}

}  // namespace frame
