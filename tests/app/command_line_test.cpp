#include "command_line.h"
#include "kvl_document.h"
#include "year_data.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <stdexcept>

namespace {

struct run_result {
    int status;
    QString out;
    QString err;
};

class CommandLine : public ::testing::Test {
protected:
    QTemporaryDir folder;
    std::shared_ptr<limitation_faces_interface> stored = periods(0, 0, 0, 0);

    QString document(const QString& file, int category, const year_sums& debts, const year_sums& liabilities)
    {
        const QString path = folder.filePath(file);
        write_kvl_document(path, category, QStringLiteral("Иванов"), items_of(debts), items_of(liabilities),
                           QStringLiteral(","));
        return path;
    }

    QString example(const QString& file = QStringLiteral("пример.kvl"))
    {
        return document(file, 0, {{2007, 100000}, {2008, 100000}, {2009, 100000}},
                        {{2007, 1000000}, {2008, 1000000}, {2009, 1000000}});
    }

    run_result run(const QStringList& arguments)
    {
        command_line_environment environment;
        environment.stored_limitations = [this] { return stored; };
        environment.assessment = {",", 2026};
        environment.locale = QLocale(QLocale::Russian, QLocale::Russia);
        environment.now = QDateTime(QDate(2026, 12, 11), QTime(12, 0));
        run_result result;
        QTextStream out(&result.out);
        QTextStream err(&result.err);
        result.status = run_command_line(arguments, out, err, environment);
        return result;
    }
};

const QString example_protocols = QStringLiteral(
    "Расчет финансовых лет: 2007,2008,2009\n"
    "Сумма налогов (сборов), которая должна быть уплачена: 3000000,00 руб\n"
    "Уплаченная сумма налогов (сборов): 300000,00 руб\n"
    "Сумма неуплаченных налогов (сборов): 2700000,00\n"
    "Доля неуплаченных налогов (сборов): 90,00%\n"
    "Сумма признается как: Крупный размер\n"
    "Срок давности по данному преступлению истек\n"
    "\n"
    "Расчет финансовых лет: 2008,2009\n"
    "Сумма налогов (сборов), которая должна быть уплачена: 2000000,00 руб\n"
    "Уплаченная сумма налогов (сборов): 200000,00 руб\n"
    "Сумма неуплаченных налогов (сборов): 1800000,00\n"
    "Доля неуплаченных налогов (сборов): 90,00%\n"
    "Сумма признается как: Крупный размер\n"
    "Срок давности по данному преступлению истек\n"
    "\n");

} // namespace

TEST_F(CommandLine, PrintsTheProtocolsOfTheStoredPeriods)
{
    stored = periods(2, 5, 0, 0);
    const auto result = run({example()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, example_protocols);
    EXPECT_EQ(result.err, QString());
}

TEST_F(CommandLine, PeriodsOptionOverridesTheStore)
{
    const auto without = run({example()});
    EXPECT_EQ(without.status, 3);
    EXPECT_EQ(without.err, QStringLiteral("Не задан срок давности\n"));

    const auto with = run({example(), QStringLiteral("--periods"), QStringLiteral("2,5,0,0")});
    EXPECT_EQ(with.status, 0);
    EXPECT_EQ(with.out, example_protocols);

    stored = nullptr; // an unreadable store must not matter once periods are given
    EXPECT_EQ(run({QStringLiteral("--periods=2,5,0,0"), example()}).status, 0);
}

TEST_F(CommandLine, RefusalsGoToStandardError)
{
    stored = periods(2, 5, 0, 3);
    const struct {
        QString file;
        const char* refusal;
    } cases[] = {
        {document(QStringLiteral("no-category.kvl"), -1, {{2008, 1}}, {}), "Не выбран объект из списка"},
        {document(QStringLiteral("company.kvl"), 1, {{2008, 1}}, {}), "Не задан срок давности"},
        {document(QStringLiteral("empty.kvl"), 0, {}, {{2008, 1}}), "Таблица \"Неуплаченные налоги\" не заполнена"},
    };
    for (const auto& c : cases) {
        const auto result = run({c.file});
        EXPECT_EQ(result.status, 3) << c.refusal;
        EXPECT_EQ(result.out, QString()) << c.refusal;
        EXPECT_EQ(result.err, QString::fromUtf8(c.refusal) + QLatin1Char('\n'));
    }
}

TEST_F(CommandLine, ABrokenFileAmongGoodOnesIsReportedAndSkipped)
{
    stored = periods(2, 5, 0, 0);
    const QString broken = folder.filePath(QStringLiteral("broken.kvl"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<xml><definition_object><type>0</type>");
    file.close();
    const QString first = example(QStringLiteral("a.kvl"));
    const QString second = example(QStringLiteral("b.kvl"));
    const QString refused = document(QStringLiteral("c.kvl"), 0, {}, {});

    const auto result = run({first, broken, refused, second});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, QStringLiteral("== ") + QDir::toNativeSeparators(first) + QLatin1Char('\n') +
                              example_protocols + QStringLiteral("== ") + QDir::toNativeSeparators(second) +
                              QLatin1Char('\n') + example_protocols);
    EXPECT_TRUE(result.err.contains(QStringLiteral("broken.kvl"))) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(QStringLiteral("c.kvl: Таблица"))) << result.err.toStdString();
}

TEST_F(CommandLine, BadArgumentsShowTheUsage)
{
    const QString file = example();
    const QStringList cases[] = {
        {},
        {QStringLiteral("--periods"), QStringLiteral("1,2,3"), file},
        {file, QStringLiteral("--periods"), QStringLiteral("a,b,c,d")},
        {file, QStringLiteral("--periods")},
        {file, QStringLiteral("--periods=1,2,3,4"), QStringLiteral("--periods=1,2,3,4")},
        {file, QStringLiteral("--html")},
        {file, QStringLiteral("--verbose")},
    };
    for (const auto& arguments : cases) {
        const auto result = run(arguments);
        EXPECT_EQ(result.status, 64) << arguments.join(' ').toStdString();
        EXPECT_EQ(result.out, QString());
        EXPECT_TRUE(result.err.contains(QStringLiteral("Использование: velmaris-cli")));
    }
    const auto help = run({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Использование: velmaris-cli")));
}

TEST_F(CommandLine, WritesTheHtmlReport)
{
    const QString report = folder.filePath(QStringLiteral("отчет.html"));
    const auto result =
        run({example(), QStringLiteral("--periods"), QStringLiteral("2,5,0,0"), QStringLiteral("--html"), report});
    EXPECT_EQ(result.status, 0);
    QFile file(report);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    EXPECT_EQ(html.count(QStringLiteral("bgcolor=\"#ff00ff\"")), 2);
    EXPECT_TRUE(html.contains(QStringLiteral("Иванов")));

    const auto failed = run({example(), QStringLiteral("--periods=2,5,0,0"),
                             QStringLiteral("--html=") + report + QStringLiteral("/inside.html")});
    EXPECT_EQ(failed.status, 2);
    EXPECT_EQ(failed.out, example_protocols);
}
