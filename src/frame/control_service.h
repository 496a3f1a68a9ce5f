#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "frame/download_runner.h"
#include "platform/control_socket.h"
#include "platform/status.h"

namespace frame {

class Program;

// Whether two names of a directory name the same one (a link, a trailing '/').
bool sameDirectory(const std::string& a, const std::string& b);

// A command line a client asked the running program to run in its place.
struct ClientCommand {
  std::vector<std::string> args;
  // What the client read from its own standard input for the command (a password).
  std::string input;
  // The client's standard input is a terminal: a person watches the progress line.
  bool terminal = false;
};

// Runs a client's command line in the running program as the command line itself would,
// writing to `out` and `err`; returns its exit code. The command line layer installs it,
// since the frame knows nothing of the commands.
using ClientCommandRunner =
    std::function<int(Program&, const ClientCommand&, std::ostream& out, std::ostream& err)>;

// A client's download in the running program: the open station, or another one named by its
// directory, with no questions; a termination signal ends it between pages and then the
// program.
DownloadResult downloadInRunningProgram(Program& program, const std::string& stationDir,
                                        std::function<void(int done, int total)> progress,
                                        std::function<void(const std::string& line)> retryStatus);

// The requests a client sends, and the answers' keys.
namespace control {
inline constexpr const char* kRequest = "request";
inline constexpr const char* kCurrent = "current";  // {"follow": bool}
inline constexpr const char* kCommand = "command";  // {"args": [...], "input", "terminal"}
inline constexpr const char* kHeld = "held";        // what the program holds now
inline constexpr const char* kReading = "reading";  // one bulletin text
inline constexpr const char* kOut = "out";          // text for standard output
inline constexpr const char* kErr = "err";          // text for standard error
inline constexpr const char* kExit = "exit";        // the last answer: the exit code
}  // namespace control

// The running program's side of the control socket, on its one-thread loop: current
// conditions from its real-time readings (a view opened for the request and closed after),
// and command lines run in the program itself, so that their changes go into what it holds
// and are saved from there.
class ControlService {
 public:
  ControlService(Program& program, ClientCommandRunner runner);
  ~ControlService();
  ControlService(const ControlService&) = delete;
  ControlService& operator=(const ControlService&) = delete;

  // Listens on stratalog.sock in the program directory (or on `path`). A failure is logged
  // and the program goes on without the socket.
  platform::Status open(const std::string& path = {});
  // Closes the socket and removes its file.
  void close();
  platform::ControlServer* server() { return server_.get(); }

 private:
  class ClientView;
  using ClientId = platform::ControlServer::ClientId;

  void onRequest(ClientId client, const nlohmann::json& request);
  void onGone(ClientId client);
  void serveCurrent(ClientId client, bool follow);
  void runCommand(ClientId client, const nlohmann::json& request);
  void serveHeld(ClientId client);
  void finish(ClientId client, int exitCode, const std::string& error = {});
  void endView(ClientId client);

  Program& program_;
  ClientCommandRunner runner_;
  std::unique_ptr<platform::ControlServer> server_;
  std::map<ClientId, std::unique_ptr<ClientView>> views_;
};

}  // namespace frame
