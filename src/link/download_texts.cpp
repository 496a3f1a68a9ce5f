#include "link/download_texts.h"

#include <cstdio>

namespace stationlink {

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

}  // namespace stationlink
