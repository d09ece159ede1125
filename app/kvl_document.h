// The .kvl document: category, name and the two year tables as XML.
#pragma once

#include "tax_rates_ntrf.h"

#include <QString>

#include <memory>

struct kvl_document {
    int category = 0;  // the category selector's item index; -1 when the text was not a number
    bool has_category = false; // false when the file's category element had no text
    QString name;
    bool has_name = false;     // false when the file's name element had no text
    std::shared_ptr<year_list_item_interface> debts;       // "Неуплаченные налоги"
    std::shared_ptr<year_list_item_interface> liabilities; // the taxes that had to be paid
};

// Reads the whole file into fresh lists; throws std::runtime_error with a
// Russian message naming the file when it cannot be read or is incomplete.
// `decimal_separator` is the regional one; "," and "." are accepted as well.
kvl_document read_kvl_document(const QString& path, const QString& decimal_separator);

// Writes atomically: a failed write leaves the previous file as it was.
void write_kvl_document(const QString& path, int category, const QString& name, const TItemsYear& debts,
                        const TItemsYear& liabilities, const QString& decimal_separator);
