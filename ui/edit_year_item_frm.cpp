#include "edit_year_item_frm.h"

#include "ui_edit_year_item_frm.h"

#include "form_fonts.h"
#include "number_format.h"
#include "tax_rates_impl.h"
#include "window_texts.h"

#include <QRegularExpressionValidator>

Tfrm_edit_year_item::Tfrm_edit_year_item(QWidget* owner, const QString& decimal_separator,
                                         std::shared_ptr<year_item_interface> item)
    : QDialog(owner), ui(std::make_unique<Ui::Tfrm_edit_year_item>()), FItem(std::move(item)),
      FDecimalSeparator(decimal_separator)
{
    ui->setupUi(this);
    use_tahoma(*this, 8);
    use_tahoma(*ui->cxLabel1, 10);
    use_tahoma(*ui->cxLabel2, 10);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    // Only digits reach the year, only digits and either separator the sum;
    // typing and pasting alike.
    ui->eTaxRateYear->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), this));
    ui->eTaxRateSum->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,.]*")), this));
    ShowModeCaption();
    ShowItem();
}

Tfrm_edit_year_item::~Tfrm_edit_year_item() = default;

void Tfrm_edit_year_item::done(int result)
{
    if (result == QDialog::Accepted)
        StoreItem();
    QDialog::done(result);
}

void Tfrm_edit_year_item::ShowModeCaption()
{
    const QString mode = FItem ? QStringLiteral("обновить") : QStringLiteral("добавить");
    setWindowTitle(application_title + QStringLiteral(" - ") + mode + QStringLiteral(" даные"));
}

void Tfrm_edit_year_item::ShowItem()
{
    if (!FItem)
        return;
    ui->eTaxRateYear->setText(QString::fromStdString(format_int(FItem->get_year())));
    ui->eTaxRateSum->setText(QString::fromStdString(format_fixed2(FItem->get_sum(), FDecimalSeparator.toStdString())));
}

void Tfrm_edit_year_item::StoreItem()
{
    const auto year = static_cast<std::uint16_t>(
        parse_int32(ui->eTaxRateYear->text().toStdString()).value_or(-1));
    const double sum =
        parse_decimal(ui->eTaxRateSum->text().toStdString(), FDecimalSeparator.toStdString()).value_or(-1);
    if (FItem) {
        FItem->set_year(year);
        FItem->set_sum(sum);
    } else {
        FItem = std::make_shared<year_item_class>(year, sum);
    }
}
