// velmaris-cli: the analysis of .kvl documents from the command line.
#include "command_line.h"
#include "platform_registry.h"

#include <QCoreApplication>
#include <QDate>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    set_register_controller(make_platform_register_controller());

    command_line_environment environment;
    environment.stored_limitations = [] { return register_controller().load_limitation_faces(); };
    environment.locale = QLocale::system();
    environment.assessment.decimal_separator = environment.locale.decimalPoint().toStdString();
    environment.assessment.current_year = QDate::currentDate().year();
    environment.now = QDateTime::currentDateTime();

    QTextStream out(stdout);
    QTextStream err(stderr);
    return run_command_line(application.arguments().mid(1), out, err, environment);
}
