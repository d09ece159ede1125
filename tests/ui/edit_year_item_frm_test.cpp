#include "edit_year_item_frm.h"

#include "tax_rates_impl.h"
#include "window_test_support.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString title = QStringLiteral("Velmaris - расчет по ст.ст. 198, 199 УК РФ");

struct dialog_under_test {
    Tfrm_edit_year_item dialog;
    QLineEdit& year;
    QLineEdit& sum;

    explicit dialog_under_test(std::shared_ptr<year_item_interface> item = nullptr)
        : dialog(nullptr, QStringLiteral(","), std::move(item)), year(child<QLineEdit>(dialog, "eTaxRateYear")),
          sum(child<QLineEdit>(dialog, "eTaxRateSum"))
    {
        dialog.show();
    }

    void type(QLineEdit& edit, const QString& text)
    {
        edit.clear();
        QTest::keyClicks(&edit, text);
    }

    void save() { child<QPushButton>(dialog, "bSave").click(); }
};

} // namespace

TEST(EditYearItemDialog, AddModeMakesANewItemFromTheInitialTexts)
{
    dialog_under_test add;
    EXPECT_EQ(add.dialog.windowTitle(), title + " - добавить даные");
    EXPECT_EQ(add.year.text(), "2000");
    EXPECT_EQ(add.sum.text(), "0");
    EXPECT_EQ(add.dialog.GetItem(), nullptr);

    add.save();
    EXPECT_EQ(add.dialog.result(), QDialog::Accepted);
    const auto item = add.dialog.GetItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->get_year(), 2000);
    EXPECT_EQ(item->get_sum(), 0);
    EXPECT_EQ(item->get_id(), 0);
}

TEST(EditYearItemDialog, UpdateModeShowsTheItemAndChangesItOnlyOnSave)
{
    const auto item = std::make_shared<year_item_class>(2003, 12.5);
    {
        dialog_under_test update(item);
        EXPECT_EQ(update.dialog.windowTitle(), title + " - обновить даные");
        EXPECT_EQ(update.year.text(), "2003");
        EXPECT_EQ(update.sum.text(), "12,50");
        update.type(update.year, "2010");
        update.type(update.sum, "99");
        QTest::keyClick(&update.dialog, Qt::Key_Escape);
        EXPECT_EQ(update.dialog.result(), QDialog::Rejected);
    }
    EXPECT_EQ(item->get_year(), 2003);
    EXPECT_EQ(item->get_sum(), 12.5);

    dialog_under_test update(item);
    update.type(update.year, "2010");
    update.type(update.sum, "99,75");
    QTest::keyClick(&update.sum, Qt::Key_Return);
    EXPECT_EQ(update.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(update.dialog.GetItem(), item);
    EXPECT_EQ(item->get_year(), 2010);
    EXPECT_EQ(item->get_sum(), 99.75);
}

TEST(EditYearItemDialog, SavingUntouchedKeepsTheShownTwoDecimals)
{
    const auto item = std::make_shared<year_item_class>(2003, 7.125);
    dialog_under_test update(item);
    EXPECT_EQ(update.sum.text(), "7,12");
    update.save();
    EXPECT_EQ(item->get_sum(), 7.12);
}

TEST(EditYearItemDialog, ConvertsTypedTextAndGivesMinusOneForTheRest)
{
    const struct {
        QString year;
        QString sum;
        int expected_year;
        double expected_sum;
    } cases[] = {
        {"2005", "1500,5", 2005, 1500.5},
        {"2005", "1500.5", 2005, 1500.5}, // the separator the regional settings do not use
        {"", "", 65535, -1},
        {"0", "1,5.2", 0, -1},
        {"2005", "1,,5", 2005, -1},
        {"2005", ",", 2005, -1},
        {"2005", ",5", 2005, 0.5},
    };
    for (const auto& c : cases) {
        dialog_under_test add;
        add.type(add.year, c.year);
        add.type(add.sum, c.sum);
        add.save();
        const auto item = add.dialog.GetItem();
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->get_year(), c.expected_year) << c.year.toStdString();
        EXPECT_EQ(item->get_sum(), c.expected_sum) << c.sum.toStdString();
    }
}

TEST(EditYearItemDialog, KeepsOnlyDigitsAndSeparatorsTyped)
{
    dialog_under_test add;
    add.type(add.year, "2a0-0 59");
    EXPECT_EQ(add.year.text(), "2005") << "letters, signs and a fifth digit do not appear";
    add.type(add.sum, "1 2a3,4.5e-");
    EXPECT_EQ(add.sum.text(), "123,4.5");
    QTest::keyClick(&add.sum, Qt::Key_Backspace);
    EXPECT_EQ(add.sum.text(), "123,4.");
}
