#pragma once

#include "ConstraintNames.h"
#include "RelationshipPlan.h"
#include "TableSelection.h"

#include <pugixml.hpp>

#include <string>
#include <vector>

namespace tabulon {

// A CHECK constraint made of a validation rule, added once the table holds its rows.
struct CheckConstraint {
    std::string name;           // CK_<table>_<field>, or CK_<table> for the table's own rule
    std::string sourceTable;    // the table's name in Access
    std::string table;          // its destination name
    std::string field;          // "" for the table's own rule
    std::string rule;           // the Access text
    std::string condition;      // the T-SQL search condition
    std::string validationText; // Access's message for a broken rule; "" when none
};

struct CheckPlan {
    std::vector<CheckConstraint> checks;
    std::vector<PlanNote> notes; // rules left out, and why
};

// Translates the validation rules of the moved tables and of their moved fields (a field's rule may
// leave out its left operand: ">=0" means "[field] >= 0") into CHECK constraints. A rule is left out,
// with a note quoting it, when it has no SQL Server counterpart, names a field that is not moved, or
// names no field at all (it would then hold for every row or for none).
CheckPlan PlanChecks(const pugi::xml_document& schema, const TableSelection& selection, const std::string& tablePrefix,
                     ConstraintNames& names);

} // namespace tabulon
