#include "system_facts.h"

#include <QDate>
#include <QStandardPaths>

system_facts system_facts::from_system()
{
    system_facts facts;
    facts.locale = QLocale::system();
    facts.current_year = QDate::currentDate().year();
    facts.documents_folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return facts;
}
