// "Проанализировать": the run itself is analysis_run's; the window gathers
// its inputs, shows a refusal or the protocols.
#include "tax_rates.h"

#include "ui_tax_rates.h"

#include "analysis_run.h"
#include "form_fonts.h"
#include "protocol_writer.h"
#include "subject_datasource.h"
#include "tax_rates_impl.h"
#include "user_prompts.h"
#include "window_texts.h"

#include <QScrollBar>
#include <QTextDocument>

void Tfrm_tax_rates::SetUpProtocolBox()
{
    auto* box = ui->rProtocol;
    use_tahoma(*box, 8);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, color_from_value(color_undetermined));
    palette.setColor(QPalette::Text, Qt::black);
    box->setPalette(palette);
    box->document()->setDefaultFont(box->font());
}

void Tfrm_tax_rates::StartAnalysis()
{
    const auto list_of = [](const subject_datasource_class* source) {
        return source ? source->get_year_list() : std::make_shared<year_list_item_class>();
    };
    const assessment_environment environment{FFacts.decimal_separator().toStdString(), FFacts.current_year};
    const auto outcome = run_analysis(FLimitations, ui->cbxTypeSelect->currentIndex(), list_of(FDebtsSource),
                                      list_of(FLiabilitiesSource), environment);
    if (!outcome.refusal.empty()) {
        prompts().notice(this, attention_caption, QString::fromStdString(outcome.refusal));
        return;
    }
    RunAnalysis(outcome.protocols);
    KeepReport(outcome.protocols);
}

void Tfrm_tax_rates::RunAnalysis(const std::vector<std::shared_ptr<report_information_interface>>& protocols)
{
    auto* box = ui->rProtocol;
    auto* document = box->document();
    // The run replaces the box's content; keeping it for undo would hold every
    // protocol twice. The user's own edits afterwards can be undone again.
    document->setUndoRedoEnabled(false);
    box->clear();
    {
        protocol_writer writer(*box);
        for (const auto& protocol : protocols)
            writer.show_report(*protocol);
    }
    document->setUndoRedoEnabled(true);
    box->moveCursor(QTextCursor::End);
    box->ensureCursorVisible();
    box->setFocus();
}
