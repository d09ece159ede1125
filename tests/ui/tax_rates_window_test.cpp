// The main window's start-up, thresholds, caption, menu and the top-level
// error handling.
#include "tax_rates.h"

#include "platform_registry.h"
#include "velmaris_application.h"
#include "window_test_support.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <stdexcept>

namespace {

const QString title = QStringLiteral("Velmaris - расчет по ст.ст. 198, 199 УК РФ");

const char* const threshold_labels[] = {
    "lLarge_size_sum",      "lLarge_size_percent",      "lLarge_size_percent_sum",
    "lVery_large_size_sum", "lVery_large_size_percent", "lVery_large_size_percent_sum",
};

QStringList thresholds(const QWidget& window)
{
    QStringList texts;
    for (const char* name : threshold_labels)
        texts << child<QLabel>(window, name).text();
    return texts;
}

class WindowStart : public ui_test {};

} // namespace

TEST_F(WindowStart, RunsEveryStepAndOpensReady)
{
    Tfrm_tax_rates window(facts());
    EXPECT_TRUE(prompts_->shown.empty());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(window.windowTitle(), title + " ");
    EXPECT_TRUE(QDir(documents_folder_.filePath("Korvalen/xml")).exists());
    EXPECT_EQ(child<QComboBox>(window, "cbxTypeSelect").currentText(), "Физическое лицо");
    EXPECT_EQ(thresholds(window)[0], "600000,00 руб");
    EXPECT_EQ(child<QLabel>(window, "cxtvDebtsFooter").text(), "Общая сумма: 0,00р.");
    EXPECT_NE(child<QTableView>(window, "cxtvDebts").model(), nullptr);
    EXPECT_NE(child<QTableView>(window, "cxtvLiabilities").model(), nullptr);
}

TEST_F(WindowStart, CreatesNoFoldersWithoutADocumentsFolder)
{
    auto without = facts();
    without.documents_folder = documents_folder_.filePath("missing");
    Tfrm_tax_rates window(without);
    EXPECT_FALSE(QDir(without.documents_folder).exists());
    EXPECT_TRUE(prompts_->shown.empty());
}

TEST_F(WindowStart, AFailingStepIsShownAndTheLaterStepsAreSkipped)
{
    const struct {
        const char* breakage;
        QString message_part;
    } cases[] = {
        {"no settings store", ""},
        {"a number stored where a period's text belongs", "MemberLargeSize"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.breakage);
        QDir(documents_folder_.path()).removeRecursively();
        QDir().mkpath(documents_folder_.path());
        if (c.message_part.isEmpty()) {
            set_register_controller(nullptr);
        } else {
            const QString file = settings_folder_.filePath("wrong-type.reg");
            QFile store(file);
            ASSERT_TRUE(store.open(QIODevice::WriteOnly));
            store.write("Windows Registry Editor Version 5.00\n\n"
                        "[HKEY_CURRENT_USER\\Software\\Korvalen\\Limitation]\n"
                        "\"MemberLargeSize\"=dword:00000003\n");
            store.close();
            set_register_controller(make_file_register_controller(file, "/opt/velmaris/velmaris"));
        }
        Tfrm_tax_rates window(facts());

        const auto shown = prompts_->take_shown();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].kind, "error");
        EXPECT_FALSE(shown[0].text.isEmpty());
        EXPECT_TRUE(shown[0].text.contains(c.message_part)) << shown[0].text.toStdString();
        EXPECT_FALSE(shown[0].busy_cursor) << "the hourglass is gone before the error box";
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

        // The steps before the failure ran ...
        EXPECT_TRUE(QDir(documents_folder_.filePath("Korvalen/xml")).exists());
        EXPECT_NE(child<QTableView>(window, "cxtvDebts").model(), nullptr);
        // ... the ones after it did not.
        EXPECT_EQ(thresholds(window), QStringList({"0 руб", "0 %", "0 руб", "0 руб", "0 %", "0 руб"}));
        EXPECT_EQ(window.windowTitle(), "frm_tax_rates");

        // The window works all the same.
        prompts_->dialog_scripts.push_back(save_year_item("2005", "10"));
        child<QPushButton>(window, "bInsDebt").click();
        EXPECT_EQ(child<QTableView>(window, "cxtvDebts").model()->rowCount(), 1);
        prompts_->take_shown();
    }
}

TEST_F(WindowStart, ThresholdsFollowTheCategoryInRussianRegionalSettings)
{
    Tfrm_tax_rates window(facts());
    auto& selector = child<QComboBox>(window, "cbxTypeSelect");
    EXPECT_EQ(selector.count(), 2);
    EXPECT_EQ(thresholds(window), QStringList({"600000,00 руб", "10%", "1800000,00 руб", "3000000,00 руб", "20%",
                                               "9000000,00 руб"}));
    const QString caption = window.windowTitle();

    selector.setCurrentIndex(1);
    EXPECT_EQ(selector.currentText(), "Юридическое лицо");
    EXPECT_EQ(thresholds(window), QStringList({"2000000,00 руб", "10%", "6000000,00 руб", "10000000,00 руб", "20%",
                                               "30000000,00 руб"}));
    EXPECT_EQ(window.windowTitle(), caption);

    selector.setCurrentIndex(-1); // no category: the labels stay
    EXPECT_EQ(thresholds(window)[0], "2000000,00 руб");
}

TEST(WindowCaption, NamesTheFileWithoutFolderAndLastExtension)
{
    const struct {
        QString file;
        QString expected;
    } cases[] = {
        {"", title + " "},
        {"C:\\Data\\Отчет.kvl", title + " - Отчет"},
        {"/home/user/отчет.2008.kvl", title + " - отчет.2008"},
        {"C:Отчет", title + " - Отчет"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(window_caption(c.file), c.expected) << c.file.toStdString();
}

TEST_F(WindowStart, MenuHoldsEveryCommand)
{
    Tfrm_tax_rates window(facts());
    QStringList entries;
    const auto walk = [&entries](const QMenu& menu, const QString& path, const auto& self) -> void {
        for (QAction* action : menu.actions()) {
            if (action->isSeparator())
                entries << path + "|-";
            else if (action->menu())
                self(*action->menu(), path + "|" + action->text(), self);
            else
                entries << path + "|" + action->text() + "=" + action->objectName();
            EXPECT_TRUE(action->isEnabled());
            EXPECT_TRUE(action->shortcut().isEmpty());
        }
    };
    for (QAction* top : child<QMenuBar>(window, "mm").actions())
        walk(*top->menu(), top->text(), walk);
    EXPECT_EQ(entries, QStringList({
                           "Файл|Новый=aCreateNewItems",
                           "Файл|Открыть=aLoadFromXML",
                           "Файл|-",
                           "Файл|Сохранить=aSaveToXML",
                           "Файл|Сохранить как...=aSaveFileAs",
                           "Файл|-",
                           "Файл|Сохранить протокол...=aSaveProtocol",
                           "Файл|Сохранить протокол как PDF...=aSaveProtocolPdf",
                           "Файл|Печать протокола...=aPrintProtocol",
                           "Файл|-",
                           "Файл|Закрыть=aClose",
                           "Настройки|Сроки давности...=aLimitation",
                           "Настройки|Расширение файлов|Зарегистрировать расширение в системе=aRegisterAssigned",
                           "Настройки|Расширение файлов|Удалить регистрацию расширения=aUnRegisterAssigned",
                           "Помощь|О программе=N15",
                       }));
}

TEST_F(WindowStart, AboutBoxAndClose)
{
    Tfrm_tax_rates window(facts());
    window.show();
    child<QAction>(window, "N15").trigger();
    const auto shown = prompts_->take_shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, "about");
    EXPECT_TRUE(shown[0].text.startsWith("Расчет по ст.ст. 198, 199 УК РФ 1.0\n"));
    EXPECT_FALSE(window.windowIcon().isNull());

    child<QAction>(window, "aClose").trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(prompts_->shown.empty()) << "closing asks nothing";
}

namespace {

class throwing_object : public QObject {
public:
    int events = 0;
    bool event(QEvent* event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        if (++events == 1)
            throw std::runtime_error("Ошибка при регистрации расширения: отказано в доступе");
        return true;
    }
};

class TopLevelErrors : public ui_test {};

} // namespace

TEST_F(TopLevelErrors, AFailureIsShownAndTheProgramGoesOn)
{
    throwing_object target;
    QEvent first(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&target, &first));
    const auto shown = prompts_->take_shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, "error");
    EXPECT_EQ(shown[0].text, "Ошибка при регистрации расширения: отказано в доступе");

    QEvent second(QEvent::User);
    EXPECT_TRUE(QCoreApplication::sendEvent(&target, &second));
    EXPECT_EQ(target.events, 2);
    EXPECT_TRUE(prompts_->shown.empty());

    // A command behind a button: the click ends, the button stays usable.
    QPushButton button("+");
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&clicks] {
        run_command([&clicks] {
            if (++clicks == 1)
                throw std::invalid_argument("Не удалось выполнить команду");
        });
    });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
    const auto after_click = prompts_->take_shown();
    ASSERT_EQ(after_click.size(), 1u);
    EXPECT_EQ(after_click[0].text, "Не удалось выполнить команду");
    EXPECT_FALSE(button.isDown());
}
