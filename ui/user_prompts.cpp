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

    QString open_file_name(QWidget* parent, const QString& caption, const QString& folder,
                           const QString& filter) override
    {
        return QFileDialog::getOpenFileName(parent, caption, folder, filter);
    }

    QString save_file_name(QWidget* parent, const QString& caption, const QString& folder,
                           const QString& filter) override
    {
        return QFileDialog::getSaveFileName(parent, caption, folder, filter);
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
