// The document commands of the window: New, Open, Save, Save as and the
// document named on the command line.
#include "tax_rates.h"

#include "kvl_document.h"
#include "tax_rates_impl.h"
#include "window_test_support.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTextEdit>

#include <ostream>
#include <utility>

namespace {

const QString title = QStringLiteral("Velmaris - расчет по ст.ст. 198, 199 УК РФ");
const QString data_folder = QStringLiteral(VELMARIS_TEST_DATA);
const QString filter = QStringLiteral("Файлы Korvalen (*.kvl)");

// Everything of the window that a document command may change.
struct window_state {
    int category = 0;
    QString name;
    QStringList debts;       // "id|year|sum" per row, in table order
    QStringList liabilities;
    QStringList labels;      // the footers and the six thresholds
    QString caption;
    QString protocol;

    bool operator==(const window_state&) const = default;
};

void PrintTo(const window_state& state, std::ostream* out)
{
    *out << "{category " << state.category << ", name \"" << state.name.toStdString() << "\", debts ["
         << state.debts.join(", ").toStdString() << "], liabilities [" << state.liabilities.join(", ").toStdString()
         << "], labels [" << state.labels.join(", ").toStdString() << "], caption \"" << state.caption.toStdString()
         << "\", protocol \"" << state.protocol.toStdString() << "\"}";
}

QStringList rows_of(const QWidget& window, const char* view_name)
{
    const auto* model = child<QTableView>(window, view_name).model();
    QStringList rows;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            cells << model->index(row, column).data(Qt::EditRole).toString();
        rows << cells.join('|');
    }
    return rows;
}

window_state state_of(const QWidget& window)
{
    window_state state;
    state.category = child<QComboBox>(window, "cbxTypeSelect").currentIndex();
    state.name = child<QLineEdit>(window, "eTypeName").text();
    state.debts = rows_of(window, "cxtvDebts");
    state.liabilities = rows_of(window, "cxtvLiabilities");
    for (const char* label : {"cxtvDebtsFooter", "cxtvLiabilitiesFooter", "lLarge_size_sum", "lLarge_size_percent",
                              "lLarge_size_percent_sum", "lVery_large_size_sum", "lVery_large_size_percent",
                              "lVery_large_size_percent_sum"})
        state.labels << child<QLabel>(window, label).text();
    state.caption = window.windowTitle();
    state.protocol = child<QTextEdit>(window, "rProtocol").toPlainText();
    return state;
}

QByteArray bytes_of(const QString& path)
{
    QFile file(path);
    return !path.isEmpty() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TItemsYear items_of(std::initializer_list<std::pair<int, double>> pairs)
{
    TItemsYear items;
    for (const auto& [year, sum] : pairs)
        items.push_back(std::make_shared<year_item_class>(year, sum));
    return items;
}

class DocumentCommands : public ui_test {
protected:
    QTemporaryDir files_;
    QString folder_; // a folder with a name in Cyrillic and beyond the BMP

    void SetUp() override
    {
        ui_test::SetUp();
        ASSERT_TRUE(files_.isValid());
        folder_ = files_.filePath(QStringLiteral("Папка 😀"));
        ASSERT_TRUE(QDir().mkpath(folder_));
    }

    QString program_folder() const { return documents_folder_.filePath(QStringLiteral("Korvalen")); }

    // A copy, so that a wrong save could never touch the fixtures themselves.
    QString copy_of_fixture(const QString& name) const
    {
        const QString copy = QDir(folder_).filePath(name);
        QFile::remove(copy);
        EXPECT_TRUE(QFile::copy(QDir(data_folder).filePath(name), copy)) << name.toStdString();
        return copy;
    }

    // The document most tests start from: an organisation and both tables filled.
    QString previous_document() const
    {
        const QString path = QDir(folder_).filePath(QStringLiteral("Прежний.kvl"));
        write_kvl_document(path, face_company, QStringLiteral("Прежний"), items_of({{2010, 5}, {2008, 7}}),
                           items_of({{2009, 1.5}}), QStringLiteral(","));
        return path;
    }

    // Runs a document command; `file` answers its file dialog (empty: cancel).
    std::vector<shown_prompt> run(QWidget& window, const char* action, const QString& file = {})
    {
        prompts_->file_answers = {file};
        child<QAction>(window, action).trigger();
        prompts_->file_answers.clear(); // not every command shows a dialog
        return prompts_->take_shown();
    }
};

QStringList kinds_of(const std::vector<shown_prompt>& shown)
{
    QStringList kinds;
    for (const auto& prompt : shown)
        kinds << prompt.kind;
    return kinds;
}

} // namespace

TEST_F(DocumentCommands, OpenReadsTheWholeDocumentIntoTheWindow)
{
    Tfrm_tax_rates window(facts());
    const auto shown = run(window, "aLoadFromXML", copy_of_fixture(QStringLiteral("Indented.kvl")));

    ASSERT_EQ(kinds_of(shown), QStringList{"open"});
    // Until the dialog has been used it starts in the program's documents folder.
    EXPECT_EQ(shown[0].file_dialog.folder, program_folder());
    EXPECT_EQ(shown[0].file_dialog.filter, filter);
    EXPECT_EQ(shown[0].file_dialog.default_suffix, "kvl");

    const auto state = state_of(window);
    EXPECT_EQ(state.category, face_company);
    EXPECT_EQ(state.name, "ООО «Ромашка»");
    // Ids follow the pairs of the file, rows the years.
    EXPECT_EQ(state.debts, QStringList({"2|2008|2500,5", "1|2009|100000"}));
    EXPECT_EQ(state.liabilities, QStringList({"1|2008|3000000"}));
    EXPECT_EQ(state.labels[0], "Общая сумма: 102" + QLocale(QLocale::Russian).groupSeparator() + "500,50р.");
    EXPECT_EQ(state.labels[2], "2000000,00 руб") << "the thresholds of an organisation";
    EXPECT_EQ(state.caption, title + " - Indented");
}

// A category or name without text keeps what the window shows; a category
// other than 0 or 1 leaves the selector empty and the thresholds as they were.
TEST_F(DocumentCommands, OpenKeepsWhatTheFileDoesNotGive)
{
    const struct {
        const char* head; // the first two children of definition_object
        int category;
        QString name;
    } cases[] = {
        {"<type/><name/>", face_company, "Прежний"},
        {"<type>5</type><name>Новое имя</name>", -1, "Новое имя"},
        {"<type>x</type><name>Иное</name>", -1, "Иное"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.head);
        Tfrm_tax_rates window(facts());
        run(window, "aLoadFromXML", previous_document());
        const auto before = state_of(window);
        const QString file = QDir(folder_).filePath("Без имени.kvl");
        {
            QFile out(file);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(QByteArray("<xml><definition_object>") + c.head +
                      "<debts><count_debt_items>0</count_debt_items></debts><liabilities><count_liabilit_items>1"
                      "</count_liabilit_items><year>2011</year><sum_taxrate>3</sum_taxrate></liabilities>"
                      "</definition_object></xml>");
        }

        EXPECT_EQ(kinds_of(run(window, "aLoadFromXML", file)), QStringList{"open"});
        const auto state = state_of(window);
        EXPECT_EQ(state.category, c.category);
        EXPECT_EQ(state.name, c.name);
        EXPECT_EQ(state.labels.mid(2), before.labels.mid(2));
        EXPECT_TRUE(state.debts.isEmpty());
        EXPECT_EQ(state.liabilities, QStringList{"1|2011|3"});
        EXPECT_EQ(state.caption, title + " - Без имени");
    }
}

TEST_F(DocumentCommands, NewEmptiesTablesAndProtocolAndForgetsTheFile)
{
    Tfrm_tax_rates window(facts());
    run(window, "aLoadFromXML", previous_document());
    child<QTextEdit>(window, "rProtocol").setPlainText("Протокол прежнего документа");

    EXPECT_TRUE(run(window, "aCreateNewItems").empty());
    const auto state = state_of(window);
    EXPECT_EQ(state.category, face_company) << "category and name stay";
    EXPECT_EQ(state.name, "Прежний");
    EXPECT_TRUE(state.debts.isEmpty());
    EXPECT_TRUE(state.liabilities.isEmpty());
    EXPECT_EQ(state.labels[0], "Общая сумма: 0,00р.");
    EXPECT_EQ(state.protocol, "");
    EXPECT_EQ(state.caption, title + " - Новый документ");

    // No file any more: Save asks where, in the documents folder, named after the name box.
    const auto shown = run(window, "aSaveToXML");
    ASSERT_EQ(kinds_of(shown), QStringList{"save"});
    EXPECT_EQ(shown[0].file_dialog.folder, program_folder());
    EXPECT_EQ(shown[0].file_dialog.file_name, "Прежний.kvl");
    EXPECT_EQ(shown[0].file_dialog.filter, filter);
    EXPECT_EQ(shown[0].file_dialog.default_suffix, "kvl");
    EXPECT_EQ(window.windowTitle(), title + " - Новый документ");
}

// A failed or cancelled open leaves everything as it was, the file that
// Save writes to included.
TEST_F(DocumentCommands, AFailedOrCancelledOpenChangesNothing)
{
    const struct {
        const char* file; // a fixture; "" cancels the dialog
        bool exists;
    } cases[] = {
        {"", true},
        {"DoesNotExist.kvl", false},
        {"EmptyFile.kvl", true},
        {"NotWellFormed.kvl", true},
        {"MissingDefinitionObject.kvl", true},
        {"DefinitionObjectWithOneChild.kvl", true},
        {"MissingDebts.kvl", true},
        {"MissingLiabilities.kvl", true},
        {"EmptyDebts.kvl", true},
        {"EmptyCountElement.kvl", true},
        {"FewerPairsThanCount.kvl", true},
        {"YearWithoutSum.kvl", true},
        {"FewerLiabilityPairsThanCount.kvl", true},
        {"CountFarAboveThePairs.kvl", true},
    };
    Tfrm_tax_rates window(facts());
    const QString previous = previous_document();
    run(window, "aLoadFromXML", previous);

    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QString name = QString::fromLatin1(c.file);
        const QString file = name.isEmpty() ? QString()
                             : c.exists     ? copy_of_fixture(name)
                                            : QDir(folder_).filePath(name);
        const QByteArray content = bytes_of(file);
        const auto before = state_of(window);

        const auto shown = run(window, "aLoadFromXML", file);
        if (file.isEmpty()) {
            EXPECT_EQ(kinds_of(shown), QStringList{"open"});
        } else {
            ASSERT_EQ(kinds_of(shown), QStringList({"open", "error"}));
            EXPECT_TRUE(shown[1].text.contains("«" + QDir::toNativeSeparators(file) + "»"))
                << shown[1].text.toStdString();
            EXPECT_FALSE(shown[1].busy_cursor);
        }
        EXPECT_EQ(state_of(window), before);

        // Save still writes to the document that was open, without a dialog.
        child<QLineEdit>(window, "eTypeName").setText(name);
        EXPECT_TRUE(run(window, "aSaveToXML").empty());
        EXPECT_EQ(read_kvl_document(previous, QStringLiteral(",")).name, name);
        EXPECT_EQ(bytes_of(file), content);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// Sums go out with the regional decimal separator.
TEST_F(DocumentCommands, SaveWritesTheWindowToItsFileWithoutADialog)
{
    const struct {
        QLocale locale;
        const char* sum;
    } cases[] = {
        {QLocale(QLocale::Russian, QLocale::Russia), "1,5"},
        {QLocale(QLocale::English, QLocale::UnitedStates), "1.5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sum);
        auto regional = facts();
        regional.locale = c.locale;
        Tfrm_tax_rates window(regional);
        const QString file = previous_document();
        run(window, "aLoadFromXML", file);
        child<QComboBox>(window, "cbxTypeSelect").setCurrentIndex(face_member);
        child<QLineEdit>(window, "eTypeName").setText("Иванов 😀");
        const QString caption = window.windowTitle();

        EXPECT_TRUE(run(window, "aSaveToXML").empty());
        EXPECT_EQ(window.windowTitle(), caption);
        EXPECT_EQ(bytes_of(file), "<xml><definition_object><type>0</type><name>Иванов 😀</name>"
                                  "<debts><count_debt_items>2</count_debt_items><year>2008</year>"
                                  "<sum_taxrate>7</sum_taxrate><year>2010</year><sum_taxrate>5</sum_taxrate>"
                                  "</debts><liabilities><count_liabilit_items>1</count_liabilit_items>"
                                  "<year>2009</year><sum_taxrate>" +
                                      QByteArray(c.sum) + "</sum_taxrate></liabilities></definition_object></xml>");
    }
}

TEST_F(DocumentCommands, SaveAsStartsInTheDocumentsFolderAndOpenGoesOnFromItsChoice)
{
    Tfrm_tax_rates window(facts());
    child<QLineEdit>(window, "eTypeName").setText("Иванов 😀");
    const QString chosen = QDir(folder_).filePath("Отчет.2010.kvl");

    auto shown = run(window, "aSaveFileAs", chosen);
    ASSERT_EQ(kinds_of(shown), QStringList{"save"});
    EXPECT_EQ(shown[0].file_dialog.folder, program_folder());
    EXPECT_EQ(shown[0].file_dialog.file_name, "Иванов 😀.kvl");
    EXPECT_EQ(window.windowTitle(), title + " - Отчет.2010");
    EXPECT_EQ(read_kvl_document(chosen, QStringLiteral(",")).name, "Иванов 😀");

    shown = run(window, "aLoadFromXML");
    ASSERT_EQ(kinds_of(shown), QStringList{"open"});
    EXPECT_EQ(shown[0].file_dialog.folder, folder_);
    EXPECT_EQ(shown[0].file_dialog.file_name, "Отчет.2010.kvl");

    // Save as starts in the documents folder again; an empty name gives ".kvl".
    // Choosing an existing file replaces it without a question.
    child<QLineEdit>(window, "eTypeName").clear();
    shown = run(window, "aSaveFileAs", chosen);
    ASSERT_EQ(kinds_of(shown), QStringList{"save"});
    EXPECT_EQ(shown[0].file_dialog.folder, program_folder());
    EXPECT_EQ(shown[0].file_dialog.file_name, ".kvl");
    EXPECT_FALSE(read_kvl_document(chosen, QStringLiteral(",")).has_name);
}

TEST_F(DocumentCommands, AFailedSaveIsShownAndKeepsTheOldFile)
{
    Tfrm_tax_rates window(facts());
    const QString previous = previous_document();
    run(window, "aLoadFromXML", previous);
    const QByteArray before = bytes_of(previous);

    // A name that XML cannot carry: refused before the file is touched.
    child<QLineEdit>(window, "eTypeName").setText("Иванов\u0001");
    auto shown = run(window, "aSaveToXML");
    ASSERT_EQ(kinds_of(shown), QStringList{"error"});
    EXPECT_TRUE(shown[0].text.startsWith("Не удалось сохранить документ «" + QDir::toNativeSeparators(previous) + "»"))
        << shown[0].text.toStdString();
    EXPECT_EQ(bytes_of(previous), before);
    EXPECT_EQ(window.windowTitle(), title + " - Прежний");

    // A regular file where the folder should be: the new name holds all the
    // same, and the next Save tries it again.
    child<QLineEdit>(window, "eTypeName").setText("Иванов");
    const QString not_a_folder = QDir(folder_).filePath("файл");
    {
        QFile file(not_a_folder);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString below = not_a_folder + "/Новый.kvl";
    for (const char* action : {"aSaveFileAs", "aSaveToXML"}) {
        SCOPED_TRACE(action);
        shown = run(window, action, below);
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.back().kind, "error");
        EXPECT_TRUE(shown.back().text.startsWith("Не удалось сохранить документ «" + QDir::toNativeSeparators(below)))
            << shown.back().text.toStdString();
        EXPECT_EQ(window.windowTitle(), title + " - Новый");
    }
    EXPECT_EQ(bytes_of(previous), before);
}

// How the caption follows the document file.
TEST_F(DocumentCommands, CaptionFollowsTheFile)
{
    Tfrm_tax_rates window(facts());
    const QString report = QDir(folder_).filePath("Отчет.2010.kvl");
    write_kvl_document(report, face_member, QStringLiteral("Отчет"), {}, {}, QStringLiteral(","));
    const QString broken = copy_of_fixture(QStringLiteral("FewerPairsThanCount.kvl"));
    const QString total = QDir(folder_).filePath("Итог.kvl");
    const QString none;

    const struct {
        const char* event;
        const char* action;
        QString file;
        QStringList prompts;
        QString caption;
    } steps[] = {
        {"Open, cancelled", "aLoadFromXML", none, {"open"}, title + " "},
        {"Open, completed", "aLoadFromXML", report, {"open"}, title + " - Отчет.2010"},
        {"Open, failed", "aLoadFromXML", broken, {"open", "error"}, title + " - Отчет.2010"},
        {"Save with a file name", "aSaveToXML", none, {}, title + " - Отчет.2010"},
        {"Save as, cancelled", "aSaveFileAs", none, {"save"}, title + " - Отчет.2010"},
        {"Save as, confirmed", "aSaveFileAs", total, {"save"}, title + " - Итог"},
        {"New", "aCreateNewItems", none, {}, title + " - Новый документ"},
        {"Save after New", "aSaveToXML", none, {"save"}, title + " - Новый документ"},
    };
    EXPECT_EQ(window.windowTitle(), title + " ");
    for (const auto& step : steps) {
        EXPECT_EQ(kinds_of(run(window, step.action, step.file)), step.prompts) << step.event;
        EXPECT_EQ(window.windowTitle(), step.caption) << step.event;
    }
    EXPECT_TRUE(QFile::exists(total));
}

TEST_F(DocumentCommands, StartUpOpensTheCommandLineFile)
{
    const struct {
        const char* file;
        bool loads;
    } cases[] = {
        {"Indented.kvl", true},
        {"FewerLiabilityPairsThanCount.kvl", false},
        {"DoesNotExist.kvl", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QString name = QString::fromLatin1(c.file);
        const QString file = QFile::exists(QDir(data_folder).filePath(name)) ? copy_of_fixture(name)
                                                                                : QDir(folder_).filePath(name);
        Tfrm_tax_rates window(facts(), file);
        const auto shown = prompts_->take_shown();
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        const auto state = state_of(window);
        if (c.loads) {
            EXPECT_TRUE(shown.empty());
            EXPECT_EQ(state.caption, title + " - Indented");
            EXPECT_EQ(state.name, "ООО «Ромашка»");
            EXPECT_EQ(state.debts.size(), 2);
            continue;
        }
        ASSERT_EQ(kinds_of(shown), QStringList{"error"});
        EXPECT_TRUE(shown[0].text.contains("«" + QDir::toNativeSeparators(file) + "»"))
            << shown[0].text.toStdString();
        EXPECT_FALSE(shown[0].busy_cursor) << "the hourglass is gone before the error box";
        EXPECT_EQ(state.caption, title + " ");
        EXPECT_EQ(state.name, "");
        EXPECT_TRUE(state.debts.isEmpty());

        // The window works, and has no file to save to.
        prompts_->dialog_scripts.push_back(save_year_item("2005", "10"));
        child<QPushButton>(window, "bInsDebt").click();
        EXPECT_EQ(rows_of(window, "cxtvDebts"), QStringList{"1|2005|10"});
        prompts_->take_shown();
        EXPECT_EQ(kinds_of(run(window, "aSaveToXML")), QStringList{"save"});
    }
}
