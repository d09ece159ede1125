// The protocol of the last analysis as a report: saved as HTML or PDF, or
// printed.
#include "tax_rates.h"

#include "ui_tax_rates.h"

#include "protocol_print.h"
#include "protocol_report.h"
#include "subject_datasource.h"
#include "tax_rates_impl.h"
#include "user_prompts.h"
#include "window_texts.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {

// The items as they are now, so that later edits of the tables do not
// change the report of an analysis already made.
TItemsYear frozen_copy(const TItemsYear& items)
{
    TItemsYear copy;
    copy.reserve(items.size());
    for (const auto& item : items) {
        auto frozen = std::make_shared<year_item_class>(item->get_year(), item->get_sum());
        frozen->set_id(item->get_id());
        copy.push_back(std::move(frozen));
    }
    return copy;
}

} // namespace

void Tfrm_tax_rates::KeepReport(const std::vector<std::shared_ptr<report_information_interface>>& protocols)
{
    protocol_report report;
    report.assessed_at = QDateTime::currentDateTime();
    report.category = ui->cbxTypeSelect->currentIndex();
    report.name = ui->eTypeName->text();
    report.liabilities = frozen_copy(FLiabilitiesSource->get_snapshot());
    report.debts = frozen_copy(FDebtsSource->get_snapshot());
    if (FLimitations && (report.category == face_member || report.category == face_company))
        report.periods = FLimitations->find_definition(static_cast<face_type>(report.category));
    report.protocols = protocols;
    FLastReport = std::move(report);
}

// The report page, or an empty text (after telling the user) when there
// has been no analysis yet.
QString Tfrm_tax_rates::ReportHtml()
{
    if (!FLastReport) {
        prompts().notice(this, attention_caption,
                         QStringLiteral("Протокол пуст: сначала нажмите «Проанализировать»"));
        return {};
    }
    return protocol_report_html({*FLastReport}, FFacts.locale);
}

// Asks for a file and hands it, with the report page, to `write`.
void Tfrm_tax_rates::SaveReport(const QString& caption, const QString& filter, const QString& suffix,
                                const std::function<void(const QString&, const QString&)>& write)
{
    const QString html = ReportHtml();
    if (html.isEmpty())
        return;
    const QString path = prompts().save_file_name(this, caption, {FDocumentsFolder, QString(), filter, suffix});
    if (!path.isEmpty())
        write(path, html);
}

void Tfrm_tax_rates::aSaveProtocolExecute()
{
    SaveReport(QStringLiteral("Сохранить протокол"), QStringLiteral("Страницы HTML (*.html *.htm)"),
               QStringLiteral("html"),
               [this](const QString& path, const QString&) { write_protocol_report(path, {*FLastReport}, FFacts.locale); });
}

void Tfrm_tax_rates::aSaveProtocolPdfExecute()
{
    SaveReport(QStringLiteral("Сохранить протокол как PDF"), QStringLiteral("Документы PDF (*.pdf)"),
               QStringLiteral("pdf"), write_protocol_pdf);
}

void Tfrm_tax_rates::aPrintProtocolExecute()
{
    const QString html = ReportHtml();
    if (html.isEmpty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (prompts().exec_dialog(dialog) == QDialog::Accepted)
        print_protocol(printer, html);
}
