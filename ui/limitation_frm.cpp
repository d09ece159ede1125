#include "limitation_frm.h"

#include "ui_limitation_frm.h"

#include "form_fonts.h"
#include "hourglass.h"
#include "number_format.h"
#include "register_ctrlr.h"
#include "tax_rates_impl.h"
#include "user_prompts.h"
#include "velmaris_application.h"
#include "window_texts.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

// What the user typed; text that is not a whole number is 0.
std::int32_t period_of(const QString& text)
{
    return parse_int32(text.toStdString()).value_or(0);
}

void use_column_heading_font(QWidget& label)
{
    use_tahoma(label, 13);
    QFont font = label.font();
    font.setUnderline(true);
    label.setFont(font);
}

} // namespace

Tfrm_limitation::Tfrm_limitation(QWidget* owner) : QDialog(owner), ui(std::make_unique<Ui::Tfrm_limitation>())
{
    ui->setupUi(this);
    use_tahoma(*this, 8);
    use_column_heading_font(*ui->cxLabel4);
    use_column_heading_font(*ui->cxLabel7);
    // A tool window: small caption bar with a close box, not resizable.
    setWindowFlags(Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    // Centred on the screen rather than over the owner.
    layout()->activate();
    adjustSize();
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
}

Tfrm_limitation::~Tfrm_limitation() = default;

void Tfrm_limitation::done(int result)
{
    if (result == QDialog::Accepted) {
        // A failed store is shown and ends only this attempt to close: the
        // user's input stays for another try or for "Закрыть".
        bool can_close = false;
        run_command([this, &can_close] { can_close = FormCloseQuery(); });
        if (!can_close)
            return;
    }
    QDialog::done(result);
}

void Tfrm_limitation::FormCreate()
{
    // The set exists even when reading fails, so that new periods can still
    // be entered and stored.
    FLimitationFaces = std::make_shared<limitation_faces_class>();
    // The hourglass is gone before an error box shows.
    run_command([this] {
        const hourglass busy;
        FillEdits();
    });
}

bool Tfrm_limitation::FormCloseQuery()
{
    if (!BuildLimitationFaces())
        return false;
    StoreLimitations();
    return true;
}

void Tfrm_limitation::FillEdits()
{
    const auto stored = register_controller().load_limitation_faces();
    const auto member = stored->find_definition(face_member);
    const auto company = stored->find_definition(face_company);
    const auto large = [](const auto& definition) { return definition ? definition->get_large_size_period() : 0; };
    const auto very_large = [](const auto& definition) {
        return definition ? definition->get_very_large_size_period() : 0;
    };
    ui->eLargeSizeMember->setText(QString::fromStdString(format_int(large(member))));
    ui->eVeryLargeSizeMember->setText(QString::fromStdString(format_int(very_large(member))));
    ui->eLargeSizeCompany->setText(QString::fromStdString(format_int(large(company))));
    ui->eVeryLargeSizeCompany->setText(QString::fromStdString(format_int(very_large(company))));
}

bool Tfrm_limitation::HasEmptyField() const
{
    for (const QLineEdit* edit :
         {ui->eLargeSizeMember, ui->eVeryLargeSizeMember, ui->eLargeSizeCompany, ui->eVeryLargeSizeCompany}) {
        if (edit->text().isEmpty())
            return true;
    }
    return false;
}

bool Tfrm_limitation::BuildLimitationFaces()
{
    if (HasEmptyField()) {
        prompts().notice(this, application_title, QStringLiteral("Необходимо заполнить все поля"));
        return false;
    }
    // A fresh set on every press: after a failed store the set of an earlier
    // press would shadow the new periods, as its lookup gives the first
    // definition of a face type.
    auto faces = std::make_shared<limitation_faces_class>();
    faces->add_definition(std::make_shared<limitation_defenition_class>(
        face_member, period_of(ui->eLargeSizeMember->text()), period_of(ui->eVeryLargeSizeMember->text())));
    faces->add_definition(std::make_shared<limitation_defenition_class>(
        face_company, period_of(ui->eLargeSizeCompany->text()), period_of(ui->eVeryLargeSizeCompany->text())));
    FLimitationFaces = std::move(faces);
    return true;
}

void Tfrm_limitation::StoreLimitations() const
{
    // The individual's first; should the organisation's then fail, another
    // press stores both again.
    const auto member = FLimitationFaces->find_definition(face_member);
    register_controller().save_member_limitation(member->get_large_size_period(),
                                                 member->get_very_large_size_period());
    const auto company = FLimitationFaces->find_definition(face_company);
    register_controller().save_company_limitation(company->get_large_size_period(),
                                                  company->get_very_large_size_period());
}
