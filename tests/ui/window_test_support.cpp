#include "window_test_support.h"

#include "platform_registry.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

void scripted_prompts::record(const QString& kind, const QString& caption, const QString& text)
{
    shown.push_back({kind, caption, text, QGuiApplication::overrideCursor() != nullptr, {}});
}

void scripted_prompts::notice(QWidget*, const QString& caption, const QString& text)
{
    record(QStringLiteral("notice"), caption, text);
}

void scripted_prompts::error(QWidget*, const QString& text)
{
    record(QStringLiteral("error"), {}, text);
}

bool scripted_prompts::confirm(QWidget*, const QString& text)
{
    record(QStringLiteral("confirm"), {}, text);
    if (confirm_answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return false;
    }
    const bool answer = confirm_answers.front();
    confirm_answers.pop_front();
    return answer;
}

int scripted_prompts::exec_dialog(QDialog& dialog)
{
    record(QStringLiteral("dialog"), dialog.windowTitle(), {});
    if (dialog_scripts.empty()) {
        ADD_FAILURE() << "unexpected dialog: " << dialog.windowTitle().toStdString();
        return QDialog::Rejected;
    }
    const auto script = std::move(dialog_scripts.front());
    dialog_scripts.pop_front();
    dialog.show();
    const int result = script(dialog);
    dialog.hide();
    return result;
}

void scripted_prompts::about(QWidget*, const QString& caption, const QString& text)
{
    record(QStringLiteral("about"), caption, text);
}

QString scripted_prompts::choose_file(const QString& kind, const QString& caption, const file_dialog_setup& setup)
{
    record(kind, caption, setup.folder);
    shown.back().file_dialog = setup;
    if (file_answers.empty())
        return {};
    const QString answer = file_answers.front();
    file_answers.pop_front();
    return answer;
}

QString scripted_prompts::open_file_name(QWidget*, const QString& caption, const file_dialog_setup& setup)
{
    return choose_file(QStringLiteral("open"), caption, setup);
}

QString scripted_prompts::save_file_name(QWidget*, const QString& caption, const file_dialog_setup& setup)
{
    return choose_file(QStringLiteral("save"), caption, setup);
}

std::vector<shown_prompt> scripted_prompts::take_shown()
{
    return std::exchange(shown, {});
}

scripted_prompts::dialog_script save_year_item(const QString& year, const QString& sum)
{
    return [year, sum](QDialog& dialog) {
        for (const auto& [name, text] : {std::pair{"eTaxRateYear", year}, std::pair{"eTaxRateSum", sum}}) {
            auto& edit = child<QLineEdit>(dialog, name);
            edit.clear();
            QTest::keyClicks(&edit, text);
        }
        child<QPushButton>(dialog, "bSave").click();
        return dialog.result();
    };
}

scripted_prompts::dialog_script close_year_item()
{
    return [](QDialog& dialog) {
        child<QPushButton>(dialog, "bClose").click();
        return dialog.result();
    };
}

void ui_test::SetUp()
{
    ASSERT_TRUE(settings_folder_.isValid());
    ASSERT_TRUE(documents_folder_.isValid());
    auto scripted = std::make_unique<scripted_prompts>();
    prompts_ = scripted.get();
    set_prompts(std::move(scripted));
    set_register_controller(
        make_file_register_controller(settings_folder_.filePath(QStringLiteral("settings")), "/opt/velmaris/velmaris"));
}

void ui_test::TearDown()
{
    EXPECT_TRUE(prompts_->confirm_answers.empty()) << "unused answers to questions";
    EXPECT_TRUE(prompts_->dialog_scripts.empty()) << "dialogs that were not shown";
    EXPECT_TRUE(prompts_->file_answers.empty()) << "file dialogs that were not shown";
    set_register_controller(nullptr);
    set_prompts(nullptr);
    prompts_ = nullptr;
}

system_facts ui_test::facts() const
{
    system_facts facts;
    facts.locale = QLocale(QLocale::Russian, QLocale::Russia);
    facts.current_year = 2026;
    facts.documents_folder = documents_folder_.path();
    return facts;
}
