#include "link/download_texts.h"

#include <cstdio>

#include "platform/string_table.h"

namespace stationlink {

namespace {

constexpr int kTextPageIncomplete = 60510;
constexpr int kTextPageBadStart = 60511;
constexpr int kTextPageBadSequence = 60512;
constexpr int kTextPageBadCrc = 60513;
constexpr int kTextPageReadError = 60514;
constexpr int kTextRetryLine = 60515;
constexpr int kTextDamagedRecord = 60520;
constexpr int kTextNewestAheadOfConsole = 60521;

// The table's texts carry printf conversions; each is filled with the arguments it names.
template <typename... Args>
std::string formatted(int id, Args... args) {
  const std::string format = platform::loadString(id);
  const int n = std::snprintf(nullptr, 0, format.c_str(), args...);
  if (n <= 0) return format;
  std::string out(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(out.data(), out.size(), format.c_str(), args...);
  out.resize(static_cast<std::size_t>(n));
  return out;
}

std::string dateTimeText(int year, int month, int day, int hour, int minute) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", year, month, day, hour, minute);
  return buf;
}

}  // namespace

std::string confirmText(int pages, int percent, std::string_view station) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "¿Transferir %d páginas (%d%%) al PC desde ", pages, percent);
  std::string text = buf;
  text += station;
  text += "?\n(Cada página contiene hasta 5 registros.)";
  return text;
}

std::string progressText(int done, int total) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "Transferidos %3d de %d.", done, total);
  return buf;
}

std::string downloadTitle(std::string_view station) {
  return "Descargando datos desde " + std::string(station) + "...";
}

std::string_view modelText(int modelCode) {
  switch (modelCode) {
    case 16:
      return "El puerto serie está conectado a una estación Cirrant Pro.";
    case 0:
      return "El puerto serie está conectado a una Tessel III.";
    case 1:
      return "El puerto serie está conectado a una Tessel II.";
    case 2:
      return "El puerto serie está conectado a una Basalt II.";
    case 3:
      return "El puerto serie está conectado a una Lumeno II.";
    case 4:
      return "El puerto serie está conectado a una estación Tillmark.";
    case 5:
      return "El puerto serie está conectado a una estación Kestrane.";
    case 6:
      return "El puerto serie está conectado a una estación Orvell.";
    default:
      return "El número del modelo de estación no fue reconocido.";
  }
}

std::string pageErrorText(int result) {
  switch (result) {
    case -9:
      return platform::loadString(kTextPageIncomplete);
    case -2:
      return platform::loadString(kTextPageBadStart);
    case -3:
      return platform::loadString(kTextPageBadSequence);
    case -4:
      return platform::loadString(kTextPageBadCrc);
    case -6:
      return platform::loadString(kTextPageReadError);
    default:
      return {};
  }
}

std::string retryText(int done, int total, int retries, std::string_view reason) {
  const std::string text(reason);
  return formatted(kTextRetryLine, done, total, retries, text.c_str());
}

std::string damagedRecordText(const records::DateTime& record) {
  char date[32];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", record.year, record.month, record.day);
  return formatted(kTextDamagedRecord, date, static_cast<int>(record.minutes));
}

std::string newestAheadOfConsoleText(const records::DateTime& newest, const ConsoleTime& console) {
  const std::string stored =
      dateTimeText(newest.year, newest.month, newest.day, newest.minutes / 60, newest.minutes % 60);
  const std::string clock =
      dateTimeText(console.year, console.month, console.day, console.hour, console.minute);
  return formatted(kTextNewestAheadOfConsole, stored.c_str(), clock.c_str());
}

}  // namespace stationlink
