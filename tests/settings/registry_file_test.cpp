// The text store in a file, as several copies of the program share it.
#include "platform_registry.h"
#include "registry_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray contents(const QString& file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("(unreadable)");
}

void put(const QString& file, const QByteArray& data)
{
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(data);
}

class registry_file : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }

    QTemporaryDir folder_;
    // In a folder that does not exist yet: the store makes it.
    QString file_ = folder_.filePath(QStringLiteral("config/Korvalen/registry.reg"));
};

TEST_F(registry_file, keeps_the_settings_readable_in_the_file)
{
    const auto controller = make_file_register_controller(file_, "/opt/Velmaris/velmaris");
    EXPECT_FALSE(QFile::exists(file_));
    controller->save_member_limitation(5, 10);
    controller->register_extension(".kvl");

    const QByteArray text = contents(file_);
    EXPECT_TRUE(text.startsWith("Windows Registry Editor Version 5.00\n")) << text.constData();
    EXPECT_TRUE(text.contains("[HKEY_CURRENT_USER\\Software\\Korvalen\\Limitation]\n"
                              "\"MemberLargeSize\"=\"5\"\n"
                              "\"MemberVeryLargeSize\"=\"10\"\n"))
        << text.constData();
    EXPECT_TRUE(text.contains("[HKEY_CLASSES_ROOT\\Korvalen]\n"
                              "@=\"Velmaris - расчет по ст.ст. 198, 199 УК РФ\"\n"))
        << text.constData();
    EXPECT_TRUE(text.contains("@=\"\\\"/opt/Velmaris/velmaris\\\" \\\"%1\\\"\"\n")) << text.constData();
    EXPECT_FALSE(QFile::exists(file_ + QStringLiteral(".lock")));

    // A fresh store object on the same file reads it back.
    const auto again = make_file_register_controller(file_, "/opt/Velmaris/velmaris");
    EXPECT_EQ(again->read_member_limitation()->get_very_large_size_period(), 10);
}

TEST_F(registry_file, two_stores_on_one_file_keep_each_others_writes)
{
    const auto first = make_file_registry_provider(file_);
    const auto second = make_file_registry_provider(file_);
    auto a = first->open(registry_root_key::current_user);
    auto b = second->open(registry_root_key::current_user);
    ASSERT_TRUE(a->open_key("Software\\Korvalen\\Limitation", true));
    ASSERT_TRUE(b->open_key("Software\\Korvalen\\Limitation", true));
    for (int i = 0; i < 3; ++i) {
        a->write_string("A" + std::to_string(i), "a");
        b->write_string("B" + std::to_string(i), "b");
    }
    EXPECT_EQ(a->get_value_names(), (std::vector<std::string>{"A0", "B0", "A1", "B1", "A2", "B2"}));
}

TEST_F(registry_file, copies_writing_at_once_lose_nothing)
{
    std::vector<std::unique_ptr<QProcess>> copies;
    for (const char* prefix : {"x", "y", "z"}) {
        copies.push_back(std::make_unique<QProcess>());
        copies.back()->start(QStringLiteral(REGISTRY_PROBE), {file_, QStringLiteral("fill"), prefix, "40"});
    }
    for (const auto& copy : copies) {
        ASSERT_TRUE(copy->waitForFinished(60000));
        EXPECT_EQ(copy->exitCode(), 0) << copy->readAllStandardError().constData();
    }
    auto access = make_file_registry_provider(file_)->open(registry_root_key::current_user);
    ASSERT_TRUE(access->open_key("Software\\Korvalen\\Fill", false));
    EXPECT_EQ(access->get_value_names().size(), 120u);
    EXPECT_EQ(access->read_string("y39"), "39");
}

TEST_F(registry_file, a_save_in_one_process_reads_back_in_another)
{
    QProcess probe;
    probe.start(QStringLiteral(REGISTRY_PROBE), {file_, "save", "3", "6", "-2", "15"});
    ASSERT_TRUE(probe.waitForFinished(60000));
    ASSERT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().constData();

    const auto controller = make_file_register_controller(file_, "velmaris");
    const auto faces = controller->load_limitation_faces();
    EXPECT_EQ(faces->find_definition(face_member)->get_very_large_size_period(), 6);
    EXPECT_EQ(faces->find_definition(face_company)->get_large_size_period(), -2);

    controller->save_company_limitation(4, 8);
    probe.start(QStringLiteral(REGISTRY_PROBE), {file_, "expect", "3", "6", "4", "8"});
    ASSERT_TRUE(probe.waitForFinished(60000));
    EXPECT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().constData();
}

TEST_F(registry_file, a_broken_file_is_reported_and_never_overwritten)
{
    const QByteArray broken = "Windows Registry Editor Version 5.00\n"
                              "\n"
                              "[HKEY_CURRENT_USER\\Software\\Korvalen\\Limitation]\n"
                              "\"MemberLargeSize\"=\"5\n";
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file_).absolutePath()));
    put(file_, broken);
    const auto controller = make_file_register_controller(file_, "velmaris");
    const std::string message = "Ошибка в файле «" + QDir::toNativeSeparators(file_).toStdString()
        + "», строка 4: не закрыта кавычка";

    try {
        controller->load_limitation_faces();
        FAIL() << "loaded";
    } catch (const registry_error& error) {
        EXPECT_EQ(error.what(), message);
    }
    try {
        controller->save_member_limitation(1, 2);
        FAIL() << "saved";
    } catch (const registry_error& error) {
        EXPECT_EQ(error.what(), "Ошибка регистрации сроков давности физ.лица: " + message);
    }
    EXPECT_THROW(controller->register_extension(".kvl"), registry_error);
    EXPECT_THROW(controller->unregister_extension(".kvl"), registry_error);
    EXPECT_EQ(contents(file_), broken);
}

TEST_F(registry_file, a_write_that_cannot_get_the_lock_leaves_the_file_as_it_was)
{
    const auto provider = make_file_registry_provider(file_, std::chrono::milliseconds(50));
    const register_controller_class controller(provider, "velmaris");
    controller.save_member_limitation(1, 2);
    const QByteArray before = contents(file_);

    // Another copy of the program holds the lock.
    QLockFile other(file_ + QStringLiteral(".lock"));
    ASSERT_TRUE(other.tryLock(0));
    try {
        controller.save_member_limitation(3, 4);
        FAIL() << "saved";
    } catch (const registry_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Ошибка регистрации сроков давности физ.лица: Не удалось записать значение «MemberLargeSize»: Файл «"
                      + QDir::toNativeSeparators(file_).toStdString() + "» занят другой копией программы");
    }
    // Reading needs no lock.
    EXPECT_EQ(controller.read_member_limitation()->get_large_size_period(), 1);
    EXPECT_EQ(contents(file_), before);
}

} // namespace
