#include "link/serial_port_manager.h"

#include <algorithm>

#include "link/cirrant_link.h"

namespace stationlink {

SerialPortManager::SerialPortManager(LinkServices services, ClassicLinkFactory classic)
    : services_(std::move(services)), classic_(std::move(classic)) {}

SerialPortManager::~SerialPortManager() { RemoveAll(); }

ConsoleLink* SerialPortManager::AddPort(const PortParams& raw) {
  if (links_.size() >= kMaxLinks) return nullptr;
  const PortParams params = normalizePortParams(raw);
  std::unique_ptr<ConsoleLink> link;
  switch (params.linkType) {
    case LinkType::kCirrant:
      link = std::make_unique<CirrantLink>(params, services_);
      break;
    case LinkType::kClassic:
      link =
          classic_ ? classic_(params, services_) : std::make_unique<ConsoleLink>(params, services_);
      break;
    case LinkType::kPlain:
      link = std::make_unique<ConsoleLink>(params, services_);
      break;
  }
  if (!link) return nullptr;
  links_.push_back(std::move(link));
  return links_.back().get();
}

platform::Status SerialPortManager::RemovePort(ConsoleLink* link) {
  auto it = std::find_if(links_.begin(), links_.end(),
                         [link](const auto& owned) { return owned.get() == link; });
  if (it == links_.end()) {
    return platform::Status(platform::Errc::kNotFound, "unknown console link", kErrFailed);
  }
  links_.erase(it);
  return platform::Status::ok();
}

void SerialPortManager::RemoveAll() { links_.clear(); }

void SerialPortManager::CloseAll() {
  for (auto& link : links_) {
    if (link->hasState(kPortOpen)) link->Close();
  }
}

bool SerialPortManager::AnyCallConnected() const {
  return std::any_of(links_.begin(), links_.end(), [](const auto& link) {
    return link->hasState(kModemLine | kCallConnected | kConfigured);
  });
}

void SerialPortManager::HangUpAll() {
  for (auto& link : links_) {
    if (link->hasState(kModemLine)) link->HangUp();
  }
}

void SerialPortManager::tick() {
  for (auto& link : links_) link->idleTick();
}

}  // namespace stationlink
