// Device library entry points.
#include "HIDUsb.h"

#include <cstddef>

static_assert(sizeof(UsbDeviceInfo) == 3, "UsbDeviceInfo layout");
static_assert(sizeof(UsbDeviceAttribute) == 12 && offsetof(UsbDeviceAttribute, VersionWord) == 8,
              "UsbDeviceAttribute layout");
static_assert(sizeof(UsbAddressReply) == 10 && offsetof(UsbAddressReply, Online) == 6 &&
                  offsetof(UsbAddressReply, ReceiverId) == 7,
              "UsbAddressReply layout");
