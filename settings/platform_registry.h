// The registry and the settings store as the program uses them: the system
// registry on Windows, the text store in the user's config folder elsewhere.
#pragma once

#include "register_ctrlr.h"

#include <QString>

#include <memory>
#include <string>

std::shared_ptr<registry_provider_interface> make_platform_registry_provider();

// On the platform's registry, with the running program's path (native
// separators) for the open command. Needs the application object.
std::unique_ptr<register_controller_class> make_platform_register_controller();

// On a text store in `file`, whatever the platform: for tests and tools.
std::unique_ptr<register_controller_class> make_file_register_controller(const QString& file,
                                                                         const std::string& program_path);
