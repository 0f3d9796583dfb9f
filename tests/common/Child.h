#pragma once
#include <QObject>

// The child of a widget by its object name; a missing one ends the test at once.
template <class T>
T* Child(const QObject* parent, const char* name) {
    T* child = parent->findChild<T*>(name);
    if (!child) qFatal("no child %s", name);
    return child;
}
template <class T>
T* Child(const QObject& parent, const char* name) {
    return Child<T>(&parent, name);
}
