#include "platform/event_loop.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/signals.h"

namespace platform {

namespace {

// A line longer than this without a line feed is handed over as it stands, so a stream
// of garbage on standard input cannot grow memory without end.
constexpr std::size_t kMaxLineBytes = 4096;

}  // namespace

EventLoop::EventLoop(Clock& clock) : clock_(clock) {}
EventLoop::~EventLoop() = default;

EventLoop::TimerId EventLoop::addTimer(std::chrono::milliseconds delay, TimerHandler handler) {
  auto t = std::make_unique<Timer>();
  t->id = nextTimerId_++;
  t->due = clock_.now() + delay;
  t->handler = std::move(handler);
  t->fresh = true;
  TimerId id = t->id;
  timers_.push_back(std::move(t));
  return id;
}

void EventLoop::removeTimer(TimerId id) {
  for (auto& t : timers_) {
    if (t->id == id) t->removed = true;
  }
}

std::size_t EventLoop::timerCount() const {
  return static_cast<std::size_t>(
      std::count_if(timers_.begin(), timers_.end(), [](const auto& t) { return !t->removed; }));
}

void EventLoop::watchLines(int fd, LineHandler handler) {
  unwatch(fd);
  auto r = std::make_unique<Reader>();
  r->fd = fd;
  r->handler = std::move(handler);
  readers_.push_back(std::move(r));
}

void EventLoop::unwatch(int fd) {
  for (auto& r : readers_) {
    if (r->fd == fd) r->removed = true;
  }
  for (auto& w : watches_) {
    if (w->fd == fd) w->removed = true;
  }
}

void EventLoop::watchFd(int fd, bool wantWrite, FdHandler handler) {
  unwatch(fd);
  auto w = std::make_unique<FdWatch>();
  w->fd = fd;
  w->wantWrite = wantWrite;
  w->handler = std::move(handler);
  watches_.push_back(std::move(w));
}

void EventLoop::setWantWrite(int fd, bool wantWrite) {
  for (auto& w : watches_) {
    if (w->fd == fd && !w->removed) w->wantWrite = wantWrite;
  }
}

bool EventLoop::handleTerminationSignals(SignalHandler handler) {
  if (!signals_) signals_ = std::make_unique<SignalPipe>();
  if (!signals_->install()) {
    signals_.reset();
    return false;
  }
  signalHandler_ = std::move(handler);
  return true;
}

void EventLoop::post(std::function<void()> task) { tasks_.push_back(std::move(task)); }

std::chrono::milliseconds EventLoop::waitFor(std::chrono::milliseconds maxWait) const {
  if (!tasks_.empty()) return std::chrono::milliseconds(0);
  std::chrono::milliseconds wait = maxWait;
  Instant now = clock_.now();
  for (const auto& t : timers_) {
    if (t->removed) continue;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(t->due - now);
    wait = std::min(wait, std::max(left, std::chrono::milliseconds(0)));
  }
  return std::max(wait, std::chrono::milliseconds(0));
}

void EventLoop::runOnce(std::chrono::milliseconds maxWait) {
  for (auto& t : timers_) t->fresh = false;

  std::vector<pollfd> fds;
  if (signals_) fds.push_back({signals_->readFd(), POLLIN, 0});
  std::vector<Reader*> polled;
  for (auto& r : readers_) {
    if (r->removed) continue;
    fds.push_back({r->fd, POLLIN, 0});
    polled.push_back(r.get());
  }
  std::vector<FdWatch*> watched;
  for (auto& w : watches_) {
    if (w->removed) continue;
    fds.push_back({w->fd, static_cast<short>(POLLIN | (w->wantWrite ? POLLOUT : 0)), 0});
    watched.push_back(w.get());
  }
  auto wait = waitFor(maxWait);
  int ready =
      ::poll(fds.data(), fds.size(), static_cast<int>(std::min<long long>(wait.count(), 1 << 30)));
  if (ready < 0 && errno != EINTR) ready = 0;

  serviceSignals();
  runTasks();
  if (ready > 0) {
    std::size_t first = signals_ ? 1 : 0;
    for (std::size_t i = 0; i < polled.size(); ++i) {
      short ev = fds[first + i].revents;
      if (ev != 0 && !polled[i]->removed) readInput(*polled[i]);
    }
    first += polled.size();
    for (std::size_t i = 0; i < watched.size(); ++i) {
      short ev = fds[first + i].revents;
      if (ev == 0 || watched[i]->removed) continue;
      // A copy: the handler may unwatch its own descriptor, and a later watch may take
      // the vector's storage.
      FdHandler handler = watched[i]->handler;
      handler((ev & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0, (ev & POLLOUT) != 0);
    }
  }
  runTimers();
  sweep();
}

void EventLoop::run() {
  while (!stopped_) runOnce(std::chrono::milliseconds(1000));
}

bool EventLoop::pump() {
  serviceSignals();
  if (pumpHook_) pumpHook_();
  return cancelRequested_;
}

void EventLoop::serviceSignals() {
  if (!signals_) return;
  for (int sig : signals_->drain()) {
    if (signalHandler_) signalHandler_(sig);
  }
}

void EventLoop::runTasks() {
  // Tasks posted by these tasks wait for the next pass.
  std::vector<std::function<void()>> now;
  now.swap(tasks_);
  for (auto& task : now) task();
}

void EventLoop::runTimers() {
  Instant now = clock_.now();
  // Index loop: a handler may add timers, which may move the vector's storage.
  for (std::size_t i = 0; i < timers_.size(); ++i) {
    Timer* t = timers_[i].get();
    if (t->removed || t->fresh || t->due > now) continue;
    std::optional<std::chrono::milliseconds> again = t->handler();
    t = timers_[i].get();
    if (t->removed) continue;
    if (again) {
      // Next deadline from the one just served, so a one-second tick does not drift;
      // after a long stall it catches up at once instead of firing a burst.
      t->due += *again;
      if (t->due <= now) t->due = now + *again;
    } else {
      t->removed = true;
    }
  }
}

void EventLoop::readInput(Reader& reader) {
  char buf[1024];
  ssize_t n;
  do {
    n = ::read(reader.fd, buf, sizeof buf);
  } while (n < 0 && errno == EINTR);
  if (n <= 0) {
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
    if (!reader.pending.empty()) {
      std::string last;
      last.swap(reader.pending);
      reader.handler(last, false);
    }
    reader.removed = true;
    reader.handler({}, true);
    return;
  }
  reader.pending.append(buf, static_cast<std::size_t>(n));
  std::size_t start = 0;
  for (;;) {
    std::size_t nl = reader.pending.find('\n', start);
    if (nl == std::string::npos) break;
    std::string_view line(reader.pending.data() + start, nl - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    reader.handler(line, false);
    if (reader.removed) return;
    start = nl + 1;
  }
  reader.pending.erase(0, start);
  if (reader.pending.size() > kMaxLineBytes) {
    std::string line;
    line.swap(reader.pending);
    reader.handler(line, false);
  }
}

void EventLoop::sweep() {
  std::erase_if(timers_, [](const auto& t) { return t->removed; });
  std::erase_if(readers_, [](const auto& r) { return r->removed; });
  std::erase_if(watches_, [](const auto& w) { return w->removed; });
}

}  // namespace platform

namespace platform {

bool standardInputIsTerminal() { return ::isatty(kStandardInput) == 1; }
bool standardOutputIsTerminal() { return ::isatty(1) == 1; }
bool standardErrorIsTerminal() { return ::isatty(2) == 1; }

}  // namespace platform
