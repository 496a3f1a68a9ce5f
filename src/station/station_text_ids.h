#pragma once

// Ids of the station subsystem's texts in the string table.

namespace station::text {

inline constexpr int kSaveError = 64100;  // "Error guardando datos de la estación."
inline constexpr int kSaveErrorDisk =
    64101;  // "No se pudo guardar el archivo de configuración ..."
inline constexpr int kWarningTitle = 64102;  // "AVISO"
inline constexpr int kFoundVersion50 = 64103;
inline constexpr int kConvertQuestion = 64104;
inline constexpr int kBackupNote = 64105;
inline constexpr int kFoundVersion4x = 64106;
inline constexpr int kCannotOpen = 64107;          // "No se pudo abrir '%s'."
inline constexpr int kCannotOpenDatabase = 64108;  // "No se pudo abrir la base de datos."
inline constexpr int kDirectoryExists = 64110;     // "El directorio '%s' ya existe."
inline constexpr int kUseDirectoryAnyway = 64111;
inline constexpr int kCreateDirectoryError = 64112;  // "Error %d creando el directorio."
inline constexpr int kRenameQuestion =
    64113;                                   // "¿Desea cambiar el nombre del directorio ... '%s'?"
inline constexpr int kRenameTitle = 64114;   // "Cambiar nombre"
inline constexpr int kRenameFailed = 64115;  // "No se pudo cambiar el nombre '%s' a '%s'. (%d)"
inline constexpr int kEnterName = 64116;     // "Introduzca un nombre para su estación."
inline constexpr int kConnectWaitRange = 64120;    // "Tiempo de espera fuera de rango (0 a 127)."
inline constexpr int kConnectWaitInvalid = 64121;  // "Tiempo de espera '%s' no válido."
inline constexpr int kEnterPhone = 64122;          // "Introduzca un número de teléfono."
inline constexpr int kNoOutsideHumidity =
    64123;  // "El modelo seleccionado no tiene humedad exterior."
inline constexpr int kInvalidStationName = 64126;  // "Nombre de estación '%s' no válido."
inline constexpr int kStationNameTooLong =
    64127;  // "El nombre de la estación puede tener como máximo 40 caracteres."
inline constexpr int kStationNameTooManyBytes =
    64128;  // "El nombre de la estación ocupa demasiado; use menos caracteres especiales."

}  // namespace station::text
