#pragma once

#include "CheckPlan.h"
#include "RelationshipPlan.h"

#include <string>

namespace tabulon {

// "ALTER TABLE [t] ADD CONSTRAINT [n] FOREIGN KEY ([a], …) REFERENCES [p] ([x], …)", then " ON UPDATE
// CASCADE" and " ON DELETE CASCADE" as the key keeps them.
std::string ForeignKeyStatement(const ForeignKey& key);

// "ALTER TABLE [t] ADD CONSTRAINT [n] CHECK (condition)".
std::string CheckStatement(const CheckConstraint& check);

} // namespace tabulon
