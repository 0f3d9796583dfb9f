#pragma once
// The data callback of the device connection: answers to the read requests and the reports that the
// mouse sends by itself. Runs on the library's thread, never the GUI thread.

void DeviceDataCallback(const unsigned char* header, int headerLength, const unsigned char* payload,
                        int payloadLength);
