#include "year_cell_delegate.h"

#include "subject_datasource.h"

#include <QLineEdit>

year_cell_delegate::year_cell_delegate(commit_handler handler, QObject* parent)
    : QStyledItemDelegate(parent), handler_(std::move(handler))
{
}

QWidget* year_cell_delegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                          const QModelIndex& index) const
{
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    if (index.column() == subject_datasource_class::column_year)
        editor->setMaxLength(4);
    else
        editor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return editor;
}

void year_cell_delegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    static_cast<QLineEdit*>(editor)->setText(index.data(Qt::EditRole).toString());
}

void year_cell_delegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const
{
    handler_(index, static_cast<QLineEdit*>(editor)->text());
}
