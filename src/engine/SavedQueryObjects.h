#pragma once

#include "Destination.h"
#include "TableSelection.h"
#include "accesssql/ViewPlan.h"
#include "lib/Progress.h"

#include <pugixml.hpp>

#include <string>
#include <vector>

namespace tabulon {

// The saved queries of a run and what becomes of each.
struct PlannedQueries {
    std::vector<accesssql::QuerySource> sources; // as the schema document holds them
    std::vector<accesssql::ViewPlan> plans;      // the created ones first, each after the queries it reads
    int hiddenSkipped = 0;                       // form, report and control queries the scanner skipped

    bool empty() const { return plans.empty() && hiddenSkipped == 0; }
};

// Plans the saved queries of the schema document as views and functions over the selected tables,
// each table named with the prefix.
PlannedQueries PlanSavedQueries(const pugi::xml_document& schema, const TableSelection& selection,
                                const std::string& tablePrefix);

// Writes the views and functions, each CREATE the first statement of its batch ("GO" before and
// after it in a dump; sent on its own on a connection), after its drop guard when `dropFirst`; the
// dump also carries the Access SQL of every query left out as a comment block. Appends the report's
// QUERIES section. A view the server rejects is reported with the server's error, the views that read
// it are left out, and the others are still created; only a failing dump raises.
void WriteSavedQueries(const PlannedQueries& queries, Destination& destination, bool dropFirst, std::string& report,
                       Progress& progress);

} // namespace tabulon
