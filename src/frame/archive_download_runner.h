#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "frame/download_runner.h"
#include "platform/env.h"

namespace frame {

class Program;

// The archive download as the program runs it: the station's database, rain database and
// console link are opened for the run from the station's directory and settings, and
// closed again afterwards, so a run leaves nothing half-open behind it. The program's
// messages, event log and units come from the Program that is running.
class ArchiveDownloadRunner : public DownloadRunner {
 public:
  // `program` yields the running Program (null when none runs: the download then fails).
  ArchiveDownloadRunner(platform::Env env, std::function<Program*()> program);
  DownloadResult download(const DownloadRequest& request) override;
  // Told the pages done out of the page count after every good page (a terminal's
  // progress line); empty for none.
  void setProgress(std::function<void(int done, int total)> progress) {
    progress_ = std::move(progress);
  }

 private:
  platform::Env env_;
  std::function<Program*()> program_;
  std::function<void(int, int)> progress_;
};

// The download of `program`'s open station as a one-off command runs it: no questions
// (the person asked for it), `progress` told the pages done after every good page, and a
// termination signal (Ctrl-C) ends the run cleanly between pages, the console told to stop.
DownloadResult downloadOpenStation(Program& program, const platform::Env& env,
                                   std::function<void(int done, int total)> progress);

// The runner of a real run, bound to the Program that is running.
std::unique_ptr<DownloadRunner> makeArchiveDownloadRunner(platform::Env env);

}  // namespace frame
