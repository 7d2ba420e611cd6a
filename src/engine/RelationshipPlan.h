#pragma once

#include "ConstraintNames.h"
#include "TableDefinition.h"
#include "TableSelection.h"

#include <pugixml.hpp>

#include <string>
#include <vector>

namespace tabulon {

// A FOREIGN KEY the run adds once every table holds its rows and indexes.
struct ForeignKey {
    std::string relationship; // the name in Access
    std::string name;         // the constraint's name in the destination
    std::string sourceTable;  // the referencing table's name in Access
    std::string table;        // destination names
    std::string referencedTable;
    std::vector<std::string> columns; // pairs, in the key order of the referenced index
    std::vector<std::string> referencedColumns;
    bool cascadeUpdate = false;
    bool cascadeDelete = false;
};

// A report line ("- relationship …") for the table it belongs to, by its name in Access.
struct PlanNote {
    std::string sourceTable;
    std::string line;
};

struct RelationshipPlan {
    std::vector<ForeignKey> keys;
    std::vector<PlanNote> notes; // what is left out or changed, and why
};

struct RelationshipPlanOptions {
    TableDefinitionOptions definition;
    std::string tablePrefix;
};

// Decides, from the Relations of the schema document, which relationships become FOREIGN KEYs: those
// Access enforces whose two tables and key columns are moved, whose referenced columns are exactly the
// columns of a primary key or unfiltered unique index that the run creates, and whose column pairs have
// the same SQL Server type. Cascades that SQL Server would refuse (a cycle, a second path to a table, an
// identity column as referencing column) are dropped from the key. Everything left out or dropped gets
// a note; relationships between two tables that are not moved are not mentioned.
RelationshipPlan PlanRelationships(const pugi::xml_document& schema, const TableSelection& selection,
                                   const RelationshipPlanOptions& options, ConstraintNames& names);

} // namespace tabulon
