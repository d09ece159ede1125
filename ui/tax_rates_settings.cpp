// The menu "Настройки": the limitation periods and the registration of the
// document file type. Failures go to the top-level error handling.
#include "tax_rates.h"

#include "limitation_frm.h"
#include "register_ctrlr.h"
#include "user_prompts.h"

namespace {

const std::string document_extension = ".kvl";

} // namespace

void Tfrm_tax_rates::aLimitationExecute()
{
    ShowLimitationDialog();
}

void Tfrm_tax_rates::ShowLimitationDialog()
{
    Tfrm_limitation dialog(this);
    // The dialog's set holds what it has just stored: no need to read the
    // store again.
    if (prompts().exec_dialog(dialog) == QDialog::Accepted)
        FLimitations = dialog.GetLimitationFaces();
}

void Tfrm_tax_rates::aRegisterAssignedExecute()
{
    register_controller().register_extension(document_extension);
}

void Tfrm_tax_rates::aUnRegisterAssignedExecute()
{
    register_controller().unregister_extension(document_extension);
}
