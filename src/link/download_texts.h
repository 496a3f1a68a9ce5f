#pragma once

// The texts of the archive download, as the station owner reads them.

#include <string>
#include <string_view>

#include "link/console_types.h"
#include "records/month_format.h"

namespace stationlink {

inline constexpr std::string_view kTextNothingNew = "Ningún dato nuevo que descargar.";
inline constexpr std::string_view kTextConfirmTitle = "Descarga";
inline constexpr std::string_view kTextNoMemory = "No hay memoria suficiente para descargar.";
inline constexpr std::string_view kTextTimeout = "Error de tiempo de espera.";
inline constexpr std::string_view kTextTooManyErrors = "Cancelado por demasiados errores.";
inline constexpr std::string_view kTextDiskError =
    "Error escribiendo los datos en disco. Compruebe el espacio en disco.";
inline constexpr std::string_view kTextWrongModel1 =
    "El programa espera un modelo distinto de estación.";
inline constexpr std::string_view kTextWrongModel2 = "El programa no funcionará con esta estación.";

// "¿Transferir %d páginas (%d%%) al PC desde %s?\n(Cada página contiene hasta 5 registros.)"
std::string confirmText(int pages, int percent, std::string_view station);
// "Transferidos %3d de %d."
std::string progressText(int done, int total);
// "Descargando datos desde %s..."
std::string downloadTitle(std::string_view station);
// The console model the serial port is connected to, by its model byte.
std::string_view modelText(int modelCode);

// Why a page is read again, by the result of reading it: -9 "Bloque incompleto", -2
// "Perdido inicio del encabezado.", -3 "Error del número de bloque.", -4 "Detectado error
// CRC.", -6 "Error de lectura". Empty for a result the transfer does not name.
std::string pageErrorText(int result);
// "Transferidos %3d de %d. Reintentos: %2d  (%s)"
std::string retryText(int done, int total, int retries, std::string_view reason);
// The log line for a stored record whose time of day no day can hold.
std::string damagedRecordText(const records::DateTime& record);
// The warning for a newest stored record later than the console's own clock.
std::string newestAheadOfConsoleText(const records::DateTime& newest, const ConsoleTime& console);

}  // namespace stationlink
