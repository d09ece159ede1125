// The busy cursor for the length of a scope, restored however the scope ends.
#pragma once

#include <QGuiApplication>

class hourglass {
public:
    hourglass() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~hourglass() { QGuiApplication::restoreOverrideCursor(); }
    hourglass(const hourglass&) = delete;
    hourglass& operator=(const hourglass&) = delete;
};
