#pragma once
#include <QString>

// The two folders every part of the program uses.
namespace Paths {

// Product name: names the user data folder and the single-instance key.
inline const char* const kProductName = "Vorlant ZEMB";

// Folder of the executable with the read-only installation data; "VORLANT_INSTALL_DIR" or
// SetInstallDir overrides it (tests).
QString InstallDir();
void SetInstallDir(const QString& dir);

// Home folder + "/AppData/Local/" + product name; follows HOME.
QString UserDataDir();

}  // namespace Paths
