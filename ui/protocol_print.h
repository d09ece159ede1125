// The protocol report on paper or as a PDF file.
#pragma once

#include <QString>

class QPrinter;

// Writes the page as PDF atomically; throws std::runtime_error naming the file.
void write_protocol_pdf(const QString& path, const QString& html);

void print_protocol(QPrinter& printer, const QString& html);
