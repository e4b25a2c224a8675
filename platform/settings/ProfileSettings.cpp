// Profile access through QSettings in INI format, opened fresh on each call so a value written
// by one program is seen by the other at once.
#include "platform/settings/ProfileSettings.h"

#include <QSettings>
#include <fstream>
#include <optional>

namespace settings {
namespace {

QSettings profile()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, ProfileSettings::kOrganisation,
                     ProfileSettings::kApplication);
}

QString key(const std::string& section, const std::string& entry)
{
    return QString::fromStdString(section) + '/' + QString::fromStdString(entry);
}

// The bytes after "entry=" in the file's [section], as they stand; none when the entry is not
// there plainly (quoted or escaped values are left to QSettings).
std::optional<std::string> RawValue(const std::string& file, const std::string& section, const std::string& entry)
{
    std::ifstream in(file, std::ios::binary);
    bool inSection = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.starts_with('['))
            inSection = line == "[" + section + "]";
        else if (inSection && line.starts_with(entry + "=")) {
            const std::string raw = line.substr(entry.size() + 1);
            if (raw.find_first_of("\\\"") != std::string::npos)
                return std::nullopt;
            return raw;
        }
    }
    return std::nullopt;
}

}  // namespace

std::string ProfileSettings::GetProfileString(const std::string& section, const std::string& entry,
                                              const std::string& defaultValue)
{
    QSettings settings = profile();
    const QVariant value = settings.value(key(section, entry));
    if (!value.isValid())
        return defaultValue;
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray().toStdString();  // written so because it is not UTF-8
    const QString text = value.toString();
    if (text.contains(QChar::ReplacementCharacter))
        if (const std::optional<std::string> raw = RawValue(settings.fileName().toStdString(), section, entry))
            return *raw;  // typed into the file as bytes that are not UTF-8
    return text.toStdString();
}

bool ProfileSettings::WriteProfileString(const std::string& section, const std::string& entry, const std::string& value)
{
    QSettings settings = profile();
    // A path need not be UTF-8: bytes that are not are kept as bytes, never replaced.
    const QString text = QString::fromStdString(value);
    if (text.toStdString() == value)
        settings.setValue(key(section, entry), text);
    else
        settings.setValue(key(section, entry), QByteArray::fromStdString(value));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

std::string ProfileSettings::FilePath()
{
    return profile().fileName().toStdString();
}

}  // namespace settings
