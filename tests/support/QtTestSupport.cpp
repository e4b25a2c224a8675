// Widget test helpers.
#include "tests/support/QtTestSupport.h"

#include <QDir>
#include <QSettings>
#include <sys/stat.h>

#include "platform/settings/ProfileSettings.h"

IsolatedProfile::IsolatedProfile()
    : m_oldConfig(qgetenv("XDG_CONFIG_HOME")), m_oldRuntime(qgetenv("XDG_RUNTIME_DIR"))
{
    const QString config = QString::fromStdString(m_dir.file("config"));
    const QString runtime = QString::fromStdString(m_dir.file("runtime"));
    QDir().mkpath(config);
    QDir().mkpath(runtime);
    ::chmod(runtime.toLocal8Bit().constData(), 0700);
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config);
}

IsolatedProfile::~IsolatedProfile()
{
    qputenv("XDG_CONFIG_HOME", m_oldConfig);
    qputenv("XDG_RUNTIME_DIR", m_oldRuntime);
}

void IsolatedProfile::writeDefaultDatabase(const std::string& path) const
{
    settings::ProfileSettings::WriteProfileString("Settings", "CurrDBName", path);
}

std::string IsolatedProfile::defaultDatabase() const
{
    return settings::ProfileSettings::GetProfileString("Settings", "CurrDBName");
}

MessageLog::MessageLog()
{
    ui::MessageBox::SetHandler([this](const ui::MessageBox::Shown& shown) {
        m_shown.push_back(shown);
        if (m_answers.empty())
            return shown.buttons == ui::MessageBox::Buttons::YesNo ? ui::MessageBox::Answer::No : ui::MessageBox::Answer::Ok;
        const ui::MessageBox::Answer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    });
}

MessageLog::~MessageLog() { ui::MessageBox::SetHandler(nullptr); }

QStringList MessageLog::texts() const
{
    QStringList result;
    for (const auto& shown : m_shown)
        result << shown.text;
    return result;
}

FileDialogScript::FileDialogScript()
{
    ui::FileDialog::SetHandler([this](const ui::FileDialog::Request& request) -> std::optional<ui::FileDialog::Result> {
        m_requests.push_back(request);
        if (m_answers.empty())
            return std::nullopt;
        auto answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    });
}

FileDialogScript::~FileDialogScript() { ui::FileDialog::SetHandler(nullptr); }
