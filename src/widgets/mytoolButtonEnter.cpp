#include "widgets/mytoolButtonEnter.h"

namespace {
std::function<bool(int)>& TileRefresher() {
    static std::function<bool(int)> refresher;
    return refresher;
}
}  // namespace

mytoolButtonEnter::mytoolButtonEnter(QWidget* parent) : QToolButton(parent) {}

void mytoolButtonEnter::SetTileRefresher(std::function<bool(int)> refresher) {
    TileRefresher() = std::move(refresher);
}

int mytoolButtonEnter::TileNumber(const QString& objectName) {
    QString rest = objectName;
    rest.remove(QStringLiteral("btn"), Qt::CaseSensitive);
    return rest.toInt();  // 0 when not a number
}

void mytoolButtonEnter::enterEvent(QEvent* /*event*/) {
    if (TileRefresher()) TileRefresher()(TileNumber(objectName()));
}

void mytoolButtonEnter::leaveEvent(QEvent* /*event*/) {}
