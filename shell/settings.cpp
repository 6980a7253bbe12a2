#include "shell/settings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include "shell/msgbox.h"

namespace Settings {
namespace {

QString& FolderOverride() {
    static QString folder;
    return folder;
}

QString Key(const QString& section, const QString& key) {
    return section + '/' + key;
}

}  // namespace

QString File() {
    QString folder = FolderOverride();
    if (folder.isEmpty()) {
        folder = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                     .filePath(AppTitle);
    }
    return QDir(folder).filePath(AppTitle + ".ini");
}

void SetFolder(const QString& folder) {
    FolderOverride() = folder;
}

QString GetSetting(const QString& section, const QString& key, const QString& fallback) {
    QSettings store(File(), QSettings::IniFormat);
    const QVariant value = store.value(Key(section, key));
    return value.isValid() ? value.toString() : fallback;
}

void SaveSetting(const QString& section, const QString& key, const QString& value) {
    QSettings store(File(), QSettings::IniFormat);
    store.setValue(Key(section, key), value);
}

}  // namespace Settings
