#pragma once
#include <QLineEdit>

// A line edit that ignores the keyboard; its owner fills it (the key-combination field).
class MyLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MyLineEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};
