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

// The whole start-up: folders, scaling, cleaning, the single-instance test, the window and the event loop.
int RunApplication(int argc, char** argv);
