// The program's title: the window caption, the registered file type's
// description and the heading of reports all use it.
#pragma once

inline constexpr const char* program_title = "Velmaris - расчет по ст.ст. 198, 199 УК РФ";
