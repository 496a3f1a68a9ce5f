#pragma once

// Upload runs of the open station, on the program's event loop: the scheduled ones the
// scheduler step starts, and the one a person asks for.

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "frame/scheduler.h"
#include "platform/ftp_client.h"
#include "publish/inet_config.h"
#include "publish/upload_run.h"

namespace frame {

class Program;

// Makes the FTP connector of a run; its calls give up when the loop's cancel is set.
using FtpConnectorFactory = std::function<std::unique_ptr<platform::FtpConnector>(Program&)>;
std::unique_ptr<platform::FtpConnector> curlConnectorFor(Program& program);

// The parts of a run of `profiles` (bit k for profile k) for the open station, wired to
// the program: its event log, files, clock, reports, archive download and the loop's
// cancel. REQUIRES: a station is open.
publish::UploadRunParts uploadRunParts(Program& program, const publish::InetConfig& config,
                                       std::uint32_t profiles, platform::FtpConnector& ftp);

// Steps `run` on the program's event loop until it ends; SIGINT and SIGTERM cancel it.
publish::UploadOutcome runOnLoop(Program& program, publish::UploadRun& run);

// The scheduler step of the uploads: with either publishing switch on, starts an unattended
// run of the profiles due this minute. Scheduling stays off while it runs and is turned on
// again however the run ends. `connectors` defaults to curlConnectorFor.
Scheduler::Step uploadScheduleStep(Program& program, FtpConnectorFactory connectors = {});

// Logs why the configuration in hand is the defaults, when it is (an older or a damaged
// file left as it was). Nothing for a valid or missing file.
void logConfigSource(Program& program, publish::InetConfigSource source);

}  // namespace frame
