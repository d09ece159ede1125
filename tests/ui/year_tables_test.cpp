// Adding, editing and deleting rows of both year tables of the main window.
#include "tax_rates.h"

#include "subject_datasource.h"
#include "window_test_support.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QWindow>

#include <ostream>

namespace {

struct table_widgets {
    const char* view;
    const char* insert;
    const char* update;
    const char* remove;
    const char* footer;
    const char* other_view;
};

const table_widgets liabilities{"cxtvLiabilities", "bInsLiab", "bUpdLiab", "bDelLiab", "cxtvLiabilitiesFooter",
                                "cxtvDebts"};
const table_widgets debts{"cxtvDebts", "bInsDebt", "bUpdDebt", "bDelDebt", "cxtvDebtsFooter", "cxtvLiabilities"};

void PrintTo(const table_widgets& table, std::ostream* out)
{
    *out << table.view;
}

class YearTables : public ui_test, public ::testing::WithParamInterface<table_widgets> {
protected:
    std::unique_ptr<Tfrm_tax_rates> window;
    QTableView* view = nullptr;
    subject_datasource_class* source = nullptr;

    void SetUp() override
    {
        ui_test::SetUp();
        window = std::make_unique<Tfrm_tax_rates>(facts());
        window->show();
        view = &child<QTableView>(*window, GetParam().view);
        source = qobject_cast<subject_datasource_class*>(view->model());
        ASSERT_NE(source, nullptr);
    }

    void TearDown() override
    {
        window.reset();
        ui_test::TearDown();
    }

    void click(const char* button) { child<QPushButton>(*window, button).click(); }

    void add(const QString& year, const QString& sum)
    {
        prompts_->dialog_scripts.push_back(save_year_item(year, sum));
        click(GetParam().insert);
    }

    QStringList column(int column) const
    {
        QStringList texts;
        for (int row = 0; row < source->rowCount(); ++row)
            texts << source->data(source->index(row, column)).toString();
        return texts;
    }
    QStringList years() const { return column(subject_datasource_class::column_year); }
    QStringList ids() const { return column(subject_datasource_class::column_id); }
    QString footer() const { return child<QLabel>(*window, GetParam().footer).text(); }

    void select(int row) { view->selectRow(row); }

    // Through the window system, so that the view tells a double click from two clicks.
    void double_click(int row, int column)
    {
        const QPoint at = view->viewport()->mapTo(window.get(), view->visualRect(source->index(row, column)).center());
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, at);
    }

    // Types into the cell as a user does and presses Enter.
    void edit_cell(int row, int column, const QString& text)
    {
        const QModelIndex index = source->index(row, column);
        view->setCurrentIndex(index);
        view->edit(index);
        auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(index));
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The editor hands its text over on the next turn of the event loop.
        QCoreApplication::processEvents();
    }
};

} // namespace

TEST_P(YearTables, AddsRowsInYearOrderWithTheirIds)
{
    add("2005", "100");
    add("2003", "20,5");
    add("2004", "0.25");
    EXPECT_EQ(years(), QStringList({"2003", "2004", "2005"}));
    EXPECT_EQ(ids(), QStringList({"2", "3", "1"}));
    EXPECT_EQ(footer(), "Общая сумма: 120,75р.");

    add("2004", "1000");
    EXPECT_EQ(years(), QStringList({"2003", "2004", "2004", "2005"}));
    EXPECT_EQ(footer(), "Общая сумма: 1" + QLocale(QLocale::Russian).groupSeparator() + "120,75р.");

    const auto shown = prompts_->take_shown();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_TRUE(shown[0].caption.endsWith(" - добавить даные"));

    // The other table is untouched.
    EXPECT_EQ(child<QTableView>(*window, GetParam().other_view).model()->rowCount(), 0);
}

TEST_P(YearTables, ButtonsShowTheirHints)
{
    const struct {
        const char* button;
        const char* text;
        const char* hint;
    } buttons[] = {{GetParam().insert, "+", "Добавить"},
                   {GetParam().update, "/", "Редактировать"},
                   {GetParam().remove, "X", "Удалить"}};
    for (const auto& b : buttons) {
        EXPECT_EQ(child<QPushButton>(*window, b.button).text(), b.text);
        EXPECT_EQ(child<QPushButton>(*window, b.button).toolTip(), b.hint);
    }
}

TEST_P(YearTables, CancelledAddLeavesTheTable)
{
    prompts_->dialog_scripts.push_back(close_year_item());
    click(GetParam().insert);
    EXPECT_EQ(source->rowCount(), 0);
    EXPECT_EQ(source->get_item_count(), 0);
}

TEST_P(YearTables, EditsTheSelectedRowThroughTheDialogWithoutResorting)
{
    add("2003", "12,5");
    add("2005", "1");
    select(1);

    QString shown_year, shown_sum;
    prompts_->dialog_scripts.push_back([&](QDialog& dialog) {
        shown_year = child<QLineEdit>(dialog, "eTaxRateYear").text();
        shown_sum = child<QLineEdit>(dialog, "eTaxRateSum").text();
        return save_year_item("2001", "7")(dialog);
    });
    click(GetParam().update);
    EXPECT_EQ(shown_year, "2005");
    EXPECT_EQ(shown_sum, "1,00");
    EXPECT_EQ(years(), QStringList({"2003", "2001"})) << "an edited row keeps its place";
    EXPECT_EQ(footer(), "Общая сумма: 19,50р.");

    // A double click edits too; Close changes nothing.
    prompts_->dialog_scripts.push_back(save_year_item("1999", "0"));
    double_click(0, subject_datasource_class::column_year);
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    EXPECT_EQ(view->indexWidget(source->index(0, subject_datasource_class::column_year)), nullptr)
        << "a double click opens the dialog, not the cell editor";
    EXPECT_EQ(years(), QStringList({"1999", "2001"}));
    EXPECT_EQ(footer(), "Общая сумма: 7,00р.");
    select(1);
    prompts_->dialog_scripts.push_back(close_year_item());
    click(GetParam().update);
    EXPECT_EQ(years(), QStringList({"1999", "2001"}));

    // The next row added puts every row in year order again.
    add("2000", "0");
    EXPECT_EQ(years(), QStringList({"1999", "2000", "2001"}));
}

TEST_P(YearTables, EditAndDeleteDoNothingWithoutASelectedRow)
{
    click(GetParam().update); // empty table: no dialog
    click(GetParam().remove); // no question
    add("2003", "1");
    view->clearSelection();
    click(GetParam().update);
    click(GetParam().remove);
    EXPECT_EQ(years(), QStringList({"2003"}));
}

TEST_P(YearTables, DeletesTheSelectedRowAfterYes)
{
    add("2003", "1");
    add("2004", "2");
    add("2005", "4");
    select(1);
    prompts_->take_shown();

    prompts_->confirm_answers.push_back(false);
    click(GetParam().remove);
    EXPECT_EQ(years(), QStringList({"2003", "2004", "2005"}));

    prompts_->confirm_answers.push_back(true);
    click(GetParam().remove);
    EXPECT_EQ(years(), QStringList({"2003", "2005"}));
    EXPECT_EQ(footer(), "Общая сумма: 5,00р.");
    EXPECT_EQ(view->currentIndex().row(), 0) << "the focus moves to the first row";

    const auto shown = prompts_->take_shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].kind, "confirm");
    EXPECT_EQ(shown[1].text, "Вы действительно хотите удалить?");
}

TEST_P(YearTables, PopupDeleteActsOnTheGridItWasOpenedOn)
{
    auto& other = child<QTableView>(*window, GetParam().other_view);
    add("2003", "1");
    add("2004", "2");
    // A row in the other table, selected too.
    prompts_->dialog_scripts.push_back(save_year_item("2010", "5"));
    child<QPushButton>(*window, GetParam().other_view == std::string("cxtvDebts") ? "bInsDebt" : "bInsLiab").click();
    other.selectRow(0);
    select(1);

    emit view->customContextMenuRequested(view->visualRect(source->index(1, 0)).center());
    auto& menu = child<QMenu>(*window, "ppMenu");
    EXPECT_TRUE(menu.isVisible());
    prompts_->confirm_answers.push_back(true);
    child<QAction>(*window, "aDelFaceItem").trigger();
    menu.hide();

    EXPECT_EQ(years(), QStringList({"2003"}));
    EXPECT_EQ(other.model()->rowCount(), 1);
}

TEST_P(YearTables, CellEditsConvertTheTextAndNeverRejectIt)
{
    add("2003", "1");
    add("2004", "2");
    const struct {
        int column;
        QString typed;
        QString shown;
    } cases[] = {
        {subject_datasource_class::column_year, "abcd", "0"},
        {subject_datasource_class::column_year, "20071", "2007"}, // four characters at most
        {subject_datasource_class::column_sum, "12.5", "12,50"},  // either separator
        {subject_datasource_class::column_sum, "7,25", "7,25"},
        {subject_datasource_class::column_sum, "1,2,3", "0,00"},
        {subject_datasource_class::column_sum, "12a", "0,00"},
        {subject_datasource_class::column_sum, "-3", "-3,00"},
    };
    for (const auto& c : cases) {
        edit_cell(0, c.column, c.typed);
        EXPECT_EQ(source->data(source->index(0, c.column)).toString(), c.shown) << c.typed.toStdString();
    }
    EXPECT_EQ(footer(), "Общая сумма: -1,00р.");
    EXPECT_EQ(source->get_snapshot()[0]->get_year(), 2007);

    // A smaller year stays in its row until the next row is added.
    edit_cell(1, subject_datasource_class::column_year, "1990");
    EXPECT_EQ(years(), QStringList({"2007", "1990"}));
    add("2020", "0");
    EXPECT_EQ(years(), QStringList({"1990", "2007", "2020"}));
}

TEST_P(YearTables, ACellLeftAsItWasKeepsTheFullSum)
{
    add("2003", "1,005");
    const QModelIndex index = source->index(0, subject_datasource_class::column_sum);
    view->setCurrentIndex(index);
    view->edit(index);
    auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(index));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "1,005");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(source->get_snapshot()[0]->get_sum(), 1.005);
}

INSTANTIATE_TEST_SUITE_P(BothTables, YearTables, ::testing::Values(liabilities, debts),
                         [](const auto& info) { return std::string(info.param.view); });
