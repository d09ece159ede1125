#include "kvl_document.h"
#include "plain_xml.h"
#include "tax_rates_impl.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <limits>
#include <random>
#include <ostream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

static void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

const QString comma = QStringLiteral(",");
const QString data_folder = QStringLiteral(VELMARIS_TEST_DATA);

TItemsYear items_of(const std::vector<std::pair<std::uint16_t, double>>& entries)
{
    TItemsYear items;
    for (auto [year, sum] : entries)
        items.push_back(std::make_shared<year_item_class>(year, sum));
    return items;
}

using row = std::tuple<int, double, int>; // year, sum, id in list order

std::vector<row> rows(const year_list_item_interface& list)
{
    std::vector<row> result;
    for (const auto& item : list.get_items())
        result.emplace_back(item->get_year(), item->get_sum(), item->get_id());
    return result;
}

struct contents {
    int category = 0;
    bool has_category = false;
    QString name;
    bool has_name = false;
    std::vector<row> debts;
    std::vector<row> liabilities;
    bool operator==(const contents&) const = default;
};

void PrintTo(const contents& c, std::ostream* out)
{
    *out << "category " << c.category << (c.has_category ? "" : " (not given)") << ", name \""
         << c.name.toStdString() << '"' << (c.has_name ? "" : " (not given)") << ", " << c.debts.size()
         << " debts, " << c.liabilities.size() << " liabilities";
}

contents contents_of(const kvl_document& document)
{
    return {document.category, document.has_category, document.name, document.has_name,
            rows(*document.debts), rows(*document.liabilities)};
}

// What a parse gives: the document's contents or the error's message.
using outcome = std::variant<contents, std::string>;

outcome parse(const QByteArray& content, kvl_parser parser, const QString& separator = comma)
{
    try {
        return contents_of(parse_kvl_document(content, QStringLiteral("doc.kvl"), separator, parser));
    } catch (const std::runtime_error& e) {
        return std::string(e.what());
    }
}

// Parses with the quick scanner and with the DOM; both must agree exactly.
outcome parse_both(const QByteArray& content, const QString& separator = comma)
{
    const outcome quick = parse(content, kvl_parser::quick, separator);
    EXPECT_EQ(quick, parse(content, kvl_parser::dom, separator)) << content.toStdString();
    return quick;
}

contents parsed(const QByteArray& content, const QString& separator = comma)
{
    const outcome result = parse_both(content, separator);
    if (const auto* error = std::get_if<std::string>(&result)) {
        ADD_FAILURE() << *error << "\n" << content.toStdString();
        return {};
    }
    return std::get<contents>(result);
}

QByteArray bytes_of(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

// A document from the first two children of definition_object and the
// children of debts and liabilities.
QByteArray kvl(const QByteArray& head, const QByteArray& debts = "<c>0</c>",
               const QByteArray& liabilities = "<c>0</c>")
{
    return "<xml><definition_object>" + head + "<debts>" + debts + "</debts><liabilities>" + liabilities +
           "</liabilities></definition_object></xml>";
}

} // namespace

TEST(KvlDocument, WritesTheElementTreeInYearOrderAndReadsItBack)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    ASSERT_TRUE(QDir(temp.path()).mkdir(QStringLiteral("Документы 😀")));
    const QString path = temp.filePath(QStringLiteral("Документы 😀/Отчёт.2010.kvl"));

    auto debts = std::make_shared<year_list_item_class>();
    for (auto [year, sum] : {std::pair<std::uint16_t, double>{2010, 300}, {2008, 100.5}, {2009, 200}})
        debts->add_item(std::make_shared<year_item_class>(year, sum));
    write_kvl_document(path, 1, QStringLiteral("ООО «Ромашка»"), debts->get_items(), items_of({{2008, 600000}}),
                       comma);

    EXPECT_EQ(bytes_of(path).toStdString(),
              "<xml><definition_object><type>1</type><name>ООО «Ромашка»</name>"
              "<debts><count_debt_items>3</count_debt_items>"
              "<year>2008</year><sum_taxrate>100,5</sum_taxrate>"
              "<year>2009</year><sum_taxrate>200</sum_taxrate>"
              "<year>2010</year><sum_taxrate>300</sum_taxrate></debts>"
              "<liabilities><count_liabilit_items>1</count_liabilit_items>"
              "<year>2008</year><sum_taxrate>600000</sum_taxrate></liabilities>"
              "</definition_object></xml>");

    const auto document = read_kvl_document(path, comma);
    const contents expected{1, true, QStringLiteral("ООО «Ромашка»"), true,
                            {{2008, 100.5, 1}, {2009, 200, 2}, {2010, 300, 3}}, {{2008, 600000, 1}}};
    EXPECT_EQ(contents_of(document), expected);
    EXPECT_EQ(parsed(bytes_of(path)), expected);
}

// Written with one separator and read under the other, sums keep their
// fractions.
TEST(KvlDocument, SumFormatsRoundTrip)
{
    const struct {
        double sum;
        std::string text; // with "," as the separator
        double read_back;
    } cases[] = {
        {600000, "600000", 600000},
        {12.5, "12,5", 12.5},
        {-12.5, "-12,5", -12.5},
        {0.0001, "0,0001", 0.0001},
        {0.00005, "5E-5", 0.00005},
        {1e15, "1E15", 1e15},
        {123456789012345678.0, "1,23456789012346E17", 1.23456789012346e17},
        {0.1 + 0.2, "0,3", 0.3},
        {0, "0", 0},
    };
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("sums.kvl"));
    const QString point = QStringLiteral(".");
    for (const auto& [written_with, read_with] : {std::pair{comma, point}, {point, comma}}) {
        TItemsYear items;
        for (std::size_t k = 0; k < std::size(cases); ++k)
            items.push_back(std::make_shared<year_item_class>(static_cast<std::uint16_t>(2001 + k), cases[k].sum));
        write_kvl_document(path, 0, QStringLiteral("x"), items, {}, written_with);

        const std::string file = bytes_of(path).toStdString();
        const auto document = read_kvl_document(path, read_with);
        const auto read = document.debts->get_items();
        ASSERT_EQ(read.size(), std::size(cases));
        std::size_t at = 0;
        for (std::size_t k = 0; k < std::size(cases); ++k) {
            std::string text = cases[k].text;
            if (written_with == point)
                std::replace(text.begin(), text.end(), ',', '.');
            const std::string element = "<sum_taxrate>" + text + "</sum_taxrate>";
            at = file.find(element, at);
            EXPECT_NE(at, std::string::npos) << element;
            EXPECT_EQ(read[k]->get_sum(), cases[k].read_back) << text;
        }
    }
}

TEST(KvlDocument, NamesInAnyUnicodeSurvive)
{
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("Имя 😀.kvl"));
    for (const QString& name : {QStringLiteral("Иванов Иван 😀🇷🇺"), QStringLiteral("A & B <C> \"D\" 'E' ]]>"),
                                QStringLiteral("  отступ\tтабуляция\r\nстроки  "), QStringLiteral("\u00a0x\u3000")}) {
        write_kvl_document(path, 0, name, {}, {}, comma);
        EXPECT_EQ(read_kvl_document(path, comma).name, name);
        EXPECT_EQ(parsed(bytes_of(path)).name, name);
    }
}

TEST(KvlDocument, EmptyTablesAndEmptyName)
{
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("empty.kvl"));
    write_kvl_document(path, -1, QString(), {}, {nullptr}, comma);
    EXPECT_EQ(bytes_of(path).toStdString(),
              "<xml><definition_object><type>-1</type><name/>"
              "<debts><count_debt_items>0</count_debt_items></debts>"
              "<liabilities><count_liabilit_items>0</count_liabilit_items></liabilities>"
              "</definition_object></xml>");
    const contents expected{-1, true, QString(), false, {}, {}};
    EXPECT_EQ(contents_of(read_kvl_document(path, comma)), expected);
}

TEST(KvlDocument, BrokenFilesAreErrorsNamingTheFile)
{
    const struct {
        const char* file;
        const char* reason;
    } cases[] = {
        {"DoesNotExist.kvl", "Не удалось открыть документ"},
        {"EmptyFile.kvl", "не является правильным XML: Premature end of document. (строка 1, столбец"},
        {"NotWellFormed.kvl", "не является правильным XML"},
        {"MissingDefinitionObject.kvl", "повреждён: нет элемента definition_object"},
        {"DefinitionObjectWithOneChild.kvl", "повреждён: в элементе definition_object меньше двух вложенных"},
        {"MissingDebts.kvl", "повреждён: нет элемента debts"},
        {"MissingLiabilities.kvl", "повреждён: нет элемента liabilities"},
        {"EmptyDebts.kvl", "повреждён: элемент debts пуст"},
        {"EmptyCountElement.kvl", "повреждён: в элементе debts не указано число записей"},
        {"FewerPairsThanCount.kvl", "повреждён: в элементе debts меньше записей, чем указано: 2 вместо 3"},
        {"YearWithoutSum.kvl", "повреждён: в элементе debts меньше записей, чем указано: 0 вместо 1"},
        {"FewerLiabilityPairsThanCount.kvl",
         "повреждён: в элементе liabilities меньше записей, чем указано: 1 вместо 2"},
        {"CountFarAboveThePairs.kvl", "повреждён: в элементе debts меньше записей, чем указано: 1 вместо 2147483647"},
    };
    for (const auto& c : cases) {
        const QString path = QDir(data_folder).filePath(QString::fromLatin1(c.file));
        try {
            read_kvl_document(path, comma);
            ADD_FAILURE() << c.file << " was read";
        } catch (const std::runtime_error& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find("«" + QDir::toNativeSeparators(path).toStdString() + "»"), std::string::npos)
                << message;
            EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        }
        if (QFile::exists(path)) {
            EXPECT_TRUE(std::holds_alternative<std::string>(parse_both(bytes_of(path))));
        }
    }
}

// A file cut anywhere is an error, never a crash or a part of the document.
TEST(KvlDocument, EveryPrefixOfAValidFileFails)
{
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("full.kvl"));
    write_kvl_document(path, 1, QStringLiteral("Имя 😀"), items_of({{2001, 1.5}, {2002, 2}}),
                       items_of({{2001, 3}}), comma);
    const QString indented = QDir(data_folder).filePath(QStringLiteral("Indented.kvl"));
    for (const QByteArray& full : {bytes_of(path), bytes_of(indented)}) {
        ASSERT_TRUE(std::holds_alternative<contents>(parse_both(full)));
        for (qsizetype length = 0; length < full.size(); ++length) {
            const QByteArray prefix = full.left(length);
            const bool complete = prefix.trimmed() == full.trimmed();
            EXPECT_EQ(std::holds_alternative<contents>(parse_both(prefix)), complete) << length;
        }
    }
}

TEST(KvlDocument, IndentedFileReadsLikeTheCompactOne)
{
    const contents expected{1, true, QStringLiteral("ООО «Ромашка»"), true,
                            {{2008, 2500.5, 2}, {2009, 100000, 1}}, {{2008, 3000000, 1}}};
    EXPECT_EQ(contents_of(read_kvl_document(QDir(data_folder).filePath(QStringLiteral("Indented.kvl")), comma)),
              expected);
    EXPECT_EQ(parsed("<xml><definition_object><type>1</type><name>ООО «Ромашка»</name>"
                     "<debts><count_debt_items>2</count_debt_items><year>2009</year><sum_taxrate>100000</sum_taxrate>"
                     "<year>2008</year><sum_taxrate>2500,5</sum_taxrate></debts><liabilities><count_liabilit_items>1"
                     "</count_liabilit_items><year>2008</year><sum_taxrate>3000000</sum_taxrate></liabilities>"
                     "</definition_object></xml>"),
              expected);
}

// Children are found by position, names are checked only for
// definition_object, debts and liabilities, and what does not parse takes a
// fixed value instead of failing.
TEST(KvlDocument, PositionsCountsAndLenientValues)
{
    const struct {
        const char* what;
        QByteArray file;
        contents expected;
    } cases[] = {
        {"renamed children, extra pair and element after the count's pairs",
         kvl("<a>1</a><b>Имя</b>", "<n>2</n><p>2001</p><q>1,5</q><p>2002</p><q>2</q><p>2003</p><q>3</q><extra/>",
             "<n>1</n><p>1999</p><q>7</q>"),
         {1, true, "Имя", true, {{2001, 1.5, 1}, {2002, 2, 2}}, {{1999, 7, 1}}}},
        {"category and name without text", kvl("<type/><name></name>"), {0, false, "", false, {}, {}}},
        {"category not a number", kvl("<type>x</type><name>n</name>"), {-1, true, "n", true, {}, {}}},
        {"category out of range", kvl("<type> 5 </type><name>n</name>"), {5, true, "n", true, {}, {}}},
        {"years keep their low 16 bits, 0 when not a number",
         kvl("<type>0</type><name>n</name>",
             "<c>4</c><y>70000</y><s>1</s><y>-1</y><s>2</s><y>abc</y><s>3</s><y>99999999999</y><s>4</s>"),
         {0, true, "n", true, {{0, 3, 3}, {0, 4, 4}, {4464, 1, 1}, {65535, 2, 2}}, {}}},
        {"sums with either separator, 0 when not a number",
         kvl("<type>0</type><name>n</name>",
             "<c>5</c><y>1</y><s>12.5</s><y>2</y><s>12,5</s><y>3</y><s>abc</s><y>4</y><s>1E3</s><y>5</y><s>1,5,5</s>"),
         {0, true, "n", true, {{1, 12.5, 1}, {2, 12.5, 2}, {3, 0, 3}, {4, 1000, 4}, {5, 0, 5}}, {}}},
        {"an element without text repeats the pair before, 0 in the first",
         kvl("<type>0</type><name>n</name>",
             "<c>4</c><y/><s/><y>2001</y><s>5</s><y></y><s/><y>2002</y><s> </s>", "<c>1</c><y>2003</y><s/>"),
         {0, true, "n", true, {{0, 0, 1}, {2001, 5, 2}, {2001, 5, 3}, {2002, 5, 4}}, {{2003, 0, 1}}}},
        {"a count that is not a number or negative reads no pairs",
         kvl("<type>0</type><name>n</name>", "<c>abc</c><y>2001</y><s>1</s>", "<c>-2</c><y>2001</y><s>1</s>"),
         {0, true, "n", true, {}, {}}},
        {"line ends in text read as the parser normalises them", kvl("<type>0</type><name>a\r\nb\rc</name>"),
         {0, true, "a\nb\nc", true, {}, {}}},
        {"comments, attributes and references",
         "<?xml version='1.0' encoding='utf-8' standalone='yes'?><!-- c --><xml a='1'><definition_object>"
         "<type><!-- c -->1</type><name>A &amp; B&#x20;&#1071;</name><debts b=\"2\"><c>1</c><!-- c -->"
         "<y>2001</y><s><![CDATA[2,5]]></s></debts><liabilities><c>0</c></liabilities></definition_object></xml>",
         {1, true, "A & B Я", true, {{2001, 2.5, 1}}, {}}},
        {"tables found anywhere in the document",
         "<root><liabilities><c>1</c><y>2000</y><s>1</s></liabilities><definition_object><t>0</t><n>n</n>"
         "</definition_object><x><debts><c>0</c></debts></x></root>",
         {0, true, "n", true, {}, {{2000, 1, 1}}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parsed(c.file), c.expected) << c.what;
}

TEST(KvlDocument, FailedSaveThrowsAndKeepsTheOldFile)
{
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("Отчёт.kvl"));
    write_kvl_document(path, 0, QStringLiteral("old"), items_of({{2001, 1}}), {}, comma);
    const QByteArray before = bytes_of(path);
    // A regular file where the folder should be stops a save even for root.
    const QString not_a_folder = temp.filePath(QStringLiteral("файл"));
    {
        QFile file(not_a_folder);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    const struct {
        QString path;
        QString name;
        double sum;
        std::string reason;
    } cases[] = {
        {not_a_folder + QStringLiteral("/Отчёт.kvl"), QStringLiteral("new"), 1, ""},
        {path, QStringLiteral("a\u0001b"), 1, "наименование содержит управляющие или недопустимые в XML символы"},
        {path, QStringLiteral("a") + QChar(0xD800), 1, "наименование содержит управляющие"},
        {path, QStringLiteral("a") + QChar(0xFFFF), 1, "наименование содержит управляющие"},
        {path, QStringLiteral("new"), std::numeric_limits<double>::quiet_NaN(),
         "сумма за 2001 год не является конечным числом"},
        {path, QStringLiteral("new"), std::numeric_limits<double>::infinity(), "сумма за 2001 год"},
    };
    for (const auto& c : cases) {
        try {
            write_kvl_document(c.path, 0, c.name, items_of({{2001, c.sum}}), {}, comma);
            ADD_FAILURE() << c.path.toStdString() << " was written";
        } catch (const std::runtime_error& e) {
            const std::string message = e.what();
            const std::string start =
                "Не удалось сохранить документ «" + QDir::toNativeSeparators(c.path).toStdString() + "»: ";
            EXPECT_EQ(message.rfind(start, 0), 0u) << message;
            EXPECT_NE(message.find(c.reason, start.size()), std::string::npos) << message;
        }
    }
    EXPECT_EQ(bytes_of(path), before);
    QStringList files = QDir(temp.path()).entryList(QDir::Files | QDir::Hidden);
    files.sort();
    EXPECT_EQ(files, QStringList({QStringLiteral("Отчёт.kvl"), QStringLiteral("файл")}));
}

// The quick scanner must take the files the writer produces, and must never
// take what the DOM rejects: each case would read as a document if the
// scanner let it through.
TEST(KvlDocument, QuickScannerTakesPlainFilesOnly)
{
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("plain.kvl"));
    write_kvl_document(path, 1, QStringLiteral("Иванов 😀\u00a0"), items_of({{2001, 1.5}}), items_of({{2001, 2}}),
                       comma);
    const QByteArray unicode = bytes_of(path);
    write_kvl_document(path, 1, QStringLiteral("A & B <C> ]]> \"D\"\r\n"), {}, {}, comma);
    const QByteArray escaped = bytes_of(path);
    for (const QByteArray& plain : {unicode, escaped, "\xEF\xBB\xBF" + unicode,
                                    bytes_of(QDir(data_folder).filePath(QStringLiteral("Indented.kvl")))})
        EXPECT_TRUE(scan_plain_xml(std::string_view(plain.constData(), static_cast<std::size_t>(plain.size()))))
            << plain.toStdString();

    const auto with_name = [](const QByteArray& name) { return kvl("<type>0</type><name>" + name + "</name>"); };
    const QByteArray valid = with_name("n");
    const QByteArray broken[] = {
        with_name("]]>"),
        with_name("a\x01"),
        with_name("\xEF\xBF\xBE"),     // U+FFFE
        with_name("\xC0\x80"),         // overlong
        with_name("\xED\xA0\x80"),     // surrogate
        with_name("\xF4\x90\x80\x80"), // above U+10FFFF
        with_name("\xE2\x82"),         // cut short
        with_name("<b></c>"),
        with_name("<b>"),
        with_name("</b>"),
        with_name("<1/>"),
        with_name("<!-- a -- b -->"),
        with_name("<!-- a --->"),
        "x" + valid,
        valid + "y",
        valid + "<a/>",
        "<?xml version=\"1.0\"encoding=\"UTF-8\"?>" + valid,
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><?xml version=\"1.0\"?>" + valid,
        " <?xml version=\"1.0\"?>" + valid,
    };
    for (const QByteArray& file : broken)
        EXPECT_TRUE(std::holds_alternative<std::string>(parse_both(file))) << file.toStdString();
}

// Damage in the places where XML is strict: both readers must come to the
// same document or the same error.
TEST(KvlDocument, QuickScannerAgreesWithTheDomOnDamagedFiles)
{
    const QByteArray original = bytes_of(QDir(data_folder).filePath(QStringLiteral("Indented.kvl")));
    const QByteArray pieces[] = {"<", ">", "/", "!", "?", "-", "&", ";", "#", "x", "]", "\r", " ", "a", "1", ",", "'",
                                 "&amp;", "&#x41;", "&#32;", "&#0;", "&#xD800;", "&#1114112;", "&nbsp;", "&#160;",
                                 "\x01", "\xD0", "\x9F", "\xEF\xBF\xBE", "\xED\xA0\x80", "\xF0\x9F\x98\x80"};
    std::mt19937 random(20261211);
    for (int round = 0; round < 3000; ++round) {
        QByteArray file = original;
        for (int k = 0, changes = 1 + round % 3; k < changes; ++k) {
            const auto at = static_cast<qsizetype>(random() % static_cast<unsigned>(file.size()));
            const QByteArray& piece = pieces[random() % std::size(pieces)];
            if (random() % 2 == 0)
                file.replace(at, 1, piece);
            else
                file.insert(at, piece);
        }
        parse_both(file);
    }
}
