// The main window: the category and name, the two year tables, the
// thresholds of the chosen category and the analysis with its protocol.
//
// Its work is spread over several files: tax_rates.cpp (creation, menu,
// thresholds and caption), tax_rates_document.cpp (new, open and save of a
// .kvl document), tax_rates_tables.cpp (editing the tables),
// tax_rates_analysis.cpp (the analysis run), tax_rates_report.cpp (the
// report of the last analysis) and tax_rates_settings.cpp (the settings menu).
#pragma once

#include "protocol_report.h"
#include "system_facts.h"
#include "tax_rates_ntrf.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Ui {
class Tfrm_tax_rates;
}

class QMenu;
class QTableView;
class subject_datasource_class;

// The window caption for a document file: its name without folder and last
// extension; without a file the caption ends in a blank.
QString window_caption(const QString& file_name);

class Tfrm_tax_rates : public QMainWindow {
    Q_OBJECT
public:
    // Runs the start-up steps under the hourglass; a step that fails is
    // shown in an error box, the steps after it are skipped and the window
    // is usable all the same. `command_line_file` is the program's first
    // argument, empty when there was none.
    explicit Tfrm_tax_rates(const system_facts& facts, const QString& command_line_file = {},
                            QWidget* parent = nullptr);
    ~Tfrm_tax_rates() override;

private:
    // Picks a table: 0 the debts table, 1 the liabilities table.
    enum year_table : int { debts_table = 0, liabilities_table = 1 };

    std::unique_ptr<Ui::Tfrm_tax_rates> ui;
    QMenu* ppMenu = nullptr;
    // The table whose grid the popup menu was last opened on.
    year_table FPopupTable = debts_table;
    system_facts FFacts;
    QString FCommandLineFile;

    std::shared_ptr<limitation_faces_interface> FLimitations;
    QString FDocumentsFolder;
    subject_datasource_class* FDebtsSource = nullptr;
    subject_datasource_class* FLiabilitiesSource = nullptr;
    QString FFileName;
    // Where the file dialog starts and the name it shows; both carry over
    // from one use to the next.
    QString FDialogFolder;
    QString FDialogFileName;

    // Runs `command` on every `signal` of `sender`, its failures shown as
    // those of a command.
    template <class Sender, class Signal, class Command>
    void ConnectCommand(Sender* sender, Signal signal, Command command);

    // Start-up and window (tax_rates.cpp).
    void ConnectCommands();
    void FormCreate();
    void PrepareDocumentsFolder();
    void LoadLimitations();
    std::shared_ptr<face_definition_interface> CreateFaceDefinition() const;
    void ShowThresholds();
    void UpdateCaption();
    void N15Click();

    // The document (tax_rates_document.cpp).
    void aCreateNewItemsExecute();
    void aLoadFromXMLExecute();
    void aSaveToXMLExecute();
    void aSaveFileAsExecute();
    void OpenCommandLineFile();
    void NewDocument();
    // With `ask` the user picks the file first; otherwise `file_name` is read.
    void LoadDocument(bool ask, QString file_name = {});
    void ClearTables();
    void SaveDocument();
    void SaveDocumentAs();
    void WriteDocument();
    QString ChooseFile(bool saving);

    // The menu "Настройки" (tax_rates_settings.cpp).
    void aLimitationExecute();
    void ShowLimitationDialog();
    void aRegisterAssignedExecute();
    void aUnRegisterAssignedExecute();

    // The year tables (tax_rates_tables.cpp).
    void CreateDataSources();
    void SetUpGrid(year_table table);
    subject_datasource_class* SourceOf(year_table table) const;
    QTableView* ViewOf(year_table table) const;
    int SelectedRow(year_table table) const;
    void InsertItem(year_table table);
    void UpdateItem(year_table table);
    void EditItem(year_table table, const std::shared_ptr<year_item_interface>& item);
    void DeleteItem(year_table table);
    void ShowPopupMenu(year_table table, const QPoint& position);
    void aDelFaceItemExecute();
    void cxcTaxYearPropertiesValidate(int row, const QString& text);
    void cxcTaxSumPropertiesValidate(int row, const QString& text);
    void tvcTaxYearPropertiesValidate(int row, const QString& text);
    void tvcTaxSumPropertiesValidate(int row, const QString& text);
    std::shared_ptr<year_item_interface> ItemOfRow(year_table table, int row) const;
    void StoreCellYear(year_table table, int row, const QString& text);
    void StoreCellSum(year_table table, int row, const QString& text);

    // The analysis run (tax_rates_analysis.cpp).
    void StartAnalysis();
    void RunAnalysis(const std::vector<std::shared_ptr<report_information_interface>>& protocols);
    void SetUpProtocolBox();

    // The report of the last analysis (tax_rates_report.cpp).
    std::optional<protocol_report> FLastReport;
    void KeepReport(const std::vector<std::shared_ptr<report_information_interface>>& protocols);
    QString ReportHtml();
    void SaveReport(const QString& caption, const QString& filter, const QString& suffix,
                    const std::function<void(const QString&, const QString&)>& write);
    void aSaveProtocolExecute();
    void aSaveProtocolPdfExecute();
    void aPrintProtocolExecute();
};
