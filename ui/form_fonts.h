// The forms' font: Tahoma where it is installed, the system's sans font
// elsewhere. Asking for a family that is not installed makes every font
// lookup search for fallbacks, so Tahoma is only asked for where it exists.
#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QWidget>

inline void use_tahoma(QWidget& widget, int point_size)
{
    static const bool tahoma_installed = QFontDatabase::hasFamily(QStringLiteral("Tahoma"));
    QFont font = widget.font();
    if (tahoma_installed)
        font.setFamilies({QStringLiteral("Tahoma")});
    font.setPointSize(point_size);
    widget.setFont(font);
}
