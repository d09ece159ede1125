#include "subject_datasource.h"

#include "number_format.h"
#include "tax_rates_impl.h"

#include <algorithm>
#include <cmath>

subject_datasource_class::subject_datasource_class(const QLocale& locale, QObject* parent)
    : QAbstractTableModel(parent), list_(std::make_shared<year_list_item_class>()), locale_(locale)
{
}

void subject_datasource_class::append_item(const std::shared_ptr<year_item_interface>& item)
{
    list_->add_item(item);
    if (list_->get_update_lock() == 0)
        take_snapshot();
}

void subject_datasource_class::remove_item(std::int32_t id)
{
    list_->delete_item(id);
    take_snapshot();
    notify_data_changed();
}

void subject_datasource_class::replace_item(const std::shared_ptr<year_item_interface>& item)
{
    list_->update_item(item);
    // The item was changed in place: only its row and the total need redrawing.
    const auto row = std::find(snapshot_.begin(), snapshot_.end(), item) - snapshot_.begin();
    if (row < shown_rows_)
        emit dataChanged(index(static_cast<int>(row), column_id), index(static_cast<int>(row), column_sum));
    refresh_total();
}

void subject_datasource_class::clear_items()
{
    list_->clear();
    snapshot_.clear();
    notify_data_changed();
}

void subject_datasource_class::set_year_list(std::shared_ptr<year_list_item_interface> list)
{
    list_ = list ? std::move(list) : std::make_shared<year_list_item_class>();
    take_snapshot();
    notify_data_changed();
}

void subject_datasource_class::notify_data_changed()
{
    const int rows = static_cast<int>(snapshot_.size());
    if (rows == shown_rows_) {
        // Same rows: keep the grid's selection and current row.
        if (rows > 0)
            emit dataChanged(index(0, column_id), index(rows - 1, column_sum));
    } else {
        beginResetModel();
        shown_rows_ = rows;
        endResetModel();
    }
    refresh_total();
}

void subject_datasource_class::refresh_total()
{
    double total = 0;
    for (const auto& item : snapshot_)
        total += item->get_sum();
    total_ = total;
    emit footer_changed(footer_text());
}

QString subject_datasource_class::footer_text() const
{
    return footer_total_text(total_, locale_);
}

std::int32_t subject_datasource_class::id_at(int row) const
{
    if (row < 0 || row >= static_cast<int>(snapshot_.size()))
        return 0;
    return snapshot_[static_cast<std::size_t>(row)]->get_id();
}

int subject_datasource_class::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shown_rows_;
}

int subject_datasource_class::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : column_count;
}

QVariant subject_datasource_class::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(snapshot_.size()))
        return {};
    const auto& item = snapshot_[static_cast<std::size_t>(index.row())];
    if (role == Qt::TextAlignmentRole) {
        if (index.column() == column_year)
            return QVariant::fromValue(Qt::AlignCenter);
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (index.column()) {
    case column_id:
        return QString::fromStdString(format_int(item->get_id()));
    case column_year:
        return QString::fromStdString(format_int(item->get_year()));
    case column_sum:
        // The editor starts from the full value, so that leaving a cell
        // unchanged does not round the sum to the cents the grid shows.
        if (role == Qt::EditRole)
            return QString::fromStdString(format_general15(item->get_sum(), locale_.decimalPoint().toStdString()));
        return grouped_fixed2(item->get_sum(), locale_);
    default:
        return {};
    }
}

QVariant subject_datasource_class::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case column_id:
        return QStringLiteral("ID");
    case column_year:
        return QStringLiteral("Финансовый год");
    case column_sum:
        return QStringLiteral("Сумма налогов (сборов)");
    default:
        return {};
    }
}

Qt::ItemFlags subject_datasource_class::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    return index.column() == column_id ? flags : flags | Qt::ItemIsEditable;
}
