// The two year tables of the main window: adding, editing and deleting rows
// through the buttons, double click, the popup menu and the cells.
#include "tax_rates.h"

#include "ui_tax_rates.h"

#include "edit_year_item_frm.h"
#include "number_format.h"
#include "subject_datasource.h"
#include "user_prompts.h"
#include "velmaris_application.h"
#include "year_cell_delegate.h"

#include <QHeaderView>
#include <QMenu>

void Tfrm_tax_rates::CreateDataSources()
{
    FDebtsSource = new subject_datasource_class(FFacts.locale, this);
    FLiabilitiesSource = new subject_datasource_class(FFacts.locale, this);
    SetUpGrid(debts_table);
    SetUpGrid(liabilities_table);
}

void Tfrm_tax_rates::SetUpGrid(year_table table)
{
    auto* source = SourceOf(table);
    auto* view = ViewOf(table);
    auto* footer = table == debts_table ? ui->cxtvDebtsFooter : ui->cxtvLiabilitiesFooter;
    view->setModel(source);
    view->setItemDelegate(new year_cell_delegate(
        [this, table](const QModelIndex& index, const QString& text) {
            run_command([&] {
                const bool year = index.column() == subject_datasource_class::column_year;
                const int row = index.row();
                if (table == liabilities_table)
                    year ? cxcTaxYearPropertiesValidate(row, text) : cxcTaxSumPropertiesValidate(row, text);
                else
                    year ? tvcTaxYearPropertiesValidate(row, text) : tvcTaxSumPropertiesValidate(row, text);
            });
        },
        view));
    auto* header = view->horizontalHeader();
    header->setSectionResizeMode(subject_datasource_class::column_id, QHeaderView::Interactive);
    header->resizeSection(subject_datasource_class::column_id, 40);
    header->setSectionResizeMode(subject_datasource_class::column_year, QHeaderView::Stretch);
    header->setSectionResizeMode(subject_datasource_class::column_sum, QHeaderView::Stretch);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    footer->setText(source->footer_text());
    connect(source, &subject_datasource_class::footer_changed, footer, &QLabel::setText);
}

subject_datasource_class* Tfrm_tax_rates::SourceOf(year_table table) const
{
    switch (table) {
    case debts_table:
        return FDebtsSource;
    case liabilities_table:
        return FLiabilitiesSource;
    }
    return nullptr;
}

QTableView* Tfrm_tax_rates::ViewOf(year_table table) const
{
    return table == debts_table ? ui->cxtvDebts : ui->cxtvLiabilities;
}

int Tfrm_tax_rates::SelectedRow(year_table table) const
{
    const auto* selection = ViewOf(table)->selectionModel();
    if (!selection)
        return -1;
    int first = -1;
    for (const auto& index : selection->selectedRows())
        if (first < 0 || index.row() < first)
            first = index.row();
    return first;
}

std::shared_ptr<year_item_interface> Tfrm_tax_rates::ItemOfRow(year_table table, int row) const
{
    const auto* source = SourceOf(table);
    if (!source || row < 0)
        return nullptr;
    return source->get_year_list()->find_item(source->id_at(row));
}

void Tfrm_tax_rates::InsertItem(year_table table)
{
    auto* source = SourceOf(table);
    if (!source)
        return;
    Tfrm_edit_year_item dialog(this, FFacts.decimal_separator());
    if (prompts().exec_dialog(dialog) != QDialog::Accepted)
        return;
    source->append_item(dialog.GetItem());
    source->notify_data_changed();
}

void Tfrm_tax_rates::UpdateItem(year_table table)
{
    if (const auto item = ItemOfRow(table, SelectedRow(table)))
        EditItem(table, item);
}

void Tfrm_tax_rates::EditItem(year_table table, const std::shared_ptr<year_item_interface>& item)
{
    auto* source = SourceOf(table);
    if (!source)
        return;
    Tfrm_edit_year_item dialog(this, FFacts.decimal_separator(), item);
    if (prompts().exec_dialog(dialog) != QDialog::Accepted)
        return;
    source->replace_item(dialog.GetItem());
    source->notify_data_changed();
}

void Tfrm_tax_rates::DeleteItem(year_table table)
{
    auto* source = SourceOf(table);
    const int row = SelectedRow(table);
    if (!source || row < 0)
        return;
    if (!prompts().confirm(this, QStringLiteral("Вы действительно хотите удалить?")))
        return;
    source->remove_item(source->id_at(row));
    auto* view = ViewOf(table);
    if (source->rowCount() > 0)
        view->setCurrentIndex(source->index(0, subject_datasource_class::column_id));
}

void Tfrm_tax_rates::ShowPopupMenu(year_table table, const QPoint& position)
{
    FPopupTable = table;
    ppMenu->popup(ViewOf(table)->viewport()->mapToGlobal(position));
}

void Tfrm_tax_rates::aDelFaceItemExecute()
{
    // Deletes from the grid the menu was opened on.
    DeleteItem(FPopupTable);
}

void Tfrm_tax_rates::cxcTaxYearPropertiesValidate(int row, const QString& text)
{
    StoreCellYear(liabilities_table, row, text);
}

void Tfrm_tax_rates::cxcTaxSumPropertiesValidate(int row, const QString& text)
{
    StoreCellSum(liabilities_table, row, text);
}

void Tfrm_tax_rates::tvcTaxYearPropertiesValidate(int row, const QString& text)
{
    StoreCellYear(debts_table, row, text);
}

void Tfrm_tax_rates::tvcTaxSumPropertiesValidate(int row, const QString& text)
{
    StoreCellSum(debts_table, row, text);
}

// Whatever is typed is accepted; text that does not convert becomes 0. The
// row keeps its place until the next row is added.
void Tfrm_tax_rates::StoreCellYear(year_table table, int row, const QString& text)
{
    const auto item = ItemOfRow(table, row);
    if (!item)
        return;
    item->set_year(static_cast<std::uint16_t>(parse_int32(text.toStdString()).value_or(0)));
    SourceOf(table)->replace_item(item);
}

void Tfrm_tax_rates::StoreCellSum(year_table table, int row, const QString& text)
{
    const auto item = ItemOfRow(table, row);
    if (!item)
        return;
    item->set_sum(parse_decimal(text.toStdString(), FFacts.decimal_separator().toStdString()).value_or(0));
    SourceOf(table)->replace_item(item);
}
