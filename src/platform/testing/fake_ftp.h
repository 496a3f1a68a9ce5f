#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/ftp_client.h"

namespace platform {

// An FTP server in memory for tests, with the faults the upload run must survive. Files
// put are read from `files`; each put takes `putDuration` on the fake clock.
class FakeFtpServer {
 public:
  FakeFtpServer(FileSystem& files, FakeClock& clock) : files_(files), clock_(clock) {}

  // Setup.
  std::string password = "secret";
  std::string loginDirectory = "/home/obs";
  std::set<std::string> directories{"/", "/home", "/home/obs"};
  // The reply to a MKD of an existing directory.
  std::string existsReply = "550 Create directory operation failed.";
  std::chrono::milliseconds putDuration{0};
  // The next puts fail, one entry each: a Status to return (consumed in order).
  std::deque<Status> putFailures;
  // Called at every put, before it succeeds or fails (a test raises a signal here).
  std::function<void()> onPut;
  // The next logins fail with these (consumed in order).
  std::deque<Status> loginFailures;

  // What happened.
  std::map<std::string, std::string> stored;  // absolute path -> bytes
  std::vector<std::string> commands;          // "LOGIN", "CWD /x", "MKD /x", "STOR /x/y", "CLOSE"
  int logins = 0;

  std::unique_ptr<FtpConnector> connector();

 private:
  friend class FakeFtpSession;
  FileSystem& files_;
  FakeClock& clock_;
};

}  // namespace platform
