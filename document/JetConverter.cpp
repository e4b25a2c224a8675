// The converter as a child process, with a time limit and a busy dialog.
#include "document/JetConverter.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QTimer>

#include "platform/fs/TemporaryFile.h"

namespace {

std::string g_program;             // set by tests
int g_timeLimit = 10 * 60 * 1000;  // a million expenses take about half a minute

std::string Trimmed(const QByteArray& text)
{
    QString message = QString::fromUtf8(text).trimmed();
    message.remove(QRegularExpression("^quillmar-db: "));
    return message.toStdString();
}

}  // namespace

std::string JetConverter::Program()
{
    if (!g_program.empty())
        return g_program;
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath("quillmar-db");
    return QFileInfo(beside).isExecutable() ? beside.toStdString() : std::string(QUILLMAR_BUILD_DB_TOOL);
}

void JetConverter::SetProgram(const std::string& program) { g_program = program; }

void JetConverter::SetTimeLimit(int milliseconds) { g_timeLimit = milliseconds; }

JetConverter::Outcome JetConverter::Run(const std::string& source, const std::string& target, QWidget* parent)
{
    QProcess child;
    child.setProgram(QString::fromStdString(Program()));
    child.setArguments({"convert", QString::fromStdString(source), QString::fromStdString(target), "--force"});
    QProgressDialog progress(QString("Converting %1...").arg(QFileInfo(QString::fromStdString(source)).fileName()), "Cancel",
                             0, 0, parent);
    progress.setWindowTitle("Quillmar");
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    QTimer limit;
    limit.setSingleShot(true);
    QEventLoop loop;
    bool timedOut = false;
    QObject::connect(&child, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&child, &QProcess::errorOccurred, &loop, [&loop](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    QObject::connect(&progress, &QProgressDialog::canceled, &loop, &QEventLoop::quit);
    QObject::connect(&limit, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    child.start();
    limit.start(g_timeLimit);
    loop.exec();
    progress.reset();

    Outcome outcome;
    if (child.state() != QProcess::NotRunning) {
        child.kill();
        child.waitForFinished(5000);
        // A killed converter may leave its unfinished file beside the target.
        const std::string name = QFileInfo(QString::fromStdString(target)).fileName().toStdString();
        (void)files::TemporaryFile::RemoveLeftovers(files::folderOf(target), [&name](const std::string& of) { return of == name; });
        outcome.cancelled = !timedOut;
        outcome.reason = "the conversion did not finish within " + std::to_string(g_timeLimit / 1000) +
                         " seconds and was stopped";
        return outcome;
    }
    if (child.error() == QProcess::FailedToStart) {
        outcome.reason = "the converter " + Program() + " could not be started";
        return outcome;
    }
    if (child.exitStatus() == QProcess::CrashExit) {
        const std::string name = QFileInfo(QString::fromStdString(target)).fileName().toStdString();
        (void)files::TemporaryFile::RemoveLeftovers(files::folderOf(target), [&name](const std::string& of) { return of == name; });
        outcome.reason = "the converter stopped unexpectedly on this file (the file may be damaged)";
        return outcome;
    }
    if (child.exitCode() != 0) {
        outcome.reason = Trimmed(child.readAllStandardError());
        return outcome;
    }
    outcome.converted = true;
    const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    outcome.summary = lines.isEmpty() ? std::string() : lines.last().trimmed().toStdString();
    return outcome;
}
