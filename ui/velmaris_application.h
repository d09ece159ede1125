// The application object: the one place where a failure that escaped an
// event handler is shown to the user, after which the program goes on.
#pragma once

#include <QApplication>

class velmaris_application : public QApplication {
    Q_OBJECT
public:
    velmaris_application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
