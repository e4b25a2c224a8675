// Helpers for widget tests: a private profile and runtime folder per test, and scripted answers
// for message boxes and file dialogs (with a record of what was shown).
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <atomic>
#include <deque>
#include <thread>
#include <optional>
#include <vector>

#include "platform/ui/FileDialog.h"
#include "platform/ui/MessageBox.h"
#include "tests/support/TempDir.h"

// Points the profile (QSettings) and the runtime folder (the desktop channel) at a fresh
// temporary folder for the life of the object.
class IsolatedProfile {
public:
    IsolatedProfile();
    ~IsolatedProfile();
    const TempDir& dir() const { return m_dir; }
    void writeDefaultDatabase(const std::string& path) const;
    std::string defaultDatabase() const;

private:
    TempDir m_dir;
    QByteArray m_oldConfig, m_oldRuntime;
};

// Answers every message box (Ok, or the next queued answer) and records it.
class MessageLog {
public:
    MessageLog();
    ~MessageLog();
    void queueAnswer(ui::MessageBox::Answer answer) { m_answers.push_back(answer); }
    const std::vector<ui::MessageBox::Shown>& shown() const { return m_shown; }
    QStringList texts() const;
    void clear() { m_shown.clear(); }

private:
    std::vector<ui::MessageBox::Shown> m_shown;
    std::deque<ui::MessageBox::Answer> m_answers;
};

// Answers file dialogs from a queue: a path (with the check box state) or nullopt for Cancel.
// An empty queue answers Cancel.
class FileDialogScript {
public:
    FileDialogScript();
    ~FileDialogScript();
    void choose(const std::string& path, bool checkBox = true) { m_answers.push_back(ui::FileDialog::Result{QString::fromStdString(path), checkBox}); }
    void cancel() { m_answers.push_back(std::nullopt); }
    const std::vector<ui::FileDialog::Request>& requests() const { return m_requests; }

private:
    std::vector<ui::FileDialog::Request> m_requests;
    std::deque<std::optional<ui::FileDialog::Result>> m_answers;
};

// Runs work on another thread while this one keeps processing events (serving the desktop
// channel, say), and returns work's result. Gives up waiting after 30 seconds.
template <typename Work>
auto whileServing(Work work) -> decltype(work())
{
    std::atomic<bool> done{false};
    decltype(work()) result{};
    std::thread worker([&] {
        result = work();
        done = true;
    });
    QElapsedTimer timer;
    timer.start();
    while (!done && timer.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    worker.join();
    return result;
}
