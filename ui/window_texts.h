// Texts that more than one part of the window shows.
#pragma once

#include <QString>

inline const QString application_title = QStringLiteral("Velmaris - расчет по ст.ст. 198, 199 УК РФ");
inline const QString confirm_caption = QStringLiteral("Подтверждение");
inline const QString attention_caption = QStringLiteral("Внимание");
