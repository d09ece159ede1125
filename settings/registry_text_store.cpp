#include "registry_text_store.h"

#include <optional>
#include <utility>

namespace {

class text_registry_access final : public registry_access_interface {
public:
    text_registry_access(std::shared_ptr<registry_text_storage_interface> storage, registry_root_key root)
        : storage_(std::move(storage)), root_(root)
    {
    }

    registry_root_key root() const override { return root_; }

    bool open_key(const std::string& path, bool can_create) override
    {
        close_key();
        auto key = split_key_path(path);
        const std::string display = registry_key_display_name(root_, join_key_path(key));
        if (storage_->load().key_exists(root_, key)) {
            current_ = std::move(key);
            return true;
        }
        if (!can_create) {
            open_failure_ = "Раздел " + display + " не найден";
            return false;
        }
        try {
            storage_->modify([&](registry_text_document& document) { return document.create_key(root_, key); });
        } catch (const registry_store_error& error) {
            open_failure_ = "Не удалось создать раздел " + display + ": " + error.what();
            return false;
        }
        current_ = std::move(key);
        return true;
    }

    void close_key() override
    {
        current_.reset();
        open_failure_ = "Раздел реестра не открыт";
    }

    bool key_exists(const std::string& path) const override
    {
        return storage_->load().key_exists(root_, split_key_path(path));
    }

    std::vector<std::string> get_key_names() const override
    {
        return current_ ? storage_->load().subkey_names(root_, *current_) : std::vector<std::string>{};
    }

    std::vector<std::string> get_value_names() const override
    {
        return current_ ? storage_->load().value_names(root_, *current_) : std::vector<std::string>{};
    }

    registry_data_type get_data_type(const std::string& name) const override
    {
        if (!current_)
            return registry_data_type::none;
        const registry_text_document document = storage_->load();
        const registry_text_value* value = document.find_value(root_, *current_, name);
        return value ? value->data_type() : registry_data_type::none;
    }

    std::string read_string(const std::string& name) const override
    {
        if (!current_)
            return {};
        const registry_text_document document = storage_->load();
        const registry_text_value* value = document.find_value(root_, *current_, name);
        return value ? registry_text_value_string(*value) : std::string{};
    }

    void write_string(const std::string& name, const std::string& value) override
    {
        registry_text_value entry;
        entry.name = name;
        entry.kind = registry_text_value::form::text;
        entry.text = value;
        write(std::move(entry));
    }

    void write_integer(const std::string& name, std::uint32_t value) override
    {
        registry_text_value entry;
        entry.name = name;
        entry.kind = registry_text_value::form::number;
        entry.number = value;
        write(std::move(entry));
    }

    bool delete_key(const std::string& path) override
    {
        const auto key = split_key_path(path);
        if (key.empty())
            throw registry_error("Корневой раздел " + registry_root_name(root_) + " не удаляется");
        bool deleted = false;
        try {
            storage_->modify([&](registry_text_document& document) {
                deleted = document.delete_key(root_, key);
                return deleted;
            });
        } catch (const registry_store_error&) {
            // Like a key that the system does not let us delete.
            return false;
        }
        return deleted;
    }

private:
    void write(registry_text_value value)
    {
        if (!current_)
            throw registry_error("Не удалось записать значение «" + value.name + "»: " + open_failure_);
        const std::string name = value.name;
        try {
            // A key deleted meanwhile by another copy of the program comes back.
            storage_->modify([&](registry_text_document& document) {
                document.set_value(root_, *current_, std::move(value));
                return true;
            });
        } catch (const registry_store_error& error) {
            throw registry_store_error("Не удалось записать значение «" + name + "»: " + error.what());
        }
    }

    std::shared_ptr<registry_text_storage_interface> storage_;
    registry_root_key root_;
    std::optional<std::vector<std::string>> current_;
    std::string open_failure_ = "Раздел реестра не открыт";
};

class text_registry_provider final : public registry_provider_interface {
public:
    explicit text_registry_provider(std::shared_ptr<registry_text_storage_interface> storage)
        : storage_(std::move(storage))
    {
    }

    std::unique_ptr<registry_access_interface> open(registry_root_key root) const override
    {
        return std::make_unique<text_registry_access>(storage_, root);
    }

private:
    std::shared_ptr<registry_text_storage_interface> storage_;
};

// Keeps the text itself, not a document, so that every change goes through
// the file form as it does on disk.
class memory_storage final : public registry_text_storage_interface {
public:
    registry_text_document load() const override { return registry_text_document::parse(text_, "(память)"); }

    void modify(const std::function<bool(registry_text_document&)>& change) override
    {
        registry_text_document document = load();
        if (change(document))
            text_ = document.to_text();
    }

private:
    std::string text_;
};

} // namespace

std::shared_ptr<registry_provider_interface>
make_text_registry_provider(std::shared_ptr<registry_text_storage_interface> storage)
{
    return std::make_shared<text_registry_provider>(std::move(storage));
}

std::shared_ptr<registry_provider_interface> make_memory_registry_provider()
{
    return make_text_registry_provider(std::make_shared<memory_storage>());
}
