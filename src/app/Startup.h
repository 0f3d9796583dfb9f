#pragma once
#include <QDateTime>
#include <QString>

// Start-up of the program; main() only calls RunApplication.

// Creates the sub-folders of the user data folder and an empty "Macro.ini" when missing; failures are
// ignored.
void PrepareUserFolders();

// The "QT_SCALE_FACTOR" text for a desktop width in physical pixels: empty up to 1920, else width / 1920.
QString ScaleFactorForWidth(int desktopWidth);

// Deletes the files of folder older than seven whole days (at least 8 x 86400 s). Sub-folders, hidden
// files and files dated in the future stay.
void DeleteOldFiles(const QString& folder, const QDateTime& now = QDateTime::currentDateTimeUtc());

// The folder of the installation that cannot be read: the installation folder itself, its "Language"
// folder (without readable English and Czech language files) or its "Picture" folder (missing or empty);
// empty when everything can be read.
QString UnreadableInstallFolder(const QString& installDir);

// Shows a plain message box and returns when it is closed; tests replace it (nullptr: the default).
using MessageBoxShower = void (*)(const QString& text);
void SetMessageBoxShower(MessageBoxShower shower);

// With a QApplication: when the installation cannot be read, says so in a plain message box that names
// the folder looked in and returns the exit status 1; 0 when the installation can be read.
int CheckInstallation();

// The whole start-up: folders, scaling, cleaning, the single-instance test, the window and the event loop.
int RunApplication(int argc, char** argv);
