#include "velmaris_application.h"

#include "user_prompts.h"

#include <QIcon>

velmaris_application::velmaris_application(int& argc, char** argv) : QApplication(argc, argv)
{
    setWindowIcon(QIcon(QStringLiteral(":/velmaris/velmaris.png")));
}

bool velmaris_application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
        show_failure(failure);
    }
    return false;
}

void show_failure(const std::exception& failure)
{
    prompts().error(QApplication::activeWindow(), QString::fromUtf8(failure.what()));
}
