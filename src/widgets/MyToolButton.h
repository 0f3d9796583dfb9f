#pragma once
#include <QToolButton>

// A tool button that acts on the press of the left button (not on the release); a left double click acts
// again.
class MyToolButton : public QToolButton {
    Q_OBJECT
public:
    explicit MyToolButton(QWidget* parent = nullptr);

signals:
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
