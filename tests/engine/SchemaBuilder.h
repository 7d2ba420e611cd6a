#pragma once

#include <pugixml.hpp>

#include <string>
#include <vector>

// Schema documents laid out as the scanner writes them, for tests of what the engine makes of them.

struct FieldSpec {
    FieldSpec(std::string name, std::string type, std::string size = "0", std::string required = "0",
              std::string defaultValue = "", bool autoIncrement = false)
        : name(std::move(name)), type(std::move(type)), size(std::move(size)), required(std::move(required)),
          defaultValue(std::move(defaultValue)), autoIncrement(autoIncrement) {}
    std::string name, type, size, required, defaultValue;
    bool autoIncrement;
    std::string scale = "0";
};

struct IndexSpec {
    IndexSpec(std::string name, std::vector<std::string> fields, std::string primary, std::string unique,
              std::string foreign = "0")
        : name(std::move(name)), fields(std::move(fields)), primary(std::move(primary)), unique(std::move(unique)),
          foreign(std::move(foreign)) {}
    std::string name;
    std::vector<std::string> fields;
    std::string primary, unique, foreign;
};

// A document with one `Table` element.
class SchemaTable {
public:
    SchemaTable(const std::string& name, const std::vector<FieldSpec>& fields, const std::vector<IndexSpec>& indexes) {
        m_table = m_doc.append_child("AccessDatabase").append_child("Tables").append_child("Table");
        m_table.append_child("Name").text() = name.c_str();
        m_table.append_child("Attributes").text() = "0";
        pugi::xml_node xmlIndexes = m_table.append_child("Indexes");
        for (const auto& i : indexes) {
            pugi::xml_node index = xmlIndexes.append_child("Index");
            index.append_child("Name").text() = i.name.c_str();
            index.append_child("Primary").text() = i.primary.c_str();
            index.append_child("Unique").text() = i.unique.c_str();
            index.append_child("IgnoreNulls").text() = "0";
            index.append_child("Foreign").text() = i.foreign.c_str();
            pugi::xml_node keys = index.append_child("Fields");
            for (const auto& f : i.fields)
                keys.append_child("Field").append_child("Name").text() = f.c_str();
        }
        pugi::xml_node xmlFields = m_table.append_child("Fields");
        for (const auto& f : fields) {
            pugi::xml_node field = xmlFields.append_child("Field");
            field.append_child("Name").text() = f.name.c_str();
            field.append_child("Required").text() = f.required.c_str();
            field.append_child("DefaultValue").text() = f.defaultValue.c_str();
            field.append_child("Size").text() = f.size.c_str();
            field.append_child("Scale").text() = f.scale.c_str();
            field.append_child("Type").text() = f.type.c_str();
            pugi::xml_node attributes = field.append_child("Attributes");
            attributes.text() = f.autoIncrement ? "17" : "2";
            if (f.autoIncrement) {
                attributes.append_attribute("Bit1") = "1";
                attributes.append_attribute("Bit5") = "1";
            } else {
                attributes.append_attribute("Bit2") = "1";
            }
        }
    }
    pugi::xml_node node() const { return m_table; }

private:
    pugi::xml_document m_doc;
    pugi::xml_node m_table;
};

// Adds a complete `Table` element to the `Tables` element of a document.
inline void appendTable(pugi::xml_node tables, const std::string& name, const std::vector<FieldSpec>& fields,
                        const std::vector<IndexSpec>& indexes) {
    SchemaTable table(name, fields, indexes);
    tables.append_copy(table.node());
}
