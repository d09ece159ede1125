#include "kvl_document.h"
#include "tax_rates_impl.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <stdexcept>
#include <sys/resource.h>

// A file size limit stands in for a full disk; unlike permissions it also
// stops root.
TEST(KvlDocumentPosix, FullDiskKeepsTheOldFile)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString path = temp.filePath(QStringLiteral("Отчёт.kvl"));
    write_kvl_document(path, 0, QStringLiteral("old"), {std::make_shared<year_item_class>(2001, 1)}, {},
                       QStringLiteral(","));
    QFile old_file(path);
    ASSERT_TRUE(old_file.open(QIODevice::ReadOnly));
    const QByteArray before = old_file.readAll();
    old_file.close();

    TItemsYear many;
    for (int k = 0; k < 1000; ++k)
        many.push_back(std::make_shared<year_item_class>(2000 + k % 20, k));

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 200;
    const auto saved_handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string message;
    try {
        write_kvl_document(path, 0, QStringLiteral("new"), many, {}, QStringLiteral(","));
    } catch (const std::runtime_error& e) {
        message = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, saved_handler);

    EXPECT_EQ(message.rfind("Не удалось сохранить документ «" + QDir::toNativeSeparators(path).toStdString() + "»: ", 0),
              0u)
        << message;
    ASSERT_TRUE(old_file.open(QIODevice::ReadOnly));
    EXPECT_EQ(old_file.readAll(), before);
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Отчёт.kvl")});
}
