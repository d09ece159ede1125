// The .kvl document: category, name and the two year tables as XML.
//
// The file is UTF-8 without an XML declaration and without text between the
// elements:
//   <xml><definition_object><type>0</type><name>…</name>
//     <debts><count_debt_items>n</count_debt_items><year>…</year><sum_taxrate>…</sum_taxrate>…</debts>
//     <liabilities><count_liabilit_items>n</count_liabilit_items>…</liabilities>
//   </definition_object></xml>
// Integers are plain decimal; sums are in the general form with at most 15
// significant digits and the regional decimal separator.
//
// Errors are std::runtime_error with a Russian message (UTF-8) that names the
// file.
#pragma once

#include "tax_rates_ntrf.h"

#include <QByteArray>
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

// Reads the whole file into fresh lists; throws when the file cannot be read,
// is not well-formed XML or lacks an element or pair that it needs, and then
// returns nothing at all. Values that do not parse are no error: the category
// becomes -1, a count, year or sum 0; a year or sum element without text
// repeats the value of the pair before (0 in the first pair).
// `decimal_separator` is the regional one; "," and "." are accepted as well.
kvl_document read_kvl_document(const QString& path, const QString& decimal_separator);

// How `parse_kvl_document` reads: `quick` scans plain files directly and hands
// anything else to the DOM; `dom` always builds the DOM (tests compare them).
enum class kvl_parser { quick, dom };

// As read_kvl_document, for a file's content; `file_name` is used in messages.
kvl_document parse_kvl_document(const QByteArray& content, const QString& file_name,
                                const QString& decimal_separator, kvl_parser parser = kvl_parser::quick);

// Writes atomically: a failed write leaves the previous file as it was. Null
// entries of the item arrays are skipped. Throws before touching the file when
// the name holds characters that XML cannot carry (control characters other
// than tab and line ends, unpaired surrogates, U+FFFE, U+FFFF) or a sum is not
// a finite number, since such a file could not be read back.
void write_kvl_document(const QString& path, int category, const QString& name, const TItemsYear& debts,
                        const TItemsYear& liabilities, const QString& decimal_separator);

// The file's content as write_kvl_document writes it. Throws std::invalid_argument
// with the Russian reason for the cases above.
QByteArray kvl_document_xml(int category, const QString& name, const TItemsYear& debts,
                            const TItemsYear& liabilities, const QString& decimal_separator);
