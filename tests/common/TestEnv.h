#pragma once
#include <QString>

// Shared fixtures: each test program runs with its own HOME (set by CTest).
namespace TestEnv {
// A fresh, empty folder under the test's HOME.
QString FreshDir(const QString& name);
}  // namespace TestEnv
