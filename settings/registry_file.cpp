#include "registry_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <string_view>
#include <utility>

namespace {

class file_storage final : public registry_text_storage_interface {
public:
    file_storage(QString file, std::chrono::milliseconds lock_timeout)
        : file_(std::move(file)), lock_timeout_(lock_timeout)
    {
    }

    registry_text_document load() const override
    {
        check_named();
        return read();
    }

    void modify(const std::function<bool(registry_text_document&)>& change) override
    {
        check_named();
        const QString folder = QFileInfo(file_).absolutePath();
        if (!QDir().mkpath(folder))
            throw registry_store_error("Не удалось создать папку «" + native(folder) + "»");

        QLockFile lock(file_ + QStringLiteral(".lock"));
        if (!lock.tryLock(lock_timeout_)) {
            switch (lock.error()) {
            case QLockFile::LockFailedError:
                throw registry_store_error("Файл «" + native(file_) + "» занят другой копией программы");
            case QLockFile::PermissionError:
                throw registry_store_error("Нет прав на создание файла блокировки «" + native(lock_name()) + "»");
            default:
                throw registry_store_error("Не удалось заблокировать файл «" + native(file_) + "»");
            }
        }

        // Read again under the lock: another copy may have written meanwhile.
        registry_text_document document = read();
        if (!change(document))
            return;
        const std::string text = document.to_text();
        QSaveFile out(file_);
        if (!out.open(QIODevice::WriteOnly)
            || out.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())
            || !out.commit())
            throw registry_store_error("Не удалось записать файл «" + native(file_)
                                       + "»: " + out.errorString().toStdString());
    }

private:
    static std::string native(const QString& path) { return QDir::toNativeSeparators(path).toStdString(); }

    QString lock_name() const { return file_ + QStringLiteral(".lock"); }

    void check_named() const
    {
        if (file_.isEmpty())
            throw registry_error("Не найдена папка настроек пользователя для файла реестра программы");
    }

    registry_text_document read() const
    {
        QFile in(file_);
        if (!in.exists())
            return {};
        if (!in.open(QIODevice::ReadOnly))
            throw registry_error("Не удалось прочитать файл «" + native(file_) + "»: " + in.errorString().toStdString());
        const QByteArray data = in.readAll();
        if (in.error() != QFileDevice::NoError)
            throw registry_error("Не удалось прочитать файл «" + native(file_) + "»: " + in.errorString().toStdString());
        return registry_text_document::parse(std::string_view(data.constData(), static_cast<std::size_t>(data.size())),
                                             native(file_));
    }

    QString file_;
    std::chrono::milliseconds lock_timeout_;
};

} // namespace

QString default_registry_file()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/Korvalen/registry.reg");
}

std::shared_ptr<registry_provider_interface> make_file_registry_provider(const QString& file,
                                                                         std::chrono::milliseconds lock_timeout)
{
    return make_text_registry_provider(std::make_shared<file_storage>(file, lock_timeout));
}
