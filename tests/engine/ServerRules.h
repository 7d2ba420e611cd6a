#pragma once

#include "SqlScript.h"

#include <memory>
#include <string>
#include <vector>

// SQL Server's rules, checked against a dump without a server: each rule reads the parsed script
// (statements, batches, the rows the INSERTs carry) and names every place that the server would
// reject or read differently from what was meant. A new rule is a class derived from Rule, added to
// the list in allRules().
namespace serverrules {

struct Finding {
    std::string rule;
    std::size_t line = 0; // of the dump, 1-based
    std::string message;
};

class Rule {
public:
    virtual ~Rule() = default;
    virtual const char* name() const = 0;
    virtual void check(const sqlscript::Script& script, std::vector<Finding>& findings) const = 0;
};

// Every rule, in a fixed order.
const std::vector<std::unique_ptr<Rule>>& allRules();

// The findings of every rule, or of the one named, over a dump (CR LF lines).
std::vector<Finding> checkScript(const std::string& dump);
std::vector<Finding> checkScript(const std::string& dump, const std::string& ruleName);

// One line per finding, for a test's failure message; "" when there is none.
std::string describe(const std::vector<Finding>& findings);

} // namespace serverrules
