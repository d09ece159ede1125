#include "platform_registry.h"

#include "registry_win32.h"

std::shared_ptr<registry_provider_interface> make_platform_registry_provider()
{
    return make_win32_registry_provider();
}
