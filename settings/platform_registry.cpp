#include "platform_registry.h"

#include "registry_file.h"

#include <QCoreApplication>
#include <QDir>

std::unique_ptr<register_controller_class> make_platform_register_controller()
{
    return std::make_unique<register_controller_class>(
        make_platform_registry_provider(),
        QDir::toNativeSeparators(QCoreApplication::applicationFilePath()).toStdString());
}

std::unique_ptr<register_controller_class> make_file_register_controller(const QString& file,
                                                                         const std::string& program_path)
{
    return std::make_unique<register_controller_class>(make_file_registry_provider(file), program_path);
}
