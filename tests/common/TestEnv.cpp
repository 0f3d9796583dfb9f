#include "TestEnv.h"

#include <QDir>

namespace TestEnv {
QString FreshDir(const QString& name) {
    QDir dir(QDir::homePath() + "/" + name);
    dir.removeRecursively();
    QDir().mkpath(dir.path());
    return dir.path();
}
}  // namespace TestEnv
