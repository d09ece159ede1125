// The limitation period dialog and the window's menu "Настройки": the
// dialog driven by object name, the menu through its actions with scripted
// dialogs, both against a settings store in a temporary file.
#include "limitation_frm.h"
#include "tax_rates.h"

#include "platform_registry.h"
#include "registry_file.h"
#include "window_test_support.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include <array>
#include <functional>
#include <map>

namespace {

const QString title = QStringLiteral("Velmaris - расчет по ст.ст. 198, 199 УК РФ");
const QString caption = QStringLiteral("Указать сроки давности для физ/юр. лиц");
const QString program_path = QStringLiteral("/opt/velmaris/velmaris");
const std::string limitation_key = "Software\\Korvalen\\Limitation";

// In tab order, and the value each is stored under.
const std::array<const char*, 4> edit_names = {"eLargeSizeMember", "eVeryLargeSizeMember", "eLargeSizeCompany",
                                               "eVeryLargeSizeCompany"};
const std::array<const char*, 4> value_names = {"MemberLargeSize", "MemberVeryLargeSize", "CompanyLargeSize",
                                                "CompanyVeryLargeSize"};

QStringList edit_texts(const QWidget& dialog)
{
    QStringList texts;
    for (const char* name : edit_names)
        texts << child<QLineEdit>(dialog, name).text();
    return texts;
}

void type_periods(QWidget& dialog, const QStringList& texts)
{
    for (std::size_t i = 0; i < edit_names.size(); ++i) {
        auto& edit = child<QLineEdit>(dialog, edit_names[i]);
        edit.clear();
        QTest::keyClicks(&edit, texts.value(static_cast<qsizetype>(i)));
    }
}

void press_enter(QWidget& dialog)
{
    QTest::keyClick(&child<QLineEdit>(dialog, "eVeryLargeSizeCompany"), Qt::Key_Return);
}

// Large and very large period of the individual, then of the organisation;
// a missing definition shows as -99.
std::vector<int> periods_of(const std::shared_ptr<limitation_faces_interface>& faces)
{
    std::vector<int> periods;
    for (const face_type face : {face_member, face_company}) {
        const auto definition = faces ? faces->find_definition(face) : nullptr;
        periods.push_back(definition ? definition->get_large_size_period() : -99);
        periods.push_back(definition ? definition->get_very_large_size_period() : -99);
    }
    return periods;
}

class SettingsStoreTest : public ui_test {
protected:
    // The store that ui_test installs.
    QString store_file() const { return settings_folder_.filePath(QStringLiteral("settings")); }

    void use_store(const QString& file)
    {
        set_register_controller(make_file_register_controller(file, program_path.toStdString()));
    }

    // A store that cannot be written until the regular file in place of its
    // folder is removed; reading it finds nothing.
    QString blocked_store()
    {
        QFile blocker(settings_folder_.filePath(QStringLiteral("blocker")));
        EXPECT_TRUE(blocker.open(QIODevice::WriteOnly));
        return blocker.fileName() + QStringLiteral("/settings");
    }
    void unblock() { EXPECT_TRUE(QFile::remove(settings_folder_.filePath(QStringLiteral("blocker")))); }

    // The four stored texts, read afresh from `file`; "-" for a missing value.
    static QStringList stored_texts(const QString& file)
    {
        const auto access = make_file_registry_provider(file)->open(registry_root_key::current_user);
        QStringList texts;
        const bool open = access->open_key(limitation_key, false);
        for (const char* name : value_names) {
            if (!open || access->get_data_type(name) == registry_data_type::none)
                texts << QStringLiteral("-");
            else
                texts << QString::fromStdString(access->read_string(name));
        }
        return texts;
    }
    QStringList stored_texts() const { return stored_texts(store_file()); }

    // What a controller made afresh on the store reads.
    std::vector<int> stored_periods(const QString& file) const
    {
        return periods_of(make_file_register_controller(file, program_path.toStdString())->load_limitation_faces());
    }

    static void store(int member_large, int member_very_large, int company_large, int company_very_large)
    {
        register_controller().save_member_limitation(member_large, member_very_large);
        register_controller().save_company_limitation(company_large, company_very_large);
    }
};

class LimitationDialog : public SettingsStoreTest {};

} // namespace

TEST_F(LimitationDialog, IsASmallToolWindowWithTheEditsInTabOrder)
{
    Tfrm_limitation dialog(nullptr);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), caption);
    EXPECT_EQ(dialog.windowType(), Qt::Tool);
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "not resizable";
    EXPECT_EQ(dialog.font().families().value(0), "Tahoma");

    for (const char* heading : {"cxLabel4", "cxLabel7"}) {
        const QFont font = child<QLabel>(dialog, heading).font();
        EXPECT_TRUE(font.underline()) << heading;
        EXPECT_GT(font.pointSize(), dialog.font().pointSize()) << heading;
    }
    QStringList labels;
    for (const char* name : {"cxLabel4", "cxLabel2", "cxLabel3", "cxLabel7", "cxLabel5", "cxLabel6"})
        labels << child<QLabel>(dialog, name).text();
    EXPECT_EQ(labels, QStringList({"Физическое лицо", "Крупный размер:", "Особо крупный размер:", "Юридическое лицо",
                                   "Крупный размер:", "Особо крупный размер:"}));
    // The individual's column on the left.
    EXPECT_LT(child<QLineEdit>(dialog, "eLargeSizeMember").x(), child<QLineEdit>(dialog, "eLargeSizeCompany").x());

    auto& save = child<QPushButton>(dialog, "bSave");
    EXPECT_EQ(save.text(), "Сохранить");
    EXPECT_TRUE(save.isDefault());
    EXPECT_EQ(child<QPushButton>(dialog, "bClose").text(), "Закрыть");

    QStringList chain;
    QWidget* widget = &child<QLineEdit>(dialog, "eLargeSizeMember");
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            chain << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget && widget->objectName() != "eLargeSizeMember");
    EXPECT_EQ(chain, QStringList({"eLargeSizeMember", "eVeryLargeSizeMember", "eLargeSizeCompany",
                                  "eVeryLargeSizeCompany", "bSave", "bClose"}));
    EXPECT_TRUE(prompts_->shown.empty());
}

TEST_F(LimitationDialog, FirstUseShowsZerosAndSavingStoresThem)
{
    Tfrm_limitation dialog(nullptr);
    dialog.show();
    EXPECT_EQ(edit_texts(dialog), QStringList({"0", "0", "0", "0"}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(stored_texts(), QStringList({"-", "-", "-", "-"}));

    child<QPushButton>(dialog, "bSave").click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(stored_texts(), QStringList({"0", "0", "0", "0"}));
    EXPECT_EQ(periods_of(dialog.GetLimitationFaces()), std::vector<int>({0, 0, 0, 0}));
    EXPECT_TRUE(prompts_->shown.empty());
}

TEST_F(LimitationDialog, StoresTheTypedPeriodsAndShowsThemNextTime)
{
    const struct {
        QStringList typed;
        QStringList stored;
        std::vector<int> periods;
    } cases[] = {
        {{"3", "6", "5", "10"}, {"3", "6", "5", "10"}, {3, 6, 5, 10}},
        {{"a", " ", "-1", "12 y"}, {"0", "0", "-1", "0"}, {0, 0, -1, 0}},
        {{" 4", "2147483648", "1.5", "-0"}, {"4", "0", "0", "0"}, {4, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.join('|').toStdString());
        {
            Tfrm_limitation dialog(nullptr);
            dialog.show();
            type_periods(dialog, c.typed);
            press_enter(dialog);
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_EQ(periods_of(dialog.GetLimitationFaces()), c.periods);
        }
        EXPECT_EQ(stored_texts(), c.stored);
        EXPECT_EQ(stored_periods(store_file()), c.periods);

        Tfrm_limitation next(nullptr);
        EXPECT_EQ(edit_texts(next), c.stored);
        EXPECT_TRUE(prompts_->shown.empty());
    }
}

TEST_F(LimitationDialog, AnEmptyFieldIsRefusedAndNothingIsStored)
{
    store(1, 2, 3, 4);
    for (std::size_t empty = 0; empty < edit_names.size(); ++empty) {
        SCOPED_TRACE(edit_names[empty]);
        Tfrm_limitation dialog(nullptr);
        dialog.show();
        QStringList typed = {"9", "9", "9", "9"};
        typed[static_cast<qsizetype>(empty)].clear();
        type_periods(dialog, typed);
        press_enter(dialog);

        const auto shown = prompts_->take_shown();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].kind, "notice");
        EXPECT_EQ(shown[0].caption, title);
        EXPECT_EQ(shown[0].text, "Необходимо заполнить все поля");
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(edit_texts(dialog), typed);
        EXPECT_EQ(stored_texts(), QStringList({"1", "2", "3", "4"}));

        // Filled in, it saves.
        QTest::keyClicks(&child<QLineEdit>(dialog, edit_names[empty]), "8");
        child<QPushButton>(dialog, "bSave").click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        typed[static_cast<qsizetype>(empty)] = "8";
        EXPECT_EQ(stored_texts(), typed);
        store(1, 2, 3, 4);
    }
}

TEST_F(LimitationDialog, EveryOtherWayOfClosingStoresNothing)
{
    store(1, 2, 3, 4);
    const std::map<std::string, std::function<void(Tfrm_limitation&)>> ways = {
        {"Закрыть", [](Tfrm_limitation& dialog) { child<QPushButton>(dialog, "bClose").click(); }},
        {"Esc", [](Tfrm_limitation& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }},
        {"close box", [](Tfrm_limitation& dialog) { dialog.close(); }},
    };
    for (const auto& [way, close] : ways) {
        SCOPED_TRACE(way);
        Tfrm_limitation dialog(nullptr);
        dialog.show();
        type_periods(dialog, {"9", "", "x", "9"});
        close(dialog);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(stored_texts(), QStringList({"1", "2", "3", "4"}));
        EXPECT_TRUE(prompts_->shown.empty()) << "no check on the way out";
    }
}

TEST_F(LimitationDialog, AFailedStoreKeepsTheInputAndTheNextSaveHandsOverWhatItStored)
{
    const QString file = blocked_store();
    use_store(file);
    Tfrm_limitation dialog(nullptr);
    dialog.show();
    EXPECT_EQ(edit_texts(dialog), QStringList({"0", "0", "0", "0"}));
    type_periods(dialog, {"3", "6", "5", "10"});
    press_enter(dialog);

    const auto shown = prompts_->take_shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, "error");
    EXPECT_TRUE(shown[0].text.startsWith("Ошибка регистрации сроков давности физ.лица: ")) << shown[0].text.toStdString();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(edit_texts(dialog), QStringList({"3", "6", "5", "10"}));

    unblock();
    type_periods(dialog, {"7", "8", "9", "11"});
    child<QPushButton>(dialog, "bSave").click();
    EXPECT_TRUE(prompts_->shown.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(periods_of(dialog.GetLimitationFaces()), std::vector<int>({7, 8, 9, 11}));
    EXPECT_EQ(stored_texts(file), QStringList({"7", "8", "9", "11"}));
}

TEST_F(LimitationDialog, AReadErrorIsShownAndTheDialogOpensEmptyAndStoresAllTheSame)
{
    const QString file = settings_folder_.filePath(QStringLiteral("number-value.reg"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("Windows Registry Editor Version 5.00\n\n"
              "[HKEY_CURRENT_USER\\Software\\Korvalen\\Limitation]\n"
              "\"MemberLargeSize\"=dword:00000003\n"
              "\"CompanyLargeSize\"=\"5\"\n");
    out.close();
    use_store(file);

    Tfrm_limitation dialog(nullptr);
    const auto shown = prompts_->take_shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, "error");
    EXPECT_TRUE(shown[0].text.contains("MemberLargeSize")) << shown[0].text.toStdString();
    EXPECT_FALSE(shown[0].busy_cursor) << "the hourglass is gone before the error box";
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    dialog.show();
    EXPECT_EQ(edit_texts(dialog), QStringList({"", "", "", ""}));
    type_periods(dialog, {"1", "2", "3", "4"});
    press_enter(dialog);
    EXPECT_TRUE(prompts_->shown.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(periods_of(dialog.GetLimitationFaces()), std::vector<int>({1, 2, 3, 4}));
    EXPECT_EQ(stored_periods(file), std::vector<int>({1, 2, 3, 4}));
}

namespace {

class SettingsMenu : public SettingsStoreTest {
protected:
    std::unique_ptr<Tfrm_tax_rates> window;

    void open_window() { window = std::make_unique<Tfrm_tax_rates>(facts()); }

    void TearDown() override
    {
        window.reset();
        SettingsStoreTest::TearDown();
    }

    void trigger(const char* action) { child<QAction>(*window, action).trigger(); }

    // Runs the analysis for the category; its refusal, or empty when it ran
    // and wrote a protocol.
    QString analyse(int category)
    {
        child<QComboBox>(*window, "cbxTypeSelect").setCurrentIndex(category);
        child<QTextEdit>(*window, "rProtocol").clear();
        child<QPushButton>(*window, "bAnalysis").click();
        const auto shown = prompts_->take_shown();
        if (!shown.empty())
            return shown[0].text;
        return child<QTextEdit>(*window, "rProtocol").toPlainText().isEmpty() ? QStringLiteral("no protocol")
                                                                             : QString();
    }

    // Key path -> default value of everything under HKEY_CLASSES_ROOT that a
    // registration writes.
    std::map<std::string, std::string> file_type_keys() const
    {
        const auto access = make_file_registry_provider(store_file())->open(registry_root_key::classes_root);
        std::map<std::string, std::string> keys;
        for (const char* path : {".kvl", "Korvalen", "Korvalen\\Shell\\Open\\Command", "Korvalen\\DefaultIcon"}) {
            if (access->open_key(path, false))
                keys[path] = access->read_string("");
        }
        return keys;
    }
};

} // namespace

TEST_F(SettingsMenu, ConfirmedPeriodsAreStoredAndUsedByTheAnalysis)
{
    open_window();
    prompts_->dialog_scripts.push_back(save_year_item("2020", "1000"));
    child<QPushButton>(*window, "bInsDebt").click();
    prompts_->take_shown();
    EXPECT_EQ(analyse(face_member), "Не задан срок давности");
    EXPECT_EQ(analyse(face_company), "Не задан срок давности");

    QStringList shown_at_start;
    prompts_->dialog_scripts.push_back([&shown_at_start](QDialog& dialog) {
        shown_at_start = edit_texts(dialog);
        type_periods(dialog, {"3", "6", "5", "10"});
        press_enter(dialog);
        return dialog.result();
    });
    trigger("aLimitation");
    const auto shown = prompts_->take_shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, "dialog");
    EXPECT_EQ(shown[0].caption, caption);
    EXPECT_EQ(shown_at_start, QStringList({"0", "0", "0", "0"}));

    EXPECT_EQ(stored_texts(), QStringList({"3", "6", "5", "10"}));
    EXPECT_EQ(stored_periods(store_file()), std::vector<int>({3, 6, 5, 10}));
    EXPECT_EQ(analyse(face_member), "");
    EXPECT_EQ(analyse(face_company), "");

    QStringList shown_next;
    prompts_->dialog_scripts.push_back([&shown_next](QDialog& dialog) {
        shown_next = edit_texts(dialog);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        return dialog.result();
    });
    trigger("aLimitation");
    prompts_->take_shown();
    EXPECT_EQ(shown_next, QStringList({"3", "6", "5", "10"}));
}

TEST_F(SettingsMenu, CancelKeepsTheWindowsPeriodsAndTheStore)
{
    store(3, 6, 5, 10);
    open_window();
    prompts_->dialog_scripts.push_back(save_year_item("2020", "1000"));
    child<QPushButton>(*window, "bInsDebt").click();

    // Periods of 0 would make the analysis refuse, had the window taken them.
    prompts_->dialog_scripts.push_back([](QDialog& dialog) {
        type_periods(dialog, {"0", "0", "0", "0"});
        child<QPushButton>(dialog, "bClose").click();
        return dialog.result();
    });
    trigger("aLimitation");
    prompts_->take_shown();
    EXPECT_EQ(stored_texts(), QStringList({"3", "6", "5", "10"}));
    EXPECT_EQ(analyse(face_member), "");
    EXPECT_EQ(analyse(face_company), "");
}

TEST_F(SettingsMenu, RegistrationCommandsWriteAndRemoveTheFileTypeSilently)
{
    open_window();
    const std::map<std::string, std::string> registered = {
        {".kvl", "Korvalen"},
        {"Korvalen", title.toStdString()},
        {"Korvalen\\Shell\\Open\\Command", "\"/opt/velmaris/velmaris\" \"%1\""},
        {"Korvalen\\DefaultIcon", "/opt/velmaris/velmaris, 0"},
    };
    for (int round = 0; round < 2; ++round) {
        trigger("aRegisterAssigned");
        EXPECT_EQ(file_type_keys(), registered);
    }
    for (int round = 0; round < 2; ++round) {
        trigger("aUnRegisterAssigned");
        EXPECT_TRUE(file_type_keys().empty());
    }
    EXPECT_TRUE(prompts_->shown.empty()) << "no question, no message";
}

TEST_F(SettingsMenu, AFailedRegistrationIsShown)
{
    use_store(blocked_store());
    open_window();
    EXPECT_TRUE(prompts_->take_shown().empty());
    trigger("aRegisterAssigned");
    const auto shown = prompts_->take_shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, "error");
    EXPECT_TRUE(shown[0].text.startsWith("Ошибка при регистрации расширения: ")) << shown[0].text.toStdString();

    // Keys that cannot be deleted pass without a message.
    trigger("aUnRegisterAssigned");
    EXPECT_TRUE(prompts_->shown.empty());
}
