// stratalog images: which web images a station allows, and drawing a profile's images now;
// stratalog profile images: choosing a profile's images.
#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "frame/messages.h"
#include "frame/program.h"
#include "frame/profile_images.h"
#include "frame/program_runner.h"
#include "platform/string_table.h"
#include "publish/image_catalogue.h"
#include "publish/image_profile.h"
#include "publish/image_run.h"
#include "publish/image_style.h"
#include "publish/inet_config.h"
#include "station/station_state.h"

namespace cli {

namespace {

constexpr int kHelpImages = 66620;
constexpr int kHelpList = 66621;
constexpr int kHelpDraw = 66622;
constexpr int kHelpProfileNumber = 66623;
constexpr int kHelpTo = 66624;
constexpr int kTextCurrent = 66625;
constexpr int kTextHistory = 66626;
constexpr int kTextYes = 66627;
constexpr int kTextNo = 66628;
constexpr int kMsgWritten = 66629;
constexpr int kMsgNoneChosen = 66630;
constexpr int kMsgBadProfile = 66631;
constexpr int kMsgNoReading = 66632;
constexpr int kHelpProfileImages = 66640;
constexpr int kHelpAdd = 66641;
constexpr int kHelpRemove = 66642;
constexpr int kHelpClear = 66643;
constexpr int kHelpSize = 66644;
constexpr int kHelpBlackLines = 66645;
constexpr int kHelpSafeColours = 66646;
constexpr int kMsgBadImage = 66647;
constexpr int kMsgBadSize = 66648;
constexpr int kMsgBadSwitch = 66649;
constexpr int kMsgProfileImages = 66650;
constexpr int kMsgCurrentImagesOf = 66651;
constexpr int kMsgHistoryImagesOf = 66652;

std::string joined(const std::vector<std::string>& words) {
  std::string s;
  for (const std::string& w : words) s += (s.empty() ? "" : ", ") + w;
  return s;
}

std::vector<std::string> allImageNames() {
  std::vector<std::string> names;
  for (auto family : {publish::ImageFamily::kCurrent, publish::ImageFamily::kHistory}) {
    for (const publish::ImageKind& kind : publish::imagesOf(family))
      names.push_back(publish::imageFileName(kind));
  }
  return names;
}

// The profile number 1 to 8 from its text; the usage error when it is none.
std::optional<int> profileNumber(CommandContext& ctx, const std::string& command,
                                 const std::string& text) {
  const std::optional<int> n = digitsArgument(text);
  if (!n || *n < 1 || *n > publish::kProfileCount) {
    usageError(ctx, command, frame::fillText(platform::loadString(kMsgBadProfile), {text}));
    return std::nullopt;
  }
  return n;
}

std::optional<bool> switchArgument(CommandContext& ctx, const std::string& command,
                                   const std::string& option, const std::string& text) {
  if (text == "on") return true;
  if (text == "off") return false;
  usageError(ctx, command, frame::fillText(platform::loadString(kMsgBadSwitch), {text, option}));
  return std::nullopt;
}

void listImages(CommandContext& ctx, StationChoice& choice) {
  if (!resolveStation(ctx, choice)) return;
  auto st = station::loadStation(*ctx.env.files, choice.station, station::stationDataSets());
  if (!st) {
    ctx.exitCode = reportFailure(ctx, "images list", st.status());
    return;
  }
  for (auto family : {publish::ImageFamily::kCurrent, publish::ImageFamily::kHistory}) {
    const std::string familyText =
        platform::loadString(family == publish::ImageFamily::kCurrent ? kTextCurrent : kTextHistory);
    for (const publish::ImageKind& kind : publish::imagesOf(family)) {
      const bool allowed = publish::stationAllows(st->config, kind);
      std::string name = publish::imageFileName(kind);
      name.resize(std::max<std::size_t>(name.size(), 28), ' ');
      *ctx.out << name << " " << familyText << "\t"
               << platform::loadString(allowed ? kTextYes : kTextNo) << "\n";
    }
  }
  ctx.exitCode = kExitOk;
}

struct DrawOptions {
  StationChoice choice;
  std::string profile;
  std::string to;
};

void drawImages(CommandContext& ctx, DrawOptions& o) {
  const std::string command = "images draw";
  const std::optional<int> n = profileNumber(ctx, command, o.profile);
  if (!n) return;
  const frame::RunOptions options = runOptions(ctx, o.choice.programDir);
  if (!resolveStation(ctx, o.choice)) return;
  auto inet = publish::loadInetConfig(*ctx.env.files, o.choice.station);
  if (!inet) {
    ctx.exitCode = reportFailure(ctx, command, inet.status());
    return;
  }
  const publish::UploadProfile profile = inet->config.profile(*n - 1);
  const publish::ImageSelection selection = publish::imageSelectionOf(profile);
  if (selection.currentMask == 0 && selection.historyMask == 0) {
    *ctx.out << frame::fillText(platform::loadString(kMsgNoneChosen), {std::to_string(*n)}) << "\n";
    ctx.exitCode = kExitOk;
    return;
  }
  ctx.exitCode = frame::runWithStation(options, o.choice.station, [&](frame::Program& program) {
    const frame::ProfileImages drawn = frame::drawProfileImagesNow(program, profile, *n, nullptr, o.to);
    if (!drawn.readingError.empty()) {
      *ctx.err << "stratalog " << command << ": "
               << frame::fillText(platform::loadString(kMsgNoReading), {drawn.readingError}) << "\n";
    }
    // Without a journal the event-log lines would go unseen here.
    if (options.journal == nullptr) {
      for (const std::string& line : drawn.log.messages)
        *ctx.err << "stratalog " << command << ": " << line << "\n";
    }
    for (const publish::WrittenImage& w : drawn.written) {
      *ctx.out << frame::fillText(platform::loadString(kMsgWritten), {w.path()}) << "\n";
    }
    return drawn.log.errors ? kExitFailed : kExitOk;
  });
}

struct ProfileImagesOptions {
  StationChoice choice;
  std::string profile;
  std::vector<std::string> add;
  std::vector<std::string> remove;
  bool clear = false;
  std::string size;
  std::string blackLines;
  std::string safeColours;
};

void chooseProfileImages(CommandContext& ctx, ProfileImagesOptions& o) {
  const std::string command = "profile images";
  const std::optional<int> n = profileNumber(ctx, command, o.profile);
  if (!n) return;
  // Every argument is checked before anything is stored, so a mistake changes nothing.
  std::vector<publish::ImageRef> adds, removes;
  for (auto* list : {&o.add, &o.remove}) {
    for (const std::string& name : *list) {
      publish::ImageRef ref{};
      if (!publish::findImage(name, ref)) {
        usageError(ctx, command,
                   frame::fillText(platform::loadString(kMsgBadImage), {name, joined(allImageNames())}));
        return;
      }
      (list == &o.add ? adds : removes).push_back(ref);
    }
  }
  std::optional<int> size;
  if (!o.size.empty()) {
    size = publish::imageSizeCode(o.size);
    if (!size) {
      usageError(ctx, command, frame::fillText(platform::loadString(kMsgBadSize),
                                               {o.size, joined(publish::imageSizeWords())}));
      return;
    }
  }
  std::optional<bool> black, safe;
  if (!o.blackLines.empty() && !(black = switchArgument(ctx, command, "--black-lines", o.blackLines)))
    return;
  if (!o.safeColours.empty() &&
      !(safe = switchArgument(ctx, command, "--safe-colours", o.safeColours)))
    return;
  if (!resolveStation(ctx, o.choice)) return;
  auto inet = publish::loadInetConfig(*ctx.env.files, o.choice.station);
  if (!inet) {
    ctx.exitCode = reportFailure(ctx, command, inet.status());
    return;
  }
  publish::UploadProfile profile = inet->config.profile(*n - 1);
  publish::ImageSelection s = publish::imageSelectionOf(profile);
  if (o.clear) s.currentMask = s.historyMask = 0;
  auto maskOf = [&s](const publish::ImageRef& r) -> std::uint64_t& {
    return r.family == publish::ImageFamily::kCurrent ? s.currentMask : s.historyMask;
  };
  for (const auto& r : removes) maskOf(r) &= ~(std::uint64_t{1} << r.index);
  for (const auto& r : adds) maskOf(r) |= std::uint64_t{1} << r.index;
  if (size) s.size = static_cast<std::uint8_t>(*size);
  auto setOption = [&s](std::optional<bool> on, std::uint8_t bit) {
    if (on) s.options = static_cast<std::uint8_t>(*on ? (s.options | bit) : (s.options & ~bit));
  };
  setOption(black, publish::kOptionBlackLines);
  setOption(safe, publish::kOptionSafeColours);
  publish::storeImageSelection(profile, s);
  inet->config.setProfile(*n - 1, profile);
  if (platform::Status saved = publish::saveInetConfig(*ctx.env.files, o.choice.station, inet->config);
      !saved) {
    ctx.exitCode = reportFailure(ctx, command, saved);
    return;
  }
  const std::string yes = platform::loadString(kTextYes), no = platform::loadString(kTextNo);
  *ctx.out << frame::fillText(platform::loadString(kMsgProfileImages),
                              {std::to_string(*n), std::to_string(profile.currentImageCount()),
                               std::to_string(profile.historyImageCount()),
                               publish::imageSizeName(s.size),
                               (s.options & publish::kOptionBlackLines) ? yes : no,
                               (s.options & publish::kOptionSafeColours) ? yes : no})
           << "\n";
  for (auto family : {publish::ImageFamily::kCurrent, publish::ImageFamily::kHistory}) {
    const bool current = family == publish::ImageFamily::kCurrent;
    const std::uint64_t mask = current ? s.currentMask : s.historyMask;
    if (mask == 0) continue;
    *ctx.out << frame::fillText(platform::loadString(current ? kMsgCurrentImagesOf : kMsgHistoryImagesOf),
                                {std::to_string(*n)})
             << ":";
    const auto kinds = publish::imagesOf(family);
    for (std::size_t i = 0; i < kinds.size(); ++i) {
      if ((mask >> i) & 1) *ctx.out << " " << publish::imageFileName(kinds[i]);
    }
    *ctx.out << "\n";
  }
  ctx.exitCode = kExitOk;
}

}  // namespace

void addImagesCommands(CLI::App& app, CommandContext& ctx) {
  auto* images = app.add_subcommand("images", helpText(kHelpImages));
  images->require_subcommand(1);

  auto listChoice = std::make_shared<StationChoice>();
  auto* list = images->add_subcommand("list", helpText(kHelpList));
  addStationOptions(list, *listChoice);
  list->callback([&ctx, listChoice] { listImages(ctx, *listChoice); });

  auto draw = std::make_shared<DrawOptions>();
  auto* drawCommand = images->add_subcommand("draw", helpText(kHelpDraw));
  addStationOptions(drawCommand, draw->choice);
  drawCommand->add_option("numero", draw->profile, helpText(kHelpProfileNumber))->required();
  drawCommand->add_option("--to", draw->to, helpText(kHelpTo));
  drawCommand->callback([&ctx, draw] { drawImages(ctx, *draw); });
}

void addProfileImagesCommand(CLI::App& profileGroup, CommandContext& ctx) {
  auto o = std::make_shared<ProfileImagesOptions>();
  auto* command = profileGroup.add_subcommand("images", helpText(kHelpProfileImages));
  addStationOptions(command, o->choice);
  command->add_option("numero", o->profile, helpText(kHelpProfileNumber))->required();
  command->add_option("--add", o->add, helpText(kHelpAdd));
  command->add_option("--remove", o->remove, helpText(kHelpRemove));
  command->add_flag("--clear", o->clear, helpText(kHelpClear));
  command->add_option("--size", o->size, helpText(kHelpSize));
  command->add_option("--black-lines", o->blackLines, helpText(kHelpBlackLines));
  command->add_option("--safe-colours", o->safeColours, helpText(kHelpSafeColours));
  command->callback([&ctx, o] { chooseProfileImages(ctx, *o); });
}

}  // namespace cli
