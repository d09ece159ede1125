// The registry layer on a text store: access objects that read the stored
// text afresh for every question and change it through its storage.
#pragma once

#include "registry_text.h"

#include <functional>
#include <memory>

// Where a text store keeps its text.
class registry_text_storage_interface {
public:
    virtual ~registry_text_storage_interface() = default;
    // The current content; empty when nothing was stored yet. Throws
    // registry_error when it cannot be read or does not parse.
    virtual registry_text_document load() const = 0;
    // Loads the current content afresh while holding the store's lock, lets
    // `change` edit it and stores it when `change` gives true, so that writers
    // never lose each other's changes. Throws registry_error as load does,
    // and registry_store_error when the store cannot be locked or written;
    // then the stored content stays as it was.
    virtual void modify(const std::function<bool(registry_text_document&)>& change) = 0;
};

class registry_store_error : public registry_error {
public:
    using registry_error::registry_error;
};

std::shared_ptr<registry_provider_interface>
make_text_registry_provider(std::shared_ptr<registry_text_storage_interface> storage);

// A text store in memory, empty at first: for tests and tools.
std::shared_ptr<registry_provider_interface> make_memory_registry_provider();
