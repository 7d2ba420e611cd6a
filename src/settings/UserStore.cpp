#include "settings/UserStore.h"

#include <QSettings>

namespace tabulon {

namespace {

QString entryName(const std::string& section, const std::string& key) {
    return QString::fromStdString(section + "/" + key);
}

} // namespace

UserStore::UserStore()
    : m_settings(std::make_unique<QSettings>(QStringLiteral("Corvane"), QStringLiteral("Tabulon"))) {}

UserStore::UserStore(const std::string& iniPath)
    : m_settings(std::make_unique<QSettings>(QString::fromStdString(iniPath), QSettings::IniFormat)) {}

UserStore::~UserStore() = default;

std::string UserStore::text(const std::string& section, const std::string& key, const std::string& fallback) const {
    const QVariant value = m_settings->value(entryName(section, key));
    return value.isValid() ? value.toString().toStdString() : fallback;
}

void UserStore::setText(const std::string& section, const std::string& key, const std::string& value) {
    m_settings->setValue(entryName(section, key), QString::fromStdString(value));
    // EndProgram ends the process without unwinding, so nothing may wait in memory.
    m_settings->sync();
}

} // namespace tabulon
