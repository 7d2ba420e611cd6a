#pragma once

#include "lib/Error.h"
#include "lib/RowSource.h"

#include <memory>
#include <string>

// A table of `rows` rows (ID Long, Name Text) whose cursor fails when it reaches row `failAt`
// (0: never), the way a damaged page would make a real reader fail.
class FailingRowSource : public tabulon::SourceConnection {
public:
    FailingRowSource(int rows, int failAt) : m_rows(rows), m_failAt(failAt) {}

    std::int64_t rowCount(const std::string&) override { return m_rows; }
    std::unique_ptr<tabulon::RowCursor> openCursor(const std::string&, const std::vector<std::string>&) override {
        return std::make_unique<Cursor>(m_rows, m_failAt);
    }

private:
    class Cursor : public tabulon::RowCursor {
    public:
        Cursor(int rows, int failAt) : m_rows(rows), m_failAt(failAt) {}
        std::size_t columnCount() const override { return 2; }
        const std::string& columnName(std::size_t column) const override { return m_names[column]; }
        tabulon::ProviderType columnType(std::size_t column) const override {
            return column == 0 ? tabulon::ProviderType::Integer : tabulon::ProviderType::VarWChar;
        }
        bool next() override {
            if (++m_row == m_failAt)
                throw tabulon::Error(tabulon::errc::AccessCannotOpen, "FailingRowSource",
                                     "Row " + std::to_string(m_row) + " cannot be read");
            if (m_row > m_rows)
                return false;
            m_values[0] = tabulon::Variant(m_row);
            m_values[1].assignText() = "name " + std::to_string(m_row) + std::string(80, '.');
            return true;
        }
        const tabulon::Variant& value(std::size_t column) const override { return m_values[column]; }

    private:
        int m_rows, m_failAt, m_row = 0;
        std::string m_names[2] = {"ID", "Name"};
        tabulon::Variant m_values[2];
    };

    int m_rows, m_failAt;
};
