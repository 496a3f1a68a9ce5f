#include "frame/interactive_shell.h"

#include <initializer_list>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "frame/current_follow.h"
#include "frame/messages.h"
#include "frame/program.h"
#include "frame/station_admin.h"
#include "platform/string_table.h"

namespace frame {

namespace {

constexpr int kMsgNoStationOpen = 61596;
constexpr int kMsgShellPrompt = 64332;

constexpr int kMsgGreeting = 65900;
constexpr int kMsgHelp = 65901;
constexpr int kMsgSchedule = 65902;
constexpr int kMsgScheduleOn = 65903;
constexpr int kMsgScheduleOff = 65904;
constexpr int kMsgNoHours = 65905;
constexpr int kMsgCannotList = 65906;
constexpr int kMsgNoStationsBelow = 65907;
constexpr int kMsgDownloadFailed = 65908;
constexpr int kMsgNoStationNumber = 65909;
constexpr int kMsgCannotOpen = 65910;
constexpr int kMsgOpened = 65911;
constexpr int kMsgNothingToDelete = 65912;
constexpr int kMsgDeleted = 65913;
constexpr int kMsgBulletinClosed = 65914;
constexpr int kMsgNewUsage = 65915;
constexpr int kMsgCreated = 65916;
constexpr int kMsgUnknownCommand = 65917;
constexpr int kMsgRecordStored = 65401;
constexpr int kMsgRecordsStored = 65402;

// One line of the table's text `id`, its "%s" filled in order.
void say(std::ostream& out, int id, std::initializer_list<std::string_view> args = {}) {
  out << fillText(platform::loadString(id), args) << "\n";
}

std::vector<std::string> words(std::string_view line) {
  std::vector<std::string> w;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) w.emplace_back(line.substr(start, i - start));
  }
  return w;
}

// The rest of the line after its first word: a station name may hold blanks.
std::string restAfterFirstWord(std::string_view line) {
  std::size_t i = line.find_first_not_of(" \t");
  if (i == std::string_view::npos) return {};
  i = line.find_first_of(" \t", i);
  if (i == std::string_view::npos) return {};
  i = line.find_first_not_of(" \t", i);
  return i == std::string_view::npos ? std::string() : std::string(line.substr(i));
}

bool is(const std::string& w, std::string_view a, std::string_view b) { return w == a || w == b; }

void listStations(Program& program, std::ostream& out) {
  auto list = program.listStations();
  if (!list) {
    say(out, kMsgCannotList, {list.status().message()});
    return;
  }
  if (list->empty()) say(out, kMsgNoStationsBelow, {program.programDirectory()});
  std::string current = program.currentStationDir();
  for (std::size_t i = 0; i < list->size(); ++i) {
    const auto& s = (*list)[i];
    out << (s.directory == current ? "* " : "  ") << i + 1 << "  " << s.name << "  " << s.directory
        << "\n";
  }
}

void showSchedule(Program& program, std::ostream& out) {
  station::DownloadSchedule s = program.schedule();
  std::string hours;
  for (int h = 0; h < 24; ++h) {
    if (s.hours[static_cast<std::size_t>(h)]) hours += " " + std::to_string(h);
  }
  if (hours.empty()) hours = platform::loadString(kMsgNoHours);
  say(out, kMsgSchedule,
      {platform::loadString(s.autoDownload ? kMsgScheduleOn : kMsgScheduleOff),
       std::to_string(s.offsetMinutes), hours});
}

void download(Program& program, std::ostream& out) {
  if (program.currentStation() == nullptr) {
    out << platform::loadString(kMsgNoStationOpen) << "\n";
    return;
  }
  DownloadResult r = program.downloadCurrentStation();
  if (r.ok()) {
    say(out, r.recordsStored == 1 ? kMsgRecordStored : kMsgRecordsStored,
        {std::to_string(r.recordsStored)});
  } else if (r.linkError != 0) {
    program.messages().DisplayLinkError(r.linkError);
  } else {
    say(out, kMsgDownloadFailed, {r.status.message()});
  }
}

void open(Program& program, const std::vector<std::string>& w, std::ostream& out) {
  if (w.size() < 2) {
    (void)chooseAndOpenStation(program);
  } else {
    auto list = program.listStations();
    std::size_t n = 0;
    try {
      n = std::stoul(w[1]);
    } catch (const std::exception&) {
      n = 0;
    }
    if (!list || n == 0 || n > list->size()) {
      say(out, kMsgNoStationNumber, {w[1]});
      return;
    }
    if (platform::Status s = program.openStation((*list)[n - 1].directory); !s.isOk()) {
      say(out, kMsgCannotOpen, {s.message()});
      return;
    }
  }
  if (program.currentStation()) say(out, kMsgOpened, {program.currentStationName()});
}

void remove(Program& program, std::ostream& out) {
  auto list = program.listStations();
  if (!list || list->empty()) {
    say(out, kMsgNothingToDelete);
    return;
  }
  std::vector<std::string> names;
  for (const auto& s : *list) names.push_back(s.name);
  auto pick = program.ui().choose("Eliminar Estación", "Eliminar Estación", names);
  if (!pick || *pick >= list->size()) return;
  platform::Status s = program.deleteStation((*list)[*pick].directory);
  if (s.isOk()) say(out, kMsgDeleted, {(*list)[*pick].directory});
}

// Opens the bulletin, or closes the one that is open. A bulletin the manager closed (lost
// connection, another station) is replaced by a new one.
void toggleBulletin(Program& program, std::ostream& out) {
  auto& bulletin = program.shellBulletin();
  BulletinView* open = bulletin.get();
  if (open != nullptr && !open->isClosed()) {
    program.realtime().closeView(open);
    bulletin.reset();
    say(out, kMsgBulletinClosed);
    return;
  }
  if (program.currentStation() == nullptr) {
    out << platform::loadString(kMsgNoStationOpen) << "\n";
    return;
  }
  bulletin = std::make_unique<BulletinView>(out, false, bulletinFormatter(program));
  program.realtime().openView(bulletin.get());
}

bool endsTheShell(std::string_view line) {
  std::vector<std::string> w = words(line);
  return !w.empty() && (is(w[0], "quit", "salir") || w[0] == "exit");
}

}  // namespace

bool runShellCommand(Program& program, std::string_view line, std::ostream& out) {
  std::vector<std::string> w = words(line);
  if (w.empty()) return true;
  const std::string& c = w[0];
  if (is(c, "help", "ayuda") || c == "?") {
    out << platform::loadString(kMsgHelp);
  } else if (is(c, "download", "descargar")) {
    download(program, out);
  } else if (is(c, "bulletin", "boletin")) {
    toggleBulletin(program, out);
  } else if (is(c, "stations", "estaciones")) {
    listStations(program, out);
  } else if (is(c, "open", "abrir")) {
    open(program, w, out);
  } else if (is(c, "new", "nueva")) {
    std::string name = restAfterFirstWord(line);
    if (name.empty()) {
      say(out, kMsgNewUsage);
    } else if (auto dir = program.createStation(name, program.programDirectory())) {
      say(out, kMsgCreated, {*dir});
    }
  } else if (is(c, "delete", "eliminar")) {
    remove(program, out);
  } else if (is(c, "schedule", "horario")) {
    showSchedule(program, out);
  } else if (is(c, "quit", "salir") || c == "exit") {
    program.postExit();
  } else {
    say(out, kMsgUnknownCommand, {c});
    return false;
  }
  return true;
}

void greetShell(std::ostream& out) {
  out << platform::loadString(kMsgGreeting) << "\n"
      << platform::loadString(kMsgShellPrompt) << std::flush;
}

void answerShellLine(Program& program, std::string_view line, bool eof, std::ostream& out) {
  if (eof) {
    // The end of input came where a command would have been typed: end the prompt's line.
    out << '\n' << std::flush;
    program.postExit();
    return;
  }
  runShellCommand(program, line, out);
  if (!endsTheShell(line)) out << platform::loadString(kMsgShellPrompt);
  out.flush();
}

void startInteractiveShell(Program& program) {
  std::ostream& out = program.out() ? *program.out() : std::cout;
  greetShell(out);
  program.loop().watchLines(platform::kStandardInput,
                            [&program, &out](std::string_view line, bool eof) {
                              answerShellLine(program, line, eof, out);
                            });
}

}  // namespace frame
