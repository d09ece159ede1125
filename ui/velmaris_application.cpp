#include "velmaris_application.h"

#include "user_prompts.h"

#include <QIcon>

#include <exception>

velmaris_application::velmaris_application(int& argc, char** argv) : QApplication(argc, argv)
{
    setWindowIcon(QIcon(QStringLiteral(":/velmaris/velmaris.png")));
}

bool velmaris_application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
        prompts().error(activeWindow(), QString::fromUtf8(failure.what()));
    }
    return false;
}
