// The program: the settings store, then the main window until it is closed.
//   velmaris [file.kvl] [--quit-when-idle]
// --quit-when-idle closes the window as soon as it is shown and nothing is
// left to do (start-up checks and timing).
#include "platform_registry.h"
#include "system_facts.h"
#include "tax_rates.h"
#include "velmaris_application.h"

#include <QLayout>
#include <QScreen>
#include <QTimer>

int main(int argc, char* argv[])
{
    velmaris_application app(argc, argv);

    QStringList arguments = app.arguments().mid(1);
    const bool quit_when_idle = arguments.removeAll(QStringLiteral("--quit-when-idle")) > 0;

    run_command([] { set_register_controller(make_platform_register_controller()); });

    Tfrm_tax_rates window(system_facts::from_system(), arguments.value(0));
    // Centred at the size its content needs, which the layout settles first.
    window.layout()->activate();
    if (const QScreen* screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    window.show();
    if (quit_when_idle)
        QTimer::singleShot(0, &window, &QWidget::close);
    const int result = app.exec();
    set_register_controller(nullptr);
    return result;
}
