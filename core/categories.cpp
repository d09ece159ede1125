#include "tax_rates_impl.h"

#include <algorithm>

std::shared_ptr<face_definition_interface> make_face_definition(face_type face)
{
    switch (face) {
    case face_member:
        return std::make_shared<face_definition_member_class>();
    case face_company:
        return std::make_shared<face_definition_company_class>();
    default:
        return nullptr;
    }
}

std::int32_t limitation_defenition_class::get_limitation_period(size_category category) const
{
    switch (category) {
    case size_large:
        return large_size_period_;
    case size_very_large:
        return very_large_size_period_;
    default:
        return -1;
    }
}

void limitation_faces_class::add_definition(
    const std::shared_ptr<limitation_defenition_interface>& definition)
{
    if (!definition)
        return;
    definitions_.push_back(definition);
    face_types_.push_back(definition->get_face_type());
}

std::shared_ptr<limitation_defenition_interface> limitation_faces_class::find_definition(face_type face) const
{
    const auto found = std::find(face_types_.begin(), face_types_.end(), face);
    if (found == face_types_.end())
        return nullptr;
    return definitions_[static_cast<std::size_t>(found - face_types_.begin())];
}
