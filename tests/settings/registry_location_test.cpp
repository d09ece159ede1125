// Where the program keeps its settings without a system registry.
#include "platform_registry.h"
#include "registry_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray contents(const QString& file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("(unreadable)");
}

TEST(registry_file_location, is_in_the_users_config_folder)
{
    // The test's main points the config folder at a temporary one.
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    ASSERT_FALSE(config.isEmpty());
    EXPECT_EQ(default_registry_file(), config + QStringLiteral("/Korvalen/registry.reg"));

    const auto controller = make_platform_register_controller();
    controller->save_company_limitation(2, 4);
    controller->register_extension(".kvl");
    EXPECT_TRUE(contents(default_registry_file()).contains("\"CompanyVeryLargeSize\"=\"4\""));
    // The running program's own path, quoted, goes into the open command.
    const QString command = QStringLiteral("@=\"\\\"%1\\\" \\\"%2\\\"\"")
                                .arg(QDir::toNativeSeparators(QCoreApplication::applicationFilePath()),
                                     QStringLiteral("%1"));
    EXPECT_TRUE(contents(default_registry_file()).contains(command.toUtf8())) << contents(default_registry_file()).constData();
}

} // namespace
