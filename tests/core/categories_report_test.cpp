#include "tax_rates_impl.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(Thresholds, EachCategoryHasItsOwnSixValues)
{
    const face_definition_member_class member;
    const face_definition_company_class company;
    const struct {
        const face_definition_interface& definition;
        double values[6];
    } cases[] = {
        {member, {600000, 10, 1800000, 3000000, 20, 9000000}},
        {company, {2000000, 10, 6000000, 10000000, 20, 30000000}},
    };
    for (const auto& c : cases) {
        const auto& d = c.definition;
        const double got[6] = {d.get_large_size_sum(),      d.get_large_size_percent(),
                               d.get_large_size_percent_sum(), d.get_very_large_size_sum(),
                               d.get_very_large_size_percent(), d.get_very_large_size_percent_sum()};
        for (int k = 0; k < 6; ++k)
            EXPECT_EQ(got[k], c.values[k]) << "getter " << k + 1;
    }
    EXPECT_NE(make_face_definition(0), nullptr);
    EXPECT_NE(make_face_definition(1), nullptr);
    EXPECT_EQ(make_face_definition(2), nullptr);
    EXPECT_EQ(make_face_definition(255), nullptr);
}

TEST(LimitationDefinition, PeriodsByCategory)
{
    const limitation_defenition_class definition(1, 3, 7);
    EXPECT_EQ(definition.get_face_type(), 1);
    EXPECT_EQ(definition.get_limitation_period(1), 3);
    EXPECT_EQ(definition.get_limitation_period(2), 7);
    for (size_category other : {-1, 0, 3})
        EXPECT_EQ(definition.get_limitation_period(other), -1);
    EXPECT_EQ(definition.get_large_size_period(), 3);
    EXPECT_EQ(definition.get_very_large_size_period(), 7);
}

TEST(LimitationSet, FindsTheFirstDefinitionOfACategory)
{
    limitation_faces_class set;
    EXPECT_EQ(set.find_definition(0), nullptr);

    auto first = std::make_shared<limitation_defenition_class>(0, 0, 0);
    auto company = std::make_shared<limitation_defenition_class>(1, 5, 10);
    auto second = std::make_shared<limitation_defenition_class>(0, 3, 6);
    set.add_definition(first);
    set.add_definition(nullptr);
    set.add_definition(company);
    set.add_definition(second);

    EXPECT_EQ(set.find_definition(0), first);
    EXPECT_EQ(set.find_definition(1), company);
    EXPECT_EQ(set.find_definition(2), nullptr);
}

TEST(Protocol, ColoursFollowTheCategory)
{
    report_information_class report;
    const struct {
        size_category category;
        std::int32_t color;
    } cases[] = {{-1, 15793151}, {0, 12639424}, {1, 16711935}, {2, 255}, {7, 15793151}, {-5, 15793151}};
    for (const auto& c : cases)
        report.add_line("line", c.category);
    ASSERT_EQ(report.get_lines().size(), std::size(cases));
    ASSERT_EQ(report.get_colors().size(), std::size(cases));
    for (std::size_t k = 0; k < std::size(cases); ++k)
        EXPECT_EQ(report.get_line_color(static_cast<std::int32_t>(k)), cases[k].color) << k;
    EXPECT_EQ(report.get_colors()[3], "255");
}

TEST(Protocol, KeepsEmptyAndRepeatedLinesInUtf8)
{
    report_information_class report;
    report.add_line("", -1);
    report.add_line("Срок давности", -1);
    report.add_line("Срок давности", 1);
    EXPECT_EQ(report.get_lines(), (std::vector<std::string>{"", "Срок давности", "Срок давности"}));
    EXPECT_EQ(report.get_line(1), "Срок давности");
}

TEST(Protocol, BadIndexOrColourIsHandled)
{
    report_information_class report;
    report.add_line("a", 1);
    report.get_colors()[0] = "magenta";
    EXPECT_EQ(report.get_line_color(0), 0);
    EXPECT_THROW(report.get_line_color(1), std::out_of_range);
    EXPECT_THROW(report.get_line(-1), std::out_of_range);

    report.clear();
    EXPECT_TRUE(report.get_lines().empty());
    EXPECT_TRUE(report.get_colors().empty());
    EXPECT_THROW(report.get_line_color(0), std::out_of_range);
}
