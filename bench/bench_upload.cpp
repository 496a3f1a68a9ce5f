// One upload run of 200 files of 10 KB each to an FTP server on 127.0.0.1 (the tests'
// small server). Goal: under 3 s, with one login for the run.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/ftp_client.h"
#include "publish/inet_config.h"
#include "publish/upload_run.h"

#include "../tests/publish/upload_ftp_server.h"

namespace {

constexpr int kFiles = 200;
constexpr std::size_t kFileBytes = 10 * 1024;

// Counts the logins of the run's sessions.
class CountingConnector : public platform::FtpConnector {
 public:
  explicit CountingConnector(platform::FtpConnector& inner) : inner_(inner) {}
  platform::Result<std::unique_ptr<platform::FtpSession>> open(const platform::FtpLogin& l) override {
    ++logins;
    return inner_.open(l);
  }
  int logins = 0;

 private:
  platform::FtpConnector& inner_;
};

void BM_UploadTwoHundredFiles(benchmark::State& state) {
  if (!uploadtest::FtpServer::available()) {
    state.SkipWithError("pyftpdlib is not installed");
    return;
  }
  namespace fs = std::filesystem;
  const fs::path base = fs::temp_directory_path() / ("stratalog-bench-upload-" + std::to_string(getpid()));
  fs::remove_all(base);
  fs::create_directories(base / "station");
  fs::create_directories(base / "server");
  std::ofstream list(base / "station" / "Profile1.lst");
  const std::string bytes(kFileBytes, 'w');
  for (int i = 0; i < kFiles; ++i) {
    const fs::path file = base / "station" / ("file" + std::to_string(i) + ".txt");
    std::ofstream(file, std::ios::binary) << bytes;
    list << file.filename().string() << "\t\t\t\t" << file.string() << "\n";
  }
  list.close();

  uploadtest::FtpServer server(base / "server", "bench", "pw");
  if (server.port() == 0) {
    state.SkipWithError("the FTP server did not start");
    return;
  }
  publish::InetConfig config;
  (void)config.setFtpHost("127.0.0.1");
  (void)config.setFtpUser("bench");
  (void)config.setFtpPassword("pw");
  config.setFtpPort(static_cast<std::uint16_t>(server.port()));
  config.setPassiveFtp(true);
  config.setInternetTransfer(true);
  config.setAccessType(publish::InternetAccess::kDirect);
  publish::UploadProfile p = config.profile(0);
  (void)p.setPageDir("www/cur");
  config.setProfile(0, p);

  auto curl = platform::makeCurlFtpConnector({}, {});
  int logins = 0;
  for (auto _ : state) {
    CountingConnector counting(*curl);
    publish::UploadRunParts parts;
    parts.files = &platform::defaultFileSystem();
    parts.clock = &platform::systemClock();
    parts.ftp = &counting;
    parts.stationDir = (base / "station").string();
    parts.stationName = "Bench";
    parts.config = config;
    parts.profiles = 1;
    publish::UploadRun run(std::move(parts));
    if (run.runToEnd() != publish::UploadOutcome::kCompleted) {
      state.SkipWithError("the run did not complete");
      break;
    }
    logins = counting.logins;
  }
  state.counters["logins"] = logins;
  state.counters["files"] = kFiles;
  fs::remove_all(base);
}
BENCHMARK(BM_UploadTwoHundredFiles)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
