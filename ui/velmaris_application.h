// The application object and the one place where failures are shown: a
// failure that ends a command of the user appears in an error box, after
// which the program goes on.
#pragma once

#include <QApplication>

#include <exception>
#include <utility>

class velmaris_application : public QApplication {
    Q_OBJECT
public:
    velmaris_application(int& argc, char** argv);
    // The last resort for a failure that escaped an event handler.
    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows the failure's message in an error box.
void show_failure(const std::exception& failure);

// Runs one command of the user. A failure ends the command and is shown
// here: it must not travel on through Qt's signal and event code, which is
// not built to pass exceptions.
template <class Command>
void run_command(Command&& command) noexcept
{
    try {
        std::forward<Command>(command)();
    } catch (const std::exception& failure) {
        show_failure(failure);
    }
}
