// Profile access through QSettings in INI format, opened fresh on each call so a value written
// by one program is seen by the other at once.
#include "platform/settings/ProfileSettings.h"

#include <QSettings>

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

}  // namespace

std::string ProfileSettings::GetProfileString(const std::string& section, const std::string& entry,
                                              const std::string& defaultValue)
{
    const QVariant value = profile().value(key(section, entry));
    return value.isValid() ? value.toString().toStdString() : defaultValue;
}

bool ProfileSettings::WriteProfileString(const std::string& section, const std::string& entry, const std::string& value)
{
    QSettings settings = profile();
    settings.setValue(key(section, entry), QString::fromStdString(value));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

std::string ProfileSettings::FilePath()
{
    return profile().fileName().toStdString();
}

}  // namespace settings
