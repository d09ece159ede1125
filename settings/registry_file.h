// The text store kept in a file: one file for both root keys. Every change
// re-reads the file under a lock and replaces it atomically, so that two
// running copies of the program never lose each other's writes and a failed
// write leaves the previous file as it was. A file that does not parse is
// reported, naming the file and the line, and is never overwritten.
#pragma once

#include "registry_text_store.h"

#include <QString>

#include <chrono>
#include <memory>

// <user config folder>/Korvalen/registry.reg; empty when the system names no
// config folder.
QString default_registry_file();

// `lock_timeout`: how long a change waits for another copy of the program
// that holds the lock.
std::shared_ptr<registry_provider_interface>
make_file_registry_provider(const QString& file, std::chrono::milliseconds lock_timeout = std::chrono::seconds(10));
