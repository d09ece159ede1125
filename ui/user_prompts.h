// Every modal exchange with the user goes through here: message boxes,
// questions, the modal showing of dialogs and file dialogs. The program
// uses the Qt widgets; tests install their own answers instead.
#pragma once

#include <QString>

#include <memory>

class QDialog;
class QWidget;

// What a file dialog starts with.
struct file_dialog_setup {
    QString folder;         // empty: the dialog picks one
    QString file_name;      // the name shown in the dialog's name box
    QString filter;         // e.g. "Файлы Korvalen (*.kvl)"
    QString default_suffix; // added to a name chosen without an extension
};

class user_prompts {
public:
    virtual ~user_prompts() = default;

    // A message box with an OK button only and no icon.
    virtual void notice(QWidget* parent, const QString& caption, const QString& text) = 0;
    // The error box of a failed command: the application title as caption.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // A question with the buttons Yes and Cancel; true for Yes.
    virtual bool confirm(QWidget* parent, const QString& text) = 0;
    // Shows a dialog modally and gives its result (QDialog::Accepted or Rejected).
    virtual int exec_dialog(QDialog& dialog) = 0;
    virtual void about(QWidget* parent, const QString& caption, const QString& text) = 0;
    // The chosen file, or an empty text when the user cancelled. Opening
    // wants an existing file; saving asks nothing before replacing one.
    virtual QString open_file_name(QWidget* parent, const QString& caption, const file_dialog_setup& setup) = 0;
    virtual QString save_file_name(QWidget* parent, const QString& caption, const file_dialog_setup& setup) = 0;
};

// The prompts in use: the Qt widgets unless something else was installed.
user_prompts& prompts();

// Installs other prompts (null: the Qt widgets again) and gives back the
// previous ones.
std::unique_ptr<user_prompts> set_prompts(std::unique_ptr<user_prompts> replacement);
