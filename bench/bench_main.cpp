// Benchmarks of Velmaris on generated data. Not a test: it prints figures.
//   velmaris-bench [--quick]    (--quick leaves out the largest sizes)
#include "analysis_run.h"
#include "bench_util.h"
#include "kvl_document.h"
#include "platform_registry.h"
#include "register_ctrlr.h"

#include "subject_datasource.h"
#include "system_facts.h"
#include "tax_rates.h"
#include "user_prompts.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTableView>
#include <QTextBlock>
#include <QTextEdit>
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
        const double took = best_seconds(7, [&] {
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
    return best_seconds(7, [&] {
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
        const double wrote = best_seconds(7, [&] {
            write_kvl_document(path, face_member, name, debts, liabilities, QStringLiteral(","));
        });
        const double read = best_seconds(7, [&] {
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

// Answers the open dialog with one file; any message means the run failed.
class bench_prompts final : public user_prompts {
public:
    QString file;
    void notice(QWidget*, const QString&, const QString& text) override { fail(text); }
    void error(QWidget*, const QString& text) override { fail(text); }
    bool confirm(QWidget*, const QString&) override { return true; }
    int exec_dialog(QDialog&) override { return 0; }
    void about(QWidget*, const QString&, const QString&) override {}
    QString open_file_name(QWidget*, const QString&, const file_dialog_setup&) override { return file; }
    QString save_file_name(QWidget*, const QString&, const file_dialog_setup&) override { return {}; }

private:
    [[noreturn]] static void fail(const QString& text)
    {
        std::fputs(("unexpected message: " + text.toStdString() + "\n").c_str(), stderr);
        std::abort();
    }
};

// Verdict lines painted, counted from the box itself.
int coloured_verdicts(const QTextEdit& box)
{
    int count = 0;
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next())
        if (block.text().startsWith(QStringLiteral("Сумма признается как:")))
            count += block.begin() != block.end() &&
                     block.begin().fragment().charFormat().background().color() != QColor(255, 251, 240);
    return count;
}

void bench_window(bool quick)
{
    std::puts("== window: open a document and press \"Проанализировать\" (30 liabilities, offscreen)");
    QTemporaryDir folder;
    auto* answers = new bench_prompts;
    set_prompts(std::unique_ptr<user_prompts>(answers));
    register_controller().save_member_limitation(2, 5);

    system_facts facts;
    facts.locale = QLocale(QLocale::Russian, QLocale::Russia);
    facts.current_year = 2026;
    facts.documents_folder = folder.path();
    double previous = 0;
    for (int n : {100, 1000, 10000}) {
        if (quick && n > 1000)
            break;
        answers->file = folder.filePath(QStringLiteral("window-%1.kvl").arg(n));
        // Every verdict line gets a colour other than the cream of the box.
        write_kvl_document(answers->file, face_member, QStringLiteral("Иванов"), generated_items(n, 1000000),
                           generated_items(30, 5000000), QStringLiteral(","));
        Tfrm_tax_rates window(facts);
        window.show();
        auto* box = window.findChild<QTextEdit*>(QStringLiteral("rProtocol"));
        auto* open = window.findChild<QAction*>(QStringLiteral("aLoadFromXML"));
        auto* analyse = window.findChild<QPushButton*>(QStringLiteral("bAnalysis"));
        const double took = best_seconds(3, [&] {
            open->trigger();
            analyse->click();
            QCoreApplication::processEvents();
        });
        if (coloured_verdicts(*box) != n - 1)
            std::abort();
        report_line("open + analyse + render, " + format_int(n) + " entries", took,
                    previous > 0 ? "(" + ratio_text(took, previous) + " the previous size)" : "");
        previous = took;
    }
    set_prompts(nullptr);
}

} // namespace

int main(int argc, char** argv)
{
    // Offscreen, with settings and documents of its own, never the user's.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    QApplication application(argc, argv);
    set_register_controller(make_file_register_controller(settings.filePath(QStringLiteral("registry.reg")),
                                                          "velmaris-bench"));
    const bool quick = application.arguments().contains(QStringLiteral("--quick"));
    bench_core(quick);
    bench_documents(quick);
    bench_window(quick);
    bench_startup(quick);
    set_register_controller(nullptr);
    return 0;
}
