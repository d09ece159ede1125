#include "test_registry.h"

#include "registry_text_store.h"

#include <stdexcept>

namespace {

class memory_test_registry final : public test_registry {
public:
    std::shared_ptr<registry_provider_interface> provider() const override { return provider_; }

private:
    std::shared_ptr<registry_provider_interface> provider_ = make_memory_registry_provider();
};

} // namespace

std::unique_ptr<test_registry> make_test_registry()
{
    return std::make_unique<memory_test_registry>();
}

std::shared_ptr<registry_provider_interface> open_probe_registry(const std::string&)
{
    throw std::logic_error("a registry in memory does not outlive its process");
}

void remove_probe_registry(const std::string&) {}
