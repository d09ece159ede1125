#include "kvl_document.h"

#include "number_format.h"
#include "plain_xml.h"
#include "tax_rates_impl.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QSaveFile>
#include <QtGlobal>

#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

[[noreturn]] void fail(const QString& message) { throw std::runtime_error(message.toStdString()); }

[[noreturn]] void fail_structure(const QString& file_name, const QString& reason)
{
    fail(QStringLiteral("Документ «%1» повреждён: %2").arg(file_name, reason));
}

// --- Reading ---------------------------------------------------------------

// The tree as the quick scanner gives it; handles are element indices.
class plain_tree {
public:
    using handle = std::size_t;

    explicit plain_tree(const std::vector<plain_xml_element>& elements) : elements_(elements) {}

    static bool is_none(handle element) { return element == plain_xml_none; }

    handle first_named(std::string_view name) const
    {
        for (std::size_t i = 0; i < elements_.size(); ++i)
            if (elements_[i].name == name)
                return i;
        return plain_xml_none;
    }
    handle first_child(handle element) const { return elements_[element].first_child; }
    handle next_sibling(handle element) const { return elements_[element].next_sibling; }

    std::optional<std::string_view> text(handle element) const
    {
        const auto& e = elements_[element];
        return e.has_text ? std::optional<std::string_view>(e.text) : std::nullopt;
    }
    std::optional<QString> unicode_text(handle element) const
    {
        const auto t = text(element);
        if (!t)
            return std::nullopt;
        return QString::fromUtf8(t->data(), static_cast<qsizetype>(t->size()));
    }

private:
    const std::vector<plain_xml_element>& elements_;
};

// The same over a DOM. Children are elements only: comments and processing
// instructions between them do not shift the positions.
class dom_tree {
public:
    using handle = QDomElement;

    explicit dom_tree(const QDomDocument& document) : document_(document) {}

    static bool is_none(const handle& element) { return element.isNull(); }

    // The first element of that name in document order.
    handle first_named(std::string_view name) const
    {
        const QString wanted = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
        QDomElement element = document_.documentElement();
        while (!element.isNull()) {
            if (element.tagName() == wanted)
                return element;
            QDomElement next = element.firstChildElement();
            while (next.isNull() && !element.isNull()) {
                next = element.nextSiblingElement();
                if (next.isNull())
                    element = element.parentNode().toElement();
            }
            element = next;
        }
        return {};
    }
    handle first_child(const handle& element) const { return element.firstChildElement(); }
    handle next_sibling(const handle& element) const { return element.nextSiblingElement(); }

    // The element's own text and CDATA nodes; none when it has no such node.
    std::optional<QString> unicode_text(const handle& element) const
    {
        std::optional<QString> result;
        for (QDomNode node = element.firstChild(); !node.isNull(); node = node.nextSibling()) {
            if (node.isText() || node.isCDATASection())
                result = result.value_or(QString()) + node.nodeValue();
        }
        return result;
    }
    std::optional<std::string_view> text(const handle& element) const
    {
        const auto t = unicode_text(element);
        if (!t)
            return std::nullopt;
        buffer_ = t->toStdString();
        return std::string_view(buffer_);
    }

private:
    const QDomDocument& document_;
    mutable std::string buffer_;
};

template <class Tree>
std::shared_ptr<year_list_item_interface> read_table(const Tree& tree, const QString& file_name,
                                                     std::string_view element_name,
                                                     std::string_view decimal_separator)
{
    const QString shown = QString::fromLatin1(element_name.data(), static_cast<qsizetype>(element_name.size()));
    const auto table = tree.first_named(element_name);
    if (Tree::is_none(table))
        fail_structure(file_name, QStringLiteral("нет элемента %1").arg(shown));
    const auto count_element = tree.first_child(table);
    if (Tree::is_none(count_element))
        fail_structure(file_name, QStringLiteral("элемент %1 пуст").arg(shown));
    const auto count_text = tree.text(count_element);
    if (!count_text)
        fail_structure(file_name, QStringLiteral("в элементе %1 не указано число записей").arg(shown));
    const std::int32_t count = parse_int32(*count_text).value_or(0);

    // No reserve from the count: a file may claim far more pairs than it holds.
    TItemsYear items;
    std::uint16_t year = 0;
    double sum = 0;
    auto last = count_element;
    for (std::int32_t k = 0; k < count; ++k) {
        const auto year_element = tree.next_sibling(last);
        const auto sum_element = Tree::is_none(year_element) ? year_element : tree.next_sibling(year_element);
        if (Tree::is_none(sum_element))
            fail_structure(file_name, QStringLiteral("в элементе %1 меньше записей, чем указано: %2 вместо %3")
                                          .arg(shown)
                                          .arg(k)
                                          .arg(count));
        if (const auto t = tree.text(year_element))
            year = static_cast<std::uint16_t>(parse_int32(*t).value_or(0)); // the low 16 bits
        if (const auto t = tree.text(sum_element))
            sum = parse_decimal(*t, decimal_separator).value_or(0.0);
        items.push_back(std::make_shared<year_item_class>(year, sum));
        last = sum_element;
    }
    auto list = std::make_shared<year_list_item_class>();
    list->add_items(items);
    return list;
}

template <class Tree>
kvl_document read_tree(const Tree& tree, const QString& file_name, std::string_view decimal_separator)
{
    const auto definition = tree.first_named("definition_object");
    if (Tree::is_none(definition))
        fail_structure(file_name, QStringLiteral("нет элемента definition_object"));
    const auto category_element = tree.first_child(definition);
    const auto name_element =
        Tree::is_none(category_element) ? category_element : tree.next_sibling(category_element);
    if (Tree::is_none(name_element))
        fail_structure(file_name, QStringLiteral("в элементе definition_object меньше двух вложенных элементов"));

    kvl_document document;
    if (const auto t = tree.text(category_element)) {
        document.has_category = true;
        document.category = parse_int32(*t).value_or(-1);
    }
    if (auto name = tree.unicode_text(name_element)) {
        document.has_name = true;
        document.name = std::move(*name);
    }
    document.debts = read_table(tree, file_name, "debts", decimal_separator);
    document.liabilities = read_table(tree, file_name, "liabilities", decimal_separator);
    return document;
}

QDomDocument parse_dom(const QByteArray& content, const QString& file_name)
{
    QDomDocument document;
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    const auto result = document.setContent(content, QDomDocument::ParseOption::Default);
    if (!result)
        fail(QStringLiteral("Документ «%1» не является правильным XML: %2 (строка %3, столбец %4)")
                 .arg(file_name, result.errorMessage)
                 .arg(result.errorLine)
                 .arg(result.errorColumn));
#else
    QString message;
    int line = 0;
    int column = 0;
    if (!document.setContent(content, &message, &line, &column))
        fail(QStringLiteral("Документ «%1» не является правильным XML: %2 (строка %3, столбец %4)")
                 .arg(file_name, message)
                 .arg(line)
                 .arg(column));
#endif
    return document;
}

// --- Writing ---------------------------------------------------------------

// What XML 1.0 can carry: tab, line ends and everything from U+0020 except
// unpaired surrogates, U+FFFE and U+FFFF.
bool fits_xml(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if ((c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || QChar::isSurrogate(c) || c == 0xFFFE ||
            c == 0xFFFF)
            return false;
    }
    return true;
}

QString from_std(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// An empty text gives an element without a text node.
void add_text_element(QDomDocument& document, QDomElement& parent, const QString& name, const QString& text)
{
    QDomElement element = document.createElement(name);
    parent.appendChild(element);
    if (!text.isEmpty())
        element.appendChild(document.createTextNode(text));
}

void add_table(QDomDocument& document, QDomElement& parent, const QString& name, const QString& count_name,
               const TItemsYear& items, const std::string& decimal_separator)
{
    QDomElement table = document.createElement(name);
    parent.appendChild(table);
    std::int64_t count = 0;
    for (const auto& item : items)
        count += item ? 1 : 0;
    add_text_element(document, table, count_name, from_std(format_int(count)));
    for (const auto& item : items) {
        if (!item)
            continue;
        if (!std::isfinite(item->get_sum()))
            throw std::invalid_argument(QStringLiteral("сумма за %1 год не является конечным числом")
                                            .arg(item->get_year())
                                            .toStdString());
        add_text_element(document, table, QStringLiteral("year"), from_std(format_int(item->get_year())));
        add_text_element(document, table, QStringLiteral("sum_taxrate"),
                         from_std(format_general15(item->get_sum(), decimal_separator)));
    }
}

} // namespace

kvl_document parse_kvl_document(const QByteArray& content, const QString& file_name,
                                const QString& decimal_separator, kvl_parser parser)
{
    const std::string separator = decimal_separator.toStdString();
    if (parser == kvl_parser::quick) {
        if (const auto plain =
                scan_plain_xml(std::string_view(content.constData(), static_cast<std::size_t>(content.size()))))
            return read_tree(plain_tree(plain->elements), file_name, separator);
    }
    const QDomDocument document = parse_dom(content, file_name);
    return read_tree(dom_tree(document), file_name, separator);
}

kvl_document read_kvl_document(const QString& path, const QString& decimal_separator)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("Не удалось открыть документ «%1»: %2").arg(native(path), file.errorString()));
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fail(QStringLiteral("Не удалось прочитать документ «%1»: %2").arg(native(path), file.errorString()));
    return parse_kvl_document(content, native(path), decimal_separator);
}

QByteArray kvl_document_xml(int category, const QString& name, const TItemsYear& debts,
                            const TItemsYear& liabilities, const QString& decimal_separator)
{
    if (!fits_xml(name))
        throw std::invalid_argument("наименование содержит управляющие или недопустимые в XML символы");
    const std::string separator = decimal_separator.toStdString();

    QDomDocument document;
    QDomElement root = document.createElement(QStringLiteral("xml"));
    document.appendChild(root);
    QDomElement definition = document.createElement(QStringLiteral("definition_object"));
    root.appendChild(definition);
    add_text_element(document, definition, QStringLiteral("type"), from_std(format_int(category)));
    add_text_element(document, definition, QStringLiteral("name"), name);
    add_table(document, definition, QStringLiteral("debts"), QStringLiteral("count_debt_items"), debts, separator);
    add_table(document, definition, QStringLiteral("liabilities"), QStringLiteral("count_liabilit_items"),
              liabilities, separator);
    // -1: no indentation and no line breaks; no declaration, so UTF-8.
    return document.toByteArray(-1);
}

void write_kvl_document(const QString& path, int category, const QString& name, const TItemsYear& debts,
                        const TItemsYear& liabilities, const QString& decimal_separator)
{
    const auto refuse = [&](const QString& reason) {
        fail(QStringLiteral("Не удалось сохранить документ «%1»: %2").arg(native(path), reason));
    };
    QByteArray content;
    try {
        content = kvl_document_xml(category, name, debts, liabilities, decimal_separator);
    } catch (const std::invalid_argument& e) {
        refuse(QString::fromUtf8(e.what()));
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        refuse(file.errorString());
    if (file.write(content) != content.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        refuse(reason);
    }
    if (!file.commit())
        refuse(file.errorString());
}
