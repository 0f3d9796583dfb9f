#pragma once
#include <QToolButton>
#include <functional>

// A home-page tile button ("btn" + tile number): entering it with the mouse refreshes that tile.
class mytoolButtonEnter : public QToolButton {
    Q_OBJECT
public:
    explicit mytoolButtonEnter(QWidget* parent = nullptr);

    // The home page installs its tile refresh (RefreshDeviceTile) here; without one, entering does nothing.
    static void SetTileRefresher(std::function<bool(int)> refresher);

    // The tile number of an object name: every "btn" removed, the rest read as a decimal (0 if not a number).
    static int TileNumber(const QString& objectName);

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
};
