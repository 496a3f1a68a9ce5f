#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "link/console_link.h"

namespace stationlink {

// Owns the program's console links (at most four) and closes ports that have been idle for
// their idle time. tick() is called by the program's one-second timer.
class SerialPortManager {
 public:
  static constexpr std::size_t kMaxLinks = 4;

  // Creates the link variant for older consoles; without one, a classic link is served by
  // the transport alone (identification and ping).
  using ClassicLinkFactory =
      std::function<std::unique_ptr<ConsoleLink>(const PortParams&, const LinkServices&)>;

  explicit SerialPortManager(LinkServices services, ClassicLinkFactory classic = {});
  ~SerialPortManager();
  SerialPortManager(const SerialPortManager&) = delete;
  SerialPortManager& operator=(const SerialPortManager&) = delete;

  // A new closed link for `params` (adjusted by normalizePortParams): a CirrantLink for type 3,
  // the classic variant for 0, the bare transport for 4. Null when four links exist already.
  ConsoleLink* AddPort(const PortParams& params);
  // Destroys the link (closing its port). kNotFound (code -1) for a link it does not own.
  platform::Status RemovePort(ConsoleLink* link);
  void RemoveAll();
  // Closes every open port; the links stay and reopen on their next operation.
  void CloseAll();
  // True when a link holds a connected modem call.
  bool AnyCallConnected() const;
  void HangUpAll();

  // One tick of the one-second idle timer.
  void tick();

  std::size_t linkCount() const { return links_.size(); }
  const LinkServices& services() const { return services_; }

 private:
  LinkServices services_;
  ClassicLinkFactory classic_;
  std::vector<std::unique_ptr<ConsoleLink>> links_;
};

}  // namespace stationlink
