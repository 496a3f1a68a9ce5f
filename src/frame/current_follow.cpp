#include "frame/current_follow.h"

#include <ostream>

#include "frame/bulletin_text.h"
#include "frame/program.h"
#include "link/realtime_manager.h"
#include "platform/intl_settings.h"

namespace frame {

namespace {

// Clears a terminal's screen and puts the cursor home, so each reading replaces the last.
constexpr const char* kRedraw = "\033[H\033[2J";

class FollowingView : public stationlink::RealtimeView {
 public:
  FollowingView(std::ostream& out, bool terminal, const ReadingFormatter& format,
                platform::EventLoop& loop)
      : out_(out), terminal_(terminal), format_(format), loop_(loop) {}

  void update(const stationlink::SensorImage& image) override { image_ = image; }
  void refresh() override {
    if (terminal_)
      out_ << kRedraw;
    else if (shown_++ > 0)
      out_ << "\n";
    out_ << format_(image_) << std::flush;
  }
  void closed() override {
    lost_ = true;
    loop_.stop();
  }
  bool lost() const { return lost_; }

 private:
  std::ostream& out_;
  bool terminal_;
  const ReadingFormatter& format_;
  platform::EventLoop& loop_;
  stationlink::SensorImage image_ = stationlink::resetSensorImage();
  int shown_ = 0;
  bool lost_ = false;
};

}  // namespace

ReadingFormatter bulletinFormatter(Program& program) {
  platform::IntlSettings intl;
  if (auto read = platform::readIntlSettings(program.files(), program.programDirectory())) {
    intl = *read;
  }
  return [&program, intl](const stationlink::SensorImage& image) -> std::string {
    const station::StationConfig* config = program.currentStation();
    if (config == nullptr) return {};
    return bulletinText(image, *config, program.units(), intl, program.clock().localNow());
  };
}

int followCurrentConditions(Program& program, std::ostream& out, bool terminal,
                            const ReadingFormatter& format) {
  if (program.currentStation() == nullptr) return kProgramExitFailed;
  platform::EventLoop& loop = program.loop();
  (void)loop.handleTerminationSignals([&loop](int) { loop.stop(); });
  FollowingView view(out, terminal, format, loop);
  stationlink::RealtimeManager& realtime = program.realtime();
  realtime.openView(&view);
  loop.run();
  realtime.closeView(&view);
  return view.lost() ? kProgramExitFailed : kProgramExitOk;
}

}  // namespace frame
