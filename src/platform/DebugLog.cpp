#include "platform/DebugLog.h"

Q_LOGGING_CATEGORY(VzDebug, "vorlant", QtInfoMsg)
