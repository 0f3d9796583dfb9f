#pragma once
// Per-model cache of the settings image in the user data folder's "Device_Info".

#include <QString>
#include <QtGlobal>

#include "hidusb/FlashDataMap.h"

// Full path of the cache file of a device: ".../Device_Info/Device_CIDxx_MIDyy.bin"
// (CID the low byte, MID the high byte of cidMidWord, two upper-case hex digits each).
QString DeviceInfoFilePath(quint16 cidMidWord);

// Loads a cache file into image. False, with image untouched, when the file is missing, unreadable
// or not exactly one block of 10,460 bytes.
bool ReadDeviceInfoFile(const QString& fileName, FlashDataMap* image);

// Saves the image as one data-stream byte block, whole or not at all. False when it could not be written.
bool WriteDeviceInfoFile(const QString& fileName, const FlashDataMap& image);
