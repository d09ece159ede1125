#include "subject_datasource.h"

#include "tax_rates_impl.h"
#include "window_test_support.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

const QLocale russian(QLocale::Russian, QLocale::Russia);

std::shared_ptr<year_item_interface> item(std::uint16_t year, double sum)
{
    return std::make_shared<year_item_class>(year, sum);
}

QStringList column(const subject_datasource_class& source, int column)
{
    QStringList texts;
    for (int row = 0; row < source.rowCount(); ++row)
        texts << source.data(source.index(row, column)).toString();
    return texts;
}

} // namespace

TEST(FooterTotal, GroupsDigitsWithTheLocalesSeparators)
{
    const QString nbsp = russian.groupSeparator();
    const struct {
        double total;
        QString expected;
    } cases[] = {
        {0, "Общая сумма: 0,00р."},
        {12.5, "Общая сумма: 12,50р."},
        {999.999, "Общая сумма: 1" + nbsp + "000,00р."},
        {1234567.891, "Общая сумма: 1" + nbsp + "234" + nbsp + "567,89р."},
        {-1234.5, "Общая сумма: -1" + nbsp + "234,50р."},
        {-0.001, "Общая сумма: 0,00р."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(footer_total_text(c.total, russian), c.expected) << c.total;
    EXPECT_EQ(footer_total_text(-1234.5, QLocale::c()), "Общая сумма: -1,234.50р.");
}

TEST(SubjectDatasource, ShowsTheListInYearOrderWithIdsAndTotal)
{
    subject_datasource_class source(russian);
    QAbstractItemModelTester tester(&source, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy footer(&source, &subject_datasource_class::footer_changed);

    for (auto [year, sum] : {std::pair{2005, 1.5}, {2003, 2.25}, {2004, 10.0}})
        source.append_item(item(static_cast<std::uint16_t>(year), sum));
    EXPECT_EQ(source.rowCount(), 0) << "the grid learns of new rows only when notified";
    source.notify_data_changed();

    EXPECT_EQ(column(source, subject_datasource_class::column_year), QStringList({"2003", "2004", "2005"}));
    EXPECT_EQ(column(source, subject_datasource_class::column_id), QStringList({"2", "3", "1"}));
    EXPECT_EQ(column(source, subject_datasource_class::column_sum), QStringList({"2,25", "10,00", "1,50"}));
    EXPECT_EQ(source.get_item_count(), 3);
    EXPECT_EQ(source.footer_text(), "Общая сумма: 13,75р.");
    ASSERT_FALSE(footer.isEmpty());
    EXPECT_EQ(footer.last().at(0).toString(), "Общая сумма: 13,75р.");

    // An item changed in place: its row and the total follow at once.
    const auto changed = source.get_year_list()->find_item(1);
    changed->set_sum(-20);
    source.replace_item(changed);
    EXPECT_EQ(source.data(source.index(2, subject_datasource_class::column_sum)).toString(), "-20,00");
    EXPECT_EQ(source.footer_text(), "Общая сумма: -7,75р.");

    source.remove_item(3);
    EXPECT_EQ(column(source, subject_datasource_class::column_year), QStringList({"2003", "2005"}));
    EXPECT_EQ(source.footer_text(), "Общая сумма: -17,75р.");

    source.clear_items();
    EXPECT_EQ(source.rowCount(), 0);
    EXPECT_EQ(source.footer_text(), "Общая сумма: 0,00р.");
}

TEST(SubjectDatasource, OnlyYearAndSumCellsAreEditableAndEditStartsFromTheFullSum)
{
    subject_datasource_class source(russian);
    source.append_item(item(2003, 12.345));
    source.notify_data_changed();
    EXPECT_FALSE(source.flags(source.index(0, subject_datasource_class::column_id)) & Qt::ItemIsEditable);
    EXPECT_TRUE(source.flags(source.index(0, subject_datasource_class::column_year)) & Qt::ItemIsEditable);
    EXPECT_TRUE(source.flags(source.index(0, subject_datasource_class::column_sum)) & Qt::ItemIsEditable);
    EXPECT_EQ(source.data(source.index(0, subject_datasource_class::column_sum), Qt::EditRole).toString(), "12,345");
    EXPECT_FALSE(source.setData(source.index(0, subject_datasource_class::column_year), "1999"));
    EXPECT_EQ(source.get_snapshot().front()->get_year(), 2003);
}

TEST(SubjectDatasource, TakesOverAWholeListInOneStep)
{
    subject_datasource_class source(russian);
    QSignalSpy resets(&source, &QAbstractItemModel::modelReset);

    constexpr int count = 100000;
    TItemsYear items;
    items.reserve(count);
    for (int i = 0; i < count; ++i)
        items.push_back(item(static_cast<std::uint16_t>(1990 + (i * 7919) % 40), 0.5));
    auto list = std::make_shared<year_list_item_class>();
    list->add_items(items);

    source.set_year_list(list);

    EXPECT_EQ(source.get_year_list(), list);
    EXPECT_EQ(source.rowCount(), count);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(source.footer_text(), "Общая сумма: 50" + russian.groupSeparator() + "000,00р.");
    EXPECT_EQ(source.data(source.index(0, subject_datasource_class::column_year)).toString(), "1990");

    source.set_year_list(nullptr);
    EXPECT_EQ(source.rowCount(), 0);
    EXPECT_EQ(source.get_item_count(), 0);
}
