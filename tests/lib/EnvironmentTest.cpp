#include "lib/Environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

using namespace tabulon;

namespace {

void setVariable(const char* name, const std::optional<std::string>& value) {
#ifdef _WIN32
    _putenv_s(name, value ? value->c_str() : "");
#else
    if (value)
        setenv(name, value->c_str(), 1);
    else
        unsetenv(name);
#endif
}

// Sets variables for one test and puts the old values back afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, std::optional<std::string> value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        setVariable(name, value);
    }
    ~ScopedVariable() { setVariable(m_name, m_old); }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

} // namespace

TEST(Environment, variablesReadAsTextEmptyWhenUnset) {
    ScopedVariable set("TABULON_TEST_VARIABLE", "a value");
    EXPECT_EQ(environmentVariable("TABULON_TEST_VARIABLE"), "a value");
    ScopedVariable unset("TABULON_TEST_UNSET", std::nullopt);
    EXPECT_EQ(environmentVariable("TABULON_TEST_UNSET"), "");
}

TEST(Environment, temporaryFolderPrefersTempThenTmpdir) {
    ScopedVariable temp("TEMP", "/from/temp");
    ScopedVariable tmpdir("TMPDIR", "/from/tmpdir");
    EXPECT_EQ(temporaryFolder(), "/from/temp");
    setVariable("TEMP", std::nullopt);
    EXPECT_EQ(temporaryFolder(), "/from/tmpdir");
    setVariable("TMPDIR", "");
    EXPECT_EQ(temporaryFolder(), "/tmp");
}
