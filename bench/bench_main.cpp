// Benchmarks of Velmaris on generated data. Not a test: it prints figures.
//   velmaris-bench [--quick]
#include "analysis_run.h"
#include "bench_util.h"
#include "kvl_document.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace {

void bench_core(bool quick)
{
    std::puts("== analysis core: all windows of the second table, 30 liabilities");
    auto limitations = std::make_shared<limitation_faces_class>();
    limitations->add_definition(std::make_shared<limitation_defenition_class>(face_member, 2, 5));
    const auto liabilities = generated_list(30, 1000000);
    double previous = 0;
    for (int n : {1000, 10000, 100000}) {
        if (quick && n > 10000)
            break;
        const auto debts = generated_list(n, 100000);
        const double took = best_seconds(3, [&] {
            const auto outcome = run_analysis(limitations, face_member, debts, liabilities, {",", 2026});
            if (outcome.protocols.size() != static_cast<std::size_t>(n - 1))
                std::abort();
        });
        report_line("analysis, " + format_int(n) + " entries", took,
                    previous > 0 ? "(" + ratio_text(took, previous) + " the previous size)" : "");
        previous = took;
    }
}

double xmllint_seconds(const QString& path)
{
    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (xmllint.isEmpty())
        return 0;
    return best_seconds(3, [&] {
        QProcess process;
        process.start(xmllint, {QStringLiteral("--noout"), path});
        process.waitForFinished(-1);
    });
}

void bench_documents(bool quick)
{
    std::puts("== .kvl documents: write and read, pairs split over both tables");
    QTemporaryDir folder;
    double previous_read = 0;
    double previous_write = 0;
    for (int pairs : {1000, 10000, 100000}) {
        if (quick && pairs > 10000)
            break;
        const auto debts = generated_items(pairs / 2, 100000.25);
        const auto liabilities = generated_items(pairs - pairs / 2, 1000000.5);
        const QString path = folder.filePath(QStringLiteral("bench-%1.kvl").arg(pairs));
        const QString name = QStringLiteral("Иванов Иван Иванович");
        const double wrote = best_seconds(3, [&] {
            write_kvl_document(path, face_member, name, debts, liabilities, QStringLiteral(","));
        });
        const double read = best_seconds(3, [&] {
            const auto document = read_kvl_document(path, QStringLiteral(","));
            if (document.debts->get_count() + document.liabilities->get_count() != pairs)
                std::abort();
        });
        const std::string size = format_int(pairs) + " pairs";
        report_line("write, " + size, wrote,
                    previous_write > 0 ? "(" + ratio_text(wrote, previous_write) + " the previous size)" : "");
        report_line("read, " + size, read,
                    previous_read > 0 ? "(" + ratio_text(read, previous_read) + " the previous size)" : "");
        const double lint = xmllint_seconds(path);
        if (lint > 0)
            report_line("xmllint --noout, " + size, lint, "(read is " + ratio_text(read, lint) + " xmllint)");
        previous_read = read;
        previous_write = wrote;
    }
}

// Mean wall time of starting `program` with `arguments` and waiting for its
// end, alternating nothing else: the caller interleaves the programs.
double process_seconds(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment)
{
    return best_seconds(1, [&] {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        if (!process.waitForFinished(60000) || process.exitCode() != 0)
            std::abort();
    });
}

void bench_startup(bool quick)
{
    std::puts("== start-up: process start to the main window shown and idle (offscreen)");
    const QString folder = QCoreApplication::applicationDirPath();
    const QString velmaris = folder + QStringLiteral("/../ui/velmaris");
    const QString bare = folder + QStringLiteral("/bare-window");
    QTemporaryDir home;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral(".local/share")));

    const int runs = quick ? 5 : 20;
    std::vector<double> program_times;
    std::vector<double> bare_times;
    process_seconds(velmaris, {QStringLiteral("--quit-when-idle")}, environment); // first start creates folders
    for (int k = 0; k < runs; ++k) {
        program_times.push_back(process_seconds(velmaris, {QStringLiteral("--quit-when-idle")}, environment));
        bare_times.push_back(process_seconds(bare, {}, environment));
    }
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    const double program = median(program_times);
    const double reference = median(bare_times);
    report_line("bare Qt window, median of " + format_int(runs), reference);
    report_line("velmaris --quit-when-idle, median of " + format_int(runs), program,
                "(" + ratio_text(program, reference) + " the bare window)");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const bool quick = application.arguments().contains(QStringLiteral("--quick"));
    bench_core(quick);
    bench_documents(quick);
    bench_startup(quick);
    return 0;
}
