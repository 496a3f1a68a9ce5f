#include "consolesim/fault_plan.h"

#include <charconv>

namespace consolesim {
namespace {

constexpr std::array<std::string_view, kFaultKinds> kNames = {
    "crc-block", "crc-page",  "crc-loop", "no-reply",    "page-timeout", "nak",
    "wrong-ack", "drop-byte", "garbage",  "repeat-page", "skip-page",    "disconnect",
};

bool parseUnsigned(std::string_view text, std::uint64_t& out) {
  if (text.empty()) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::string_view faultName(FaultKind kind) { return kNames[static_cast<std::size_t>(kind)]; }

std::optional<FaultKind> faultFromName(std::string_view name) {
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (kNames[i] == name) return static_cast<FaultKind>(i);
  }
  return std::nullopt;
}

std::string faultNames() {
  std::string all;
  for (auto n : kNames) {
    if (!all.empty()) all += ", ";
    all += n;
  }
  return all;
}

platform::Result<FaultRule> parseFaultRule(std::string_view text) {
  const auto bad = [&](const char* why) {
    return platform::Result<FaultRule>(
        platform::Status::badArgument("fault \"" + std::string(text) + "\": " + why));
  };
  const std::size_t mark = text.find_first_of("@%");
  const auto kind = faultFromName(text.substr(0, mark));
  if (!kind) return bad(("unknown name; known: " + faultNames()).c_str());
  FaultRule rule;
  rule.kind = *kind;
  if (mark == std::string_view::npos) return rule;
  std::string_view rest = text.substr(mark + 1);
  if (text[mark] == '%') {
    std::uint64_t whole = 0;
    double frac = 0;
    const std::size_t dot = rest.find('.');
    if (!parseUnsigned(rest.substr(0, dot), whole)) return bad("percent expected after %");
    if (dot != std::string_view::npos) {
      std::string_view digits = rest.substr(dot + 1);
      std::uint64_t f = 0;
      if (digits.size() > 6 || !parseUnsigned(digits, f)) return bad("bad percent");
      double scale = 1;
      for (std::size_t i = 0; i < digits.size(); ++i) scale *= 10;
      frac = static_cast<double>(f) / scale;
    }
    rule.percent = static_cast<double>(whole) + frac;
    if (rule.percent > 100) return bad("percent above 100");
    return rule;
  }
  const std::size_t star = rest.find('*');
  if (!parseUnsigned(rest.substr(0, star), rule.first) || rule.first == 0) {
    return bad("opportunity number (1 or more) expected after @");
  }
  if (star != std::string_view::npos && !parseUnsigned(rest.substr(star + 1), rule.count)) {
    return bad("count expected after *");
  }
  return rule;
}

bool FaultPlan::fire(FaultKind kind) {
  const auto k = static_cast<std::size_t>(kind);
  const std::uint64_t n = ++seen_[k];
  bool hit = false;
  for (const FaultRule& r : rules_) {
    if (r.kind != kind) continue;
    if (r.percent >= 0) {
      // Draw for every random rule so the sequence does not depend on earlier answers.
      const double u = static_cast<double>(rng_() >> 11) * (1.0 / 9007199254740992.0);
      hit = hit || u * 100 < r.percent;
    } else if (n >= r.first && (r.count == 0 || n - r.first < r.count)) {
      hit = true;
    }
  }
  if (hit) ++fired_[k];
  return hit;
}

std::uint64_t FaultPlan::draw(std::uint64_t bound) { return bound == 0 ? 0 : rng_() % bound; }

}  // namespace consolesim
