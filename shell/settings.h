#pragma once
// The per-user settings store: text values by section and key, kept for the
// application "RN-Tools" in an INI file of the user's configuration folder.
#include <QString>

namespace Settings {

QString GetSetting(const QString& section, const QString& key, const QString& fallback);
void SaveSetting(const QString& section, const QString& key, const QString& value);

// The INI file the store uses.
QString File();
// Tests keep the store in a folder of their own; an empty text restores the user's.
void SetFolder(const QString& folder);

}  // namespace Settings
