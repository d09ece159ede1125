// What the window tests share: prompts whose answers a test scripts, a
// fixture with settings and documents in temporary folders, and finding
// widgets by object name.
#pragma once

#include "system_facts.h"
#include "user_prompts.h"

#include <QDialog>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

struct shown_prompt {
    QString kind; // "notice", "error", "confirm", "dialog", "about", "open", "save"
    QString caption;
    QString text;
    bool busy_cursor = false; // whether the hourglass was up while it was shown
    file_dialog_setup file_dialog; // what an "open" or "save" dialog started with
};

class scripted_prompts final : public user_prompts {
public:
    using dialog_script = std::function<int(QDialog&)>;

    std::vector<shown_prompt> shown;
    std::deque<bool> confirm_answers;
    std::deque<dialog_script> dialog_scripts;
    // The files chosen in file dialogs, in turn; an empty text or none left
    // cancels the dialog.
    std::deque<QString> file_answers;

    void notice(QWidget* parent, const QString& caption, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    bool confirm(QWidget* parent, const QString& text) override;
    int exec_dialog(QDialog& dialog) override;
    void about(QWidget* parent, const QString& caption, const QString& text) override;
    QString open_file_name(QWidget* parent, const QString& caption, const file_dialog_setup& setup) override;
    QString save_file_name(QWidget* parent, const QString& caption, const file_dialog_setup& setup) override;

    std::vector<shown_prompt> take_shown();

private:
    void record(const QString& kind, const QString& caption, const QString& text);
    QString choose_file(const QString& kind, const QString& caption, const file_dialog_setup& setup);
};

// A widget by object name; a missing one fails the test with its name.
template <class T>
T& child(const QObject& parent, const char* name)
{
    if (auto* found = parent.findChild<T*>(QString::fromLatin1(name)))
        return *found;
    throw std::runtime_error(std::string("no child named ") + name);
}

// Dialog scripts for the year item dialog: type the texts and press a button.
scripted_prompts::dialog_script save_year_item(const QString& year, const QString& sum);
scripted_prompts::dialog_script close_year_item();

class ui_test : public ::testing::Test {
protected:
    scripted_prompts* prompts_ = nullptr;
    QTemporaryDir settings_folder_;
    QTemporaryDir documents_folder_;

    void SetUp() override;
    void TearDown() override;

    // Russian regional settings, the year 2026, a fresh documents folder.
    system_facts facts() const;
};
