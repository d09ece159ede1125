// The Windows system registry as the registry layer's backend.
#pragma once

#include "registry.h"

#include <memory>

std::shared_ptr<registry_provider_interface> make_win32_registry_provider();
