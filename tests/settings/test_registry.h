// The registry that the tests of this build work on: the text store in a
// temporary file natively, the system registry under Windows (Wine), each
// test on a registry of its own that is empty at the start and gone at the
// end. The real user's settings are never touched.
#pragma once

#include "registry.h"

#include <memory>
#include <string>

class test_registry {
public:
    virtual ~test_registry() = default;
    virtual std::shared_ptr<registry_provider_interface> provider() const = 0;
};

std::unique_ptr<test_registry> make_test_registry();

// For the probe program, which runs in processes of its own: the registry
// named by `place` (a file, or a scratch key under Windows), kept between
// runs until `remove_probe_registry`.
std::shared_ptr<registry_provider_interface> open_probe_registry(const std::string& place);
void remove_probe_registry(const std::string& place);
