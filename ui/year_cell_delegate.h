// Cell editors of the year tables. The typed text does not go into the
// data source: it is handed to the window's handler for the column, which
// converts it and changes the row's item.
#pragma once

#include <QStyledItemDelegate>

#include <functional>

class year_cell_delegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using commit_handler = std::function<void(const QModelIndex& index, const QString& text)>;

    year_cell_delegate(commit_handler handler, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    commit_handler handler_;
};
