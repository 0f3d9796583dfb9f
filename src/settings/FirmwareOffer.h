#pragma once
// Space on the home page with one receiver: when exactly one of receiver and mouse has an update, the
// receiver is flashed at once (after a confirmation) or the user is asked to plug the mouse's cable.

class DeviceAllInfo;
class QString;
class QWidget;

// Runs the offer over window; false when neither or both have an update (the caller then pairs).
bool RunFirmwareOffer(QWidget* window, const DeviceAllInfo& receiver, const QString& mouseVersion);
