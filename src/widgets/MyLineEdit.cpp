#include "widgets/MyLineEdit.h"

MyLineEdit::MyLineEdit(QWidget* parent) : QLineEdit(parent) {}

void MyLineEdit::keyPressEvent(QKeyEvent* /*event*/) {}

void MyLineEdit::keyReleaseEvent(QKeyEvent* /*event*/) {}
