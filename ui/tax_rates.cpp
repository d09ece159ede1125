#include "tax_rates.h"

#include "ui_tax_rates.h"

#include "form_fonts.h"
#include "hourglass.h"
#include "number_format.h"
#include "register_ctrlr.h"
#include "tax_rates_impl.h"
#include "user_prompts.h"
#include "velmaris_application.h"
#include "window_texts.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include <algorithm>
#include <cmath>

namespace {

const QString about_text = QStringLiteral("Расчет по ст.ст. 198, 199 УК РФ 1.0");
const QString notice_lines = QStringLiteral(
    "Velmaris оценивает сумму неуплаченных налогов (сборов) по порогам крупного и особо крупного\n"
    "размера и проверяет срок давности. Результат носит справочный характер.\n"
    "Разработчики проекта Velmaris.");

} // namespace

QString window_caption(const QString& file_name)
{
    if (file_name.isEmpty())
        return application_title + QStringLiteral(" ");
    QString name = file_name;
    const auto folder_end = std::max({name.lastIndexOf(QLatin1Char('\\')), name.lastIndexOf(QLatin1Char('/')),
                                      name.lastIndexOf(QLatin1Char(':'))});
    name.remove(0, folder_end + 1);
    const auto extension = name.lastIndexOf(QLatin1Char('.'));
    if (extension >= 0)
        name.truncate(extension);
    return application_title + QStringLiteral(" - ") + name;
}

Tfrm_tax_rates::Tfrm_tax_rates(const system_facts& facts, const QString& command_line_file, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::Tfrm_tax_rates>()), FFacts(facts),
      FCommandLineFile(command_line_file)
{
    ui->setupUi(this);
    use_tahoma(*this, 8);
    ui->Splitter1->setStretchFactor(0, 1);
    ui->Splitter1->setSizes({320, 250});
    ppMenu = new QMenu(this);
    ppMenu->setObjectName(QStringLiteral("ppMenu"));
    ppMenu->addAction(ui->aDelFaceItem);
    SetUpProtocolBox();
    ConnectCommands();
    FormCreate();
}

Tfrm_tax_rates::~Tfrm_tax_rates() = default;

template <class Sender, class Signal, class Command>
void Tfrm_tax_rates::ConnectCommand(Sender* sender, Signal signal, Command command)
{
    connect(sender, signal, this, [command = std::move(command)] { run_command(command); });
}

void Tfrm_tax_rates::ConnectCommands()
{
    ConnectCommand(ui->aCreateNewItems, &QAction::triggered, [this] { aCreateNewItemsExecute(); });
    ConnectCommand(ui->aLoadFromXML, &QAction::triggered, [this] { aLoadFromXMLExecute(); });
    ConnectCommand(ui->aSaveToXML, &QAction::triggered, [this] { aSaveToXMLExecute(); });
    ConnectCommand(ui->aSaveFileAs, &QAction::triggered, [this] { aSaveFileAsExecute(); });
    ConnectCommand(ui->aSaveProtocol, &QAction::triggered, [this] { aSaveProtocolExecute(); });
    ConnectCommand(ui->aSaveProtocolPdf, &QAction::triggered, [this] { aSaveProtocolPdfExecute(); });
    ConnectCommand(ui->aPrintProtocol, &QAction::triggered, [this] { aPrintProtocolExecute(); });
    ConnectCommand(ui->aClose, &QAction::triggered, [this] { close(); });
    ConnectCommand(ui->aLimitation, &QAction::triggered, [this] { aLimitationExecute(); });
    ConnectCommand(ui->aRegisterAssigned, &QAction::triggered, [this] { aRegisterAssignedExecute(); });
    ConnectCommand(ui->aUnRegisterAssigned, &QAction::triggered, [this] { aUnRegisterAssignedExecute(); });
    ConnectCommand(ui->N15, &QAction::triggered, [this] { N15Click(); });
    ConnectCommand(ui->aDelFaceItem, &QAction::triggered, [this] { aDelFaceItemExecute(); });
    ConnectCommand(ui->cbxTypeSelect, &QComboBox::currentIndexChanged, [this] { ShowThresholds(); });

    ConnectCommand(ui->bInsLiab, &QPushButton::clicked, [this] { InsertItem(liabilities_table); });
    ConnectCommand(ui->bInsDebt, &QPushButton::clicked, [this] { InsertItem(debts_table); });
    ConnectCommand(ui->bUpdLiab, &QPushButton::clicked, [this] { UpdateItem(liabilities_table); });
    ConnectCommand(ui->bUpdDebt, &QPushButton::clicked, [this] { UpdateItem(debts_table); });
    ConnectCommand(ui->bDelLiab, &QPushButton::clicked, [this] { DeleteItem(liabilities_table); });
    ConnectCommand(ui->bDelDebt, &QPushButton::clicked, [this] { DeleteItem(debts_table); });
    ConnectCommand(ui->cxtvLiabilities, &QAbstractItemView::doubleClicked, [this] { UpdateItem(liabilities_table); });
    ConnectCommand(ui->cxtvDebts, &QAbstractItemView::doubleClicked, [this] { UpdateItem(debts_table); });
    connect(ui->cxtvLiabilities, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        run_command([&] { ShowPopupMenu(liabilities_table, position); });
    });
    connect(ui->cxtvDebts, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        run_command([&] { ShowPopupMenu(debts_table, position); });
    });

    ConnectCommand(ui->bAnalysis, &QPushButton::clicked, [this] { StartAnalysis(); });
}

void Tfrm_tax_rates::FormCreate()
{
    // A failing step skips the rest; the hourglass is gone before the error
    // box shows, and the window opens all the same.
    run_command([this] {
        const hourglass busy;
        PrepareDocumentsFolder();
        CreateDataSources();
        LoadLimitations();
        ShowThresholds();
        UpdateCaption();
        OpenCommandLineFile();
    });
}

void Tfrm_tax_rates::PrepareDocumentsFolder()
{
    const QString documents = FFacts.documents_folder;
    if (documents.isEmpty() || !QFileInfo(documents).isDir())
        return;
    // A folder that cannot be made is not reported: saving asks for a place anyway.
    QDir root(documents);
    root.mkdir(QStringLiteral("Korvalen"));
    FDocumentsFolder = root.filePath(QStringLiteral("Korvalen"));
    root.mkdir(QStringLiteral("Korvalen/xml"));
}

void Tfrm_tax_rates::LoadLimitations()
{
    const auto stored = register_controller().load_limitation_faces();
    if (!stored)
        return;
    // A copy, so that the settings dialog can replace it as a whole.
    auto limitations = std::make_shared<limitation_faces_class>();
    for (const face_type face : {face_member, face_company}) {
        if (const auto definition = stored->find_definition(face))
            limitations->add_definition(std::make_shared<limitation_defenition_class>(
                face, definition->get_large_size_period(), definition->get_very_large_size_period()));
    }
    FLimitations = limitations;
}

std::shared_ptr<face_definition_interface> Tfrm_tax_rates::CreateFaceDefinition() const
{
    const int index = ui->cbxTypeSelect->currentIndex();
    if (index != face_member && index != face_company)
        return nullptr;
    return make_face_definition(static_cast<face_type>(index));
}

void Tfrm_tax_rates::ShowThresholds()
{
    const auto definition = CreateFaceDefinition();
    if (!definition)
        return;
    const std::string separator = FFacts.decimal_separator().toStdString();
    const auto roubles = [&separator](double value) {
        return QString::fromStdString(format_fixed2(value, separator)) + QStringLiteral(" руб");
    };
    const auto percent = [](double value) { return QString::fromStdString(format_int(std::llround(value))) + QStringLiteral("%"); };
    ui->lLarge_size_sum->setText(roubles(definition->get_large_size_sum()));
    ui->lLarge_size_percent->setText(percent(definition->get_large_size_percent()));
    ui->lLarge_size_percent_sum->setText(roubles(definition->get_large_size_percent_sum()));
    ui->lVery_large_size_sum->setText(roubles(definition->get_very_large_size_sum()));
    ui->lVery_large_size_percent->setText(percent(definition->get_very_large_size_percent()));
    ui->lVery_large_size_percent_sum->setText(roubles(definition->get_very_large_size_percent_sum()));
}

void Tfrm_tax_rates::UpdateCaption()
{
    setWindowTitle(window_caption(FFileName));
}

void Tfrm_tax_rates::N15Click()
{
    prompts().about(this, QStringLiteral("О программе"), about_text + QStringLiteral("\n\n") + notice_lines);
}
