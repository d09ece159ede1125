#include "platform_registry.h"

#include "registry_file.h"

// Without a system registry the settings live in a text file of our own.
std::shared_ptr<registry_provider_interface> make_platform_registry_provider()
{
    return make_file_registry_provider(default_registry_file());
}
