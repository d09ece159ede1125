// Texts that more than one part of the window shows.
#pragma once

#include "program_title.h"

#include <QString>

inline const QString application_title = QString::fromUtf8(program_title);
inline const QString confirm_caption = QStringLiteral("Подтверждение");
inline const QString attention_caption = QStringLiteral("Внимание");
