// The document commands: new, open, save and save as, and the document
// named on the command line. A document is read whole before anything in
// the window changes, so a damaged file leaves the window as it was.
#include "tax_rates.h"

#include "ui_tax_rates.h"

#include "hourglass.h"
#include "kvl_document.h"
#include "subject_datasource.h"
#include "user_prompts.h"

#include <QFileInfo>
#include <QTextDocument>

namespace {

const QString document_filter = QStringLiteral("Файлы Korvalen (*.kvl)");
const QString document_suffix = QStringLiteral("kvl");
const QString new_document_name = QStringLiteral("Новый документ");

} // namespace

void Tfrm_tax_rates::aCreateNewItemsExecute()
{
    NewDocument();
}

void Tfrm_tax_rates::aLoadFromXMLExecute()
{
    LoadDocument(true);
}

void Tfrm_tax_rates::aSaveToXMLExecute()
{
    SaveDocument();
}

void Tfrm_tax_rates::aSaveFileAsExecute()
{
    SaveDocumentAs();
}

void Tfrm_tax_rates::OpenCommandLineFile()
{
    if (!FCommandLineFile.isEmpty())
        LoadDocument(false, FCommandLineFile);
}

void Tfrm_tax_rates::NewDocument()
{
    ClearTables();
    auto* protocol = ui->rProtocol->document();
    // Cleared for good: the old protocol is not kept for undo.
    protocol->setUndoRedoEnabled(false);
    ui->rProtocol->clear();
    protocol->setUndoRedoEnabled(true);
    // The caption names the new document, yet it has no file: the next Save asks for one.
    setWindowTitle(window_caption(new_document_name));
    FFileName.clear();
}

void Tfrm_tax_rates::LoadDocument(bool ask, QString file_name)
{
    if (ask) {
        file_name = ChooseFile(false);
        if (file_name.isEmpty())
            return;
    }
    // A failure leaves here before the window is touched.
    const kvl_document document = [&] {
        const hourglass busy;
        return read_kvl_document(file_name, FFacts.decimal_separator());
    }();

    if (document.has_category) {
        // Any other number leaves the selector without a category.
        const bool known = document.category == face_member || document.category == face_company;
        ui->cbxTypeSelect->setCurrentIndex(known ? document.category : -1);
    }
    if (document.has_name)
        ui->eTypeName->setText(document.name);
    FDebtsSource->set_year_list(document.debts);
    FLiabilitiesSource->set_year_list(document.liabilities);
    FFileName = file_name;
    UpdateCaption();
}

void Tfrm_tax_rates::ClearTables()
{
    FDebtsSource->clear_items();
    FLiabilitiesSource->clear_items();
}

void Tfrm_tax_rates::SaveDocument()
{
    if (FFileName.isEmpty())
        SaveDocumentAs();
    else
        WriteDocument();
}

void Tfrm_tax_rates::SaveDocumentAs()
{
    // Without a documents folder the dialog keeps the folder it had.
    if (!FDocumentsFolder.isEmpty())
        FDialogFolder = FDocumentsFolder;
    FDialogFileName = ui->eTypeName->text() + QLatin1Char('.') + document_suffix;
    const QString file_name = ChooseFile(true);
    if (file_name.isEmpty())
        return;
    // The new name holds even when the write below fails: the next Save tries it again.
    FFileName = file_name;
    UpdateCaption();
    WriteDocument();
}

void Tfrm_tax_rates::WriteDocument()
{
    const hourglass busy;
    write_kvl_document(FFileName, ui->cbxTypeSelect->currentIndex(), ui->eTypeName->text(),
                       FDebtsSource->get_snapshot(), FLiabilitiesSource->get_snapshot(), FFacts.decimal_separator());
}

QString Tfrm_tax_rates::ChooseFile(bool saving)
{
    // Until the dialog has been used it starts in the documents folder.
    const file_dialog_setup setup{FDialogFolder.isEmpty() ? FDocumentsFolder : FDialogFolder, FDialogFileName,
                                  document_filter, document_suffix};
    const QString chosen =
        saving ? prompts().save_file_name(this, {}, setup) : prompts().open_file_name(this, {}, setup);
    if (!chosen.isEmpty()) {
        const QFileInfo file(chosen);
        FDialogFolder = file.absolutePath();
        FDialogFileName = file.fileName();
    }
    return chosen;
}
