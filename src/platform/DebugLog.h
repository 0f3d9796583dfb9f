#pragma once
#include <QLoggingCategory>

// The program's own debug output, category "vorlant": off unless QT_LOGGING_RULES turns it on, as
// QT_LOGGING_RULES="vorlant.debug=true".
Q_DECLARE_LOGGING_CATEGORY(VzDebug)
