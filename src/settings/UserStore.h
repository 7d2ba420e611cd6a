#pragma once

#include <memory>
#include <string>

class QSettings;

namespace tabulon {

// The per-user store of a few remembered values ("Usage"/"RunCount", "Settings"/"SavePasswords",
// the last folders and files), kept outside the settings files: QSettings under organisation
// "Corvane" and application "Tabulon" (the registry on Windows, an INI file in the user's config
// folder elsewhere). Every write reaches the disk at once, because the process may end abruptly.
class UserStore {
public:
    // The user's own store.
    UserStore();
    // A store kept in an INI file of its own (tests).
    explicit UserStore(const std::string& iniPath);
    ~UserStore();
    UserStore(const UserStore&) = delete;
    UserStore& operator=(const UserStore&) = delete;

    // The stored text, or `fallback` when the value is absent.
    std::string text(const std::string& section, const std::string& key, const std::string& fallback = {}) const;
    void setText(const std::string& section, const std::string& key, const std::string& value);

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace tabulon
