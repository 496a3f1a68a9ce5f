#pragma once

#include <memory>
#include <optional>
#include <string>

#include "frame/clear_procedure.h"
#include "platform/env.h"
#include "platform/instance_lock.h"
#include "platform/status.h"
#include "station/console_password.h"
#include "station/station_config.h"
#include "station/station_state.h"

namespace database {
class WeatherDatabase;
class RainDatabase;
}  // namespace database

namespace stationlink {
class ConsoleLink;
class SerialPortManager;
}  // namespace stationlink

namespace frame {

class Messages;

// What the program needs of a station beyond its record: the open sequence with its
// database, rain database and console link, and the serial-port manager they live in.
// The file-only version (makeFileStationServices) reads and writes the records and
// trees; the database, rain database and link code extend it.
class StationServices {
 public:
  virtual ~StationServices() = default;

  // Where questions and errors of the open and create sequences go. Set by the Program
  // before any other call; may be null for a command without a person.
  virtual void setMessages(Messages* messages) = 0;

  // The Program's serial-port manager, in which the open station's link is created. Set by
  // the Program before any other call; it outlives the services' use of it.
  virtual void setPortManager(stationlink::SerialPortManager* ports) { (void)ports; }

  // The serial-port manager: started at start-up, stopped at shutdown.
  virtual platform::Status startPortManager() = 0;
  virtual void stopPortManager() = 0;

  // The open sequence of a station directory: tree checked, record read, database, rain
  // database and console link opened. Returns the record.
  virtual platform::Result<station::StationConfig> openStation(const std::string& dir) = 0;
  // Closes the open station's link and database and saves and closes its rain database.
  virtual void closeStation() = 0;
  // Reads a record without opening the station (another station of the schedule).
  virtual platform::Result<station::StationConfig> readStation(const std::string& dir) = 0;
  virtual platform::Status saveStation(const station::StationConfig& config) = 0;
  virtual std::optional<std::string> stationName(const std::string& dir) = 0;
  // A new station named `name` below `parent`: its directory (named after the station),
  // tree, lists and record. When the directory exists the person is asked whether to use
  // it. Returns the directory; the caller opens it.
  virtual platform::Result<std::string> createStation(const std::string& name,
                                                      const std::string& parent) = 0;

  // Closes the open station's console link: another station of a scheduled run needs
  // the same port.
  virtual void closeLink() = 0;
  // The open station's record changed outside the program in its link settings (port,
  // speed, modem): its link is closed, and the next operation opens one with `config`.
  virtual void relinkStation(const station::StationConfig& config) {
    (void)config;
    closeLink();
  }
  // After a scheduled run: reopens the open station's rain database, and its link when
  // closeLink closed it.
  virtual void reopenAfterScheduledRun() = 0;
  // The open station's console, for the clear procedure and the password; nullptr when
  // no link is open or the console does not offer the operations.
  virtual ClearOperations* clearOperations() = 0;
  virtual station::ConsoleConfigMemory* configMemory() = 0;
  // The open station's console link, created on first use and shared by every user of
  // the console until closeLink (the real-time readings, the exports, the password);
  // nullptr when no station is open or the services keep to the files. The link opens
  // its port on its first operation.
  virtual stationlink::ConsoleLink* stationLink() = 0;
  // The open station's database and rain database, opened with the station and closed with
  // it; null when no station is open or the services keep no database.
  virtual database::WeatherDatabase* database() { return nullptr; }
  virtual database::RainDatabase* rainDatabase() { return nullptr; }
};

// The lock of a station directory while a process writes it. kBusy, with the same message
// as the program directory's lock (shown, or logged while unattended), when another process
// holds it; a directory where no lock file can be made (read-only media, a directory that
// is not on the disk) is not locked, and its writes fail on their own.
platform::Result<platform::InstanceLock> lockStation(const std::string& dir, Messages* messages);

// Records and trees on the file system; no database, rain database or link.
std::unique_ptr<StationServices> makeFileStationServices(platform::FileSystem& files);
// The same with the open station's database and rain database, and its console reachable
// through its link in the Program's port manager.
std::unique_ptr<StationServices> makeStationServices(const platform::Env& env);

}  // namespace frame
