#pragma once

#include <functional>
#include <string>

#include "frame/download_runner.h"

namespace frame {

class Program;

// The archive download as the program runs it. The program's current station downloads
// into its open database and rain database over its own console link; another station of a
// scheduled run gets its database, rain database and a link in the program's port manager
// for the run, and they are closed again afterwards, so a run leaves nothing half-open.
// Questions, messages and log lines go through the program's messages.
class ArchiveDownloadRunner : public DownloadRunner {
 public:
  explicit ArchiveDownloadRunner(Program& program) : program_(program) {}
  DownloadResult download(const DownloadRequest& request) override;

 private:
  DownloadResult downloadStation(const DownloadRequest& request);

  Program& program_;
};

// The download of `program`'s open station as a one-off command runs it: no questions
// (the person asked for it), `progress` told the pages done after every good page,
// `retryStatus` the status line after a page that has to be read again, and a termination
// signal (Ctrl-C) ends the run cleanly between pages, the console told to stop.
DownloadResult downloadOpenStation(Program& program,
                                   std::function<void(int done, int total)> progress,
                                   std::function<void(const std::string& line)> retryStatus = {});

}  // namespace frame
