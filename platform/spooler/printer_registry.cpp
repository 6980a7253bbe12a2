#include "platform/spooler/printer_registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <cerrno>
#include <cstring>

namespace Spooler {
namespace {

struct Entry {
    QString name;
    QString port;
    bool workOffline = false;
    bool enableBidi = true;
};

bool Flag(const QString& value, bool fallback) {
    const QString v = value.trimmed().toLower();
    if (v == "1" || v == "true" || v == "yes" || v == "on") return true;
    if (v == "0" || v == "false" || v == "no" || v == "off") return false;
    return fallback;
}

[[noreturn]] void Unreadable(const std::string& path, const std::string& why) {
    throw RegistryError("The printer list " + path + " cannot be read: " + why + ".");
}

// The registry's bytes, or nothing when no file is there. Only a regular file
// is read: a pipe or a device named there could block the start for good, so
// the file is opened without waiting and its kind checked before any read.
std::optional<QByteArray> ReadRegistryText(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        Unreadable(path, std::strerror(errno));
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        Unreadable(path, file.errorString().toStdString());
    }
    struct stat kind {};
    if (::fstat(fd, &kind) != 0) Unreadable(path, std::strerror(errno));
    if (S_ISDIR(kind.st_mode)) Unreadable(path, "it is a folder");
    if (!S_ISREG(kind.st_mode)) Unreadable(path, "it is not a regular file");
    QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError) Unreadable(path, file.errorString().toStdString());
    return text;
}

// Sections keep the order of the file: the printers are listed as installed.
// A section named twice is one printer; its later keys win.
std::vector<Entry> ReadRegistry() {
    const std::string path = RegistryFile();
    const std::optional<QByteArray> text = ReadRegistryText(path);
    if (!text) return {Entry{"Emulated Printer", "EMU1:", false, true}};
    std::vector<Entry> entries;
    Entry* current = nullptr;
    const QStringList lines = QString::fromUtf8(*text).split('\n');
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#')) continue;
        if (line.startsWith('[') && line.endsWith(']')) {
            const QString name = line.mid(1, line.size() - 2).trimmed();
            current = nullptr;
            for (Entry& e : entries) {
                if (e.name == name) current = &e;
            }
            if (!current) {
                entries.push_back(Entry{name, {}, false, true});
                current = &entries.back();
            }
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (!current || eq < 0) continue;
        const QString key = line.left(eq).trimmed().toLower();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == "port") {
            current->port = value;
        } else if (key == "workoffline") {
            current->workOffline = Flag(value, current->workOffline);
        } else if (key == "enablebidi") {
            current->enableBidi = Flag(value, current->enableBidi);
        }
    }
    return entries;
}

}  // namespace

std::string RegistryFile() {
    const QString named = qEnvironmentVariable("RNTOOLS_PRINTERS");
    if (!named.isEmpty()) return named.toStdString();
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(config).filePath("RN-Tools/printers.ini").toStdString();
}

std::vector<std::string> InstalledPrinters() {
    std::vector<std::string> names;
    for (const Entry& e : ReadRegistry()) names.push_back(e.name.toStdString());
    return names;
}

std::optional<PrinterInfo5> GetPrinter(const std::string& deviceName) {
    const QString wanted = QString::fromStdString(deviceName);
    for (const Entry& e : ReadRegistry()) {
        if (e.name != wanted) continue;
        PrinterInfo5 info;
        info.PrinterName = deviceName;
        info.PortName = e.port.toStdString();
        if (e.workOffline) info.Attributes |= PRINTER_ATTRIBUTE_WORK_OFFLINE;
        if (e.enableBidi) info.Attributes |= PRINTER_ATTRIBUTE_ENABLE_BIDI;
        return info;
    }
    return std::nullopt;
}

}  // namespace Spooler
