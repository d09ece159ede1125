// The grid data source: shows one year list as a table of (ID, year, sum)
// and keeps the footer total of the sum column.
//
// Rows are read from a snapshot of the list. The operations follow the
// list: append_item takes a new snapshot but leaves telling the grid to
// notify_data_changed; replace_item expects the very item the list holds,
// changed in place. The grid never adds, removes or edits rows by itself;
// cells are edited through the window's handlers.
#pragma once

#include "money_text.h"

#include "tax_rates_ntrf.h"

#include <QAbstractTableModel>
#include <QLocale>

#include <cstdint>
#include <memory>

class subject_datasource_class : public QAbstractTableModel {
    Q_OBJECT
public:
    enum column : int { column_id = 0, column_year = 1, column_sum = 2, column_count = 3 };

    // `locale` gives the decimal separator and digit grouping of the sums.
    explicit subject_datasource_class(const QLocale& locale, QObject* parent = nullptr);

    void append_item(const std::shared_ptr<year_item_interface>& item);
    void remove_item(std::int32_t id);
    void replace_item(const std::shared_ptr<year_item_interface>& item);
    void clear_items();
    // Takes over a whole list at once (a document just read): one snapshot
    // and one notification however long the list. Null gives an empty list.
    void set_year_list(std::shared_ptr<year_list_item_interface> list);
    std::shared_ptr<year_list_item_interface> get_year_list() const { return list_; }
    const TItemsYear& get_snapshot() const { return snapshot_; }
    std::int32_t get_item_count() const { return list_->get_count(); }
    // Makes the grid read the rows again and refreshes the footer.
    void notify_data_changed();

    // The id of the item shown in a row; 0 for a row outside the snapshot.
    std::int32_t id_at(int row) const;
    double total() const { return total_; }
    // "Общая сумма: " + the grouped total with two decimals + "р.".
    QString footer_text() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void footer_changed(const QString& text);

private:
    std::shared_ptr<year_list_item_interface> list_;
    TItemsYear snapshot_;
    // The row count the grid was last told; the snapshot may be ahead of it
    // between append_item and notify_data_changed.
    int shown_rows_ = 0;
    double total_ = 0;
    QLocale locale_;

    void take_snapshot() { snapshot_ = list_->get_items(); }
    void refresh_total();
};


