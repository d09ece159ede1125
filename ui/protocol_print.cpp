#include "protocol_print.h"

#include <QDir>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QTextDocument>

#include <stdexcept>

void write_protocol_pdf(const QString& path, const QString& html)
{
    QSaveFile file(path);
    const auto fail = [&] {
        throw std::runtime_error(QStringLiteral("Не удалось записать протокол в файл %1: %2")
                                     .arg(QDir::toNativeSeparators(path), file.errorString())
                                     .toStdString());
    };
    if (!file.open(QIODevice::WriteOnly))
        fail();
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setTitle(QStringLiteral("Velmaris - протокол"));
        QTextDocument document;
        document.setHtml(html);
        document.print(&writer);
    }
    if (file.error() != QFileDevice::NoError || !file.commit())
        fail();
}

void print_protocol(QPrinter& printer, const QString& html)
{
    QTextDocument document;
    document.setHtml(html);
    document.print(&printer);
}
