// The forms' font: Tahoma where it is installed, another sans font elsewhere.
#pragma once

#include <QFont>
#include <QWidget>

inline void use_tahoma(QWidget& widget, int point_size)
{
    QFont font = widget.font();
    font.setFamilies({QStringLiteral("Tahoma")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(point_size);
    widget.setFont(font);
}
