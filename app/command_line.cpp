#include "command_line.h"

#include "analysis_run.h"
#include "kvl_document.h"
#include "number_format.h"
#include "protocol_report.h"

#include <QDir>

#include <array>
#include <exception>
#include <optional>
#include <vector>

namespace {

struct options {
    QStringList files;
    std::shared_ptr<limitation_faces_interface> periods; // from --periods, else null
    QString html;
    bool help = false;
};

// "ML,MVL,CL,CVL" as a limitation set of both categories.
std::shared_ptr<limitation_faces_interface> parse_periods(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return nullptr;
    std::array<std::int32_t, 4> values{};
    for (int k = 0; k < 4; ++k) {
        const auto value = parse_int32(parts[k].toStdString());
        if (!value)
            return nullptr;
        values[static_cast<std::size_t>(k)] = *value;
    }
    auto set = std::make_shared<limitation_faces_class>();
    set->add_definition(std::make_shared<limitation_defenition_class>(face_member, values[0], values[1]));
    set->add_definition(std::make_shared<limitation_defenition_class>(face_company, values[2], values[3]));
    return set;
}

// nullopt with `problem` set when the arguments make no sense.
std::optional<options> parse_arguments(const QStringList& arguments, QString& problem)
{
    options parsed;
    for (int k = 0; k < arguments.size(); ++k) {
        const QString& argument = arguments[k];
        const auto value_of = [&](const QString& name) -> std::optional<QString> {
            if (argument.startsWith(name + QLatin1Char('=')))
                return argument.mid(name.size() + 1);
            if (argument == name && k + 1 < arguments.size())
                return arguments[++k];
            return std::nullopt;
        };
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            parsed.help = true;
        } else if (argument.startsWith(QLatin1String("--periods"))) {
            const auto value = value_of(QStringLiteral("--periods"));
            if (!value || parsed.periods) {
                problem = QStringLiteral("--periods нужно указать один раз: четыре целых числа через запятую");
                return std::nullopt;
            }
            parsed.periods = parse_periods(*value);
            if (!parsed.periods) {
                problem = QStringLiteral("--periods ожидает четыре целых числа через запятую: %1").arg(*value);
                return std::nullopt;
            }
        } else if (argument.startsWith(QLatin1String("--html"))) {
            const auto value = value_of(QStringLiteral("--html"));
            if (!value || value->isEmpty() || !parsed.html.isEmpty()) {
                problem = QStringLiteral("--html нужно указать один раз с именем файла");
                return std::nullopt;
            }
            parsed.html = *value;
        } else if (argument.startsWith(QLatin1Char('-')) && argument != QLatin1String("-")) {
            problem = QStringLiteral("неизвестный параметр: %1").arg(argument);
            return std::nullopt;
        } else {
            parsed.files << argument;
        }
    }
    if (!parsed.help && parsed.files.isEmpty()) {
        problem = QStringLiteral("не указан ни один файл .kvl");
        return std::nullopt;
    }
    return parsed;
}

int worse(int current, int next)
{
    const auto rank = [](int status) {
        switch (status) {
        case status_usage:
            return 3;
        case status_unreadable:
            return 2;
        case status_refused:
            return 1;
        default:
            return 0;
        }
    };
    return rank(next) > rank(current) ? next : current;
}

} // namespace

QString command_line_usage()
{
    return QStringLiteral(
        "Использование: velmaris-cli ФАЙЛ.kvl [ФАЙЛ.kvl ...] [--periods ML,MVL,CL,CVL] [--html ОТЧЕТ.html]\n"
        "\n"
        "Проводит анализ документов Velmaris и выводит протокол каждого в UTF-8, строку за строкой.\n"
        "\n"
        "  --periods ML,MVL,CL,CVL  сроки давности в годах: физ. лицо (крупный, особо крупный размер),\n"
        "                           юр. лицо (крупный, особо крупный размер); без него берутся\n"
        "                           сохраненные в настройках программы\n"
        "  --html ОТЧЕТ.html        записать отчет с протоколами в HTML\n"
        "  --help                   показать эту справку\n"
        "\n"
        "Код завершения: 0 - успешно, 3 - анализ не проведен, 2 - файл не прочитан или отчет не записан,\n"
        "64 - неверные параметры; при нескольких файлах - худший из них.\n");
}

int run_command_line(const QStringList& arguments, QTextStream& out, QTextStream& err,
                     const command_line_environment& environment)
{
    QString problem;
    const auto parsed = parse_arguments(arguments, problem);
    if (!parsed) {
        err << "velmaris-cli: " << problem << "\n\n" << command_line_usage();
        return status_usage;
    }
    if (parsed->help) {
        out << command_line_usage();
        return status_ok;
    }

    int status = status_ok;
    auto limitations = parsed->periods;
    if (!limitations) {
        try {
            limitations = environment.stored_limitations();
        } catch (const std::exception& error) {
            // As in the window: the message, then no periods to work with.
            err << QString::fromUtf8(error.what()) << '\n';
        }
    }

    const bool several = parsed->files.size() > 1;
    const QString decimal_separator = QString::fromStdString(environment.assessment.decimal_separator);
    std::vector<protocol_report> reports;
    for (const QString& file : parsed->files) {
        kvl_document document;
        try {
            document = read_kvl_document(file, decimal_separator);
        } catch (const std::exception& error) {
            err << QString::fromUtf8(error.what()) << '\n';
            status = worse(status, status_unreadable);
            continue;
        }
        // A document without a category keeps the selector's initial one.
        const int category = document.has_category ? document.category : face_member;
        const auto outcome =
            run_analysis(limitations, category, document.debts, document.liabilities, environment.assessment);

        protocol_report report;
        report.source = QDir::toNativeSeparators(file);
        report.assessed_at = environment.now;
        report.category = category;
        report.name = document.name;
        report.liabilities = document.liabilities->get_items();
        report.debts = document.debts->get_items();
        report.periods = limitations && (category == face_member || category == face_company)
                             ? limitations->find_definition(static_cast<face_type>(category))
                             : nullptr;
        report.protocols = outcome.protocols;
        report.refusal = QString::fromStdString(outcome.refusal);
        reports.push_back(report);

        if (!outcome.refusal.empty()) {
            if (several)
                err << QDir::toNativeSeparators(file) << ": ";
            err << report.refusal << '\n';
            status = worse(status, status_refused);
            continue;
        }
        if (several)
            out << "== " << QDir::toNativeSeparators(file) << '\n';
        for (const auto& protocol : outcome.protocols)
            for (const auto& line : protocol->get_lines())
                out << QString::fromStdString(line) << '\n';
    }

    if (!parsed->html.isEmpty()) {
        try {
            write_protocol_report(parsed->html, reports, environment.locale);
        } catch (const std::exception& error) {
            err << QString::fromUtf8(error.what()) << '\n';
            status = worse(status, status_unreadable);
        }
    }
    out.flush();
    err.flush();
    return status;
}
