// The report of the last analysis: saved as HTML and PDF, printed.
#include "tax_rates.h"

#include "register_ctrlr.h"
#include "subject_datasource.h"
#include "tax_rates_impl.h"
#include "window_test_support.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace {

class ProtocolReportWindow : public ui_test {
protected:
    std::unique_ptr<Tfrm_tax_rates> window;

    void SetUp() override
    {
        ui_test::SetUp();
        register_controller().save_member_limitation(2, 5);
        register_controller().save_company_limitation(2, 5);
        window = std::make_unique<Tfrm_tax_rates>(facts());
    }

    void TearDown() override
    {
        window.reset();
        ui_test::TearDown();
    }

    void analyse_example()
    {
        const auto fill = [this](const char* view, double sum) {
            auto* source = qobject_cast<subject_datasource_class*>(child<QTableView>(*window, view).model());
            for (int year : {2007, 2008, 2009})
                source->append_item(std::make_shared<year_item_class>(static_cast<std::uint16_t>(year), sum));
            source->notify_data_changed();
        };
        fill("cxtvLiabilities", 1000000);
        fill("cxtvDebts", 100000);
        child<QLineEdit>(*window, "eTypeName").setText(QStringLiteral("<Иванов> & Ко"));
        child<QPushButton>(*window, "bAnalysis").click();
    }

    void trigger(const char* action) { child<QAction>(*window, action).trigger(); }

    QByteArray saved(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

} // namespace

TEST_F(ProtocolReportWindow, SavesTheLastAnalysisAsHtmlAndPdf)
{
    analyse_example();
    const QString html = documents_folder_.filePath(QStringLiteral("протокол.html"));
    const QString pdf = documents_folder_.filePath(QStringLiteral("протокол.pdf"));
    prompts_->file_answers = {html, pdf};
    trigger("aSaveProtocol");
    trigger("aSaveProtocolPdf");

    const QString page = QString::fromUtf8(saved(html));
    EXPECT_EQ(page.count(QStringLiteral("bgcolor=\"#ff00ff\"")), 2);
    EXPECT_TRUE(page.contains(QStringLiteral("&lt;Иванов&gt; &amp; Ко")));
    const QByteArray document = saved(pdf);
    EXPECT_TRUE(document.startsWith("%PDF")) << document.left(16).toStdString();
    EXPECT_GT(document.size(), 1000);

    // Editing the tables afterwards does not change the report already made.
    auto* debts = qobject_cast<subject_datasource_class*>(child<QTableView>(*window, "cxtvDebts").model());
    debts->clear_items();
    prompts_->file_answers = {html};
    trigger("aSaveProtocol");
    EXPECT_EQ(QString::fromUtf8(saved(html)).count(QStringLiteral("bgcolor=\"#ff00ff\"")), 2);
}

TEST_F(ProtocolReportWindow, WithoutAnAnalysisOrAFileNothingIsWritten)
{
    trigger("aSaveProtocol");
    trigger("aPrintProtocol");
    const auto shown = prompts_->take_shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].kind, QStringLiteral("notice"));
    EXPECT_EQ(shown[0].caption, QStringLiteral("Внимание"));

    analyse_example();
    prompts_->file_answers = {QString()}; // cancelled
    trigger("aSaveProtocolPdf");
    prompts_->dialog_scripts.push_back([](QDialog&) { return int(QDialog::Rejected); });
    trigger("aPrintProtocol");
    EXPECT_TRUE(QDir(documents_folder_.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(ProtocolReportWindow, AFailedSaveIsShown)
{
    analyse_example();
    const QString blocker = documents_folder_.filePath(QStringLiteral("file"));
    QFile(blocker).open(QIODevice::WriteOnly);
    prompts_->file_answers = {blocker + QStringLiteral("/протокол.pdf")};
    prompts_->take_shown();
    trigger("aSaveProtocolPdf");
    const auto shown = prompts_->take_shown();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().kind, QStringLiteral("error"));
    EXPECT_TRUE(shown.back().text.contains(QStringLiteral("протокол.pdf")));
}
