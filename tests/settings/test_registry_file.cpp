#include "test_registry.h"

#include "registry_file.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

class file_test_registry final : public test_registry {
public:
    file_test_registry()
    {
        if (!folder_.isValid())
            throw std::runtime_error("no temporary folder");
        provider_ = make_file_registry_provider(folder_.filePath(QStringLiteral("registry.reg")));
    }

    std::shared_ptr<registry_provider_interface> provider() const override { return provider_; }

private:
    QTemporaryDir folder_;
    std::shared_ptr<registry_provider_interface> provider_;
};

} // namespace

std::unique_ptr<test_registry> make_test_registry()
{
    return std::make_unique<file_test_registry>();
}

std::shared_ptr<registry_provider_interface> open_probe_registry(const std::string& place)
{
    return make_file_registry_provider(QString::fromStdString(place));
}

void remove_probe_registry(const std::string& place)
{
    QFile::remove(QString::fromStdString(place));
}
