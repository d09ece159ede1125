#include "user_prompts.h"

#include "window_texts.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace {

class widget_prompts final : public user_prompts {
public:
    void notice(QWidget* parent, const QString& caption, const QString& text) override
    {
        QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
        box.exec();
    }

    void error(QWidget* parent, const QString& text) override
    {
        QMessageBox::critical(parent, application_title, text);
    }

    bool confirm(QWidget* parent, const QString& text) override
    {
        return QMessageBox::question(parent, confirm_caption, text, QMessageBox::Yes | QMessageBox::Cancel,
                                     QMessageBox::Yes) == QMessageBox::Yes;
    }

    int exec_dialog(QDialog& dialog) override { return dialog.exec(); }

    void about(QWidget* parent, const QString& caption, const QString& text) override
    {
        QMessageBox::about(parent, caption, text);
    }

    QString open_file_name(QWidget* parent, const QString& caption, const file_dialog_setup& setup) override
    {
        return choose_file(parent, caption, setup, QFileDialog::AcceptOpen);
    }

    QString save_file_name(QWidget* parent, const QString& caption, const file_dialog_setup& setup) override
    {
        return choose_file(parent, caption, setup, QFileDialog::AcceptSave);
    }

private:
    static QString choose_file(QWidget* parent, const QString& caption, const file_dialog_setup& setup,
                               QFileDialog::AcceptMode mode)
    {
        QFileDialog dialog(parent, caption, setup.folder, setup.filter);
        dialog.setAcceptMode(mode);
        dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        // Replacing a document is what Save as is for: no question first.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDefaultSuffix(setup.default_suffix);
        if (!setup.file_name.isEmpty())
            dialog.selectFile(setup.file_name);
        if (dialog.exec() != QDialog::Accepted)
            return {};
        const QStringList chosen = dialog.selectedFiles();
        return chosen.isEmpty() ? QString() : chosen.first();
    }
};

std::unique_ptr<user_prompts>& installed()
{
    static std::unique_ptr<user_prompts> current = std::make_unique<widget_prompts>();
    return current;
}

} // namespace

user_prompts& prompts()
{
    return *installed();
}

std::unique_ptr<user_prompts> set_prompts(std::unique_ptr<user_prompts> replacement)
{
    if (!replacement)
        replacement = std::make_unique<widget_prompts>();
    installed().swap(replacement);
    return replacement;
}
