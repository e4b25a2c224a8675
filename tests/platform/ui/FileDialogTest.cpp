// What a file dialog's answer names on disk when the toolkit could only show a file name.
#include <QtTest>

#include <filesystem>

#include "platform/ui/FileDialog.h"
#include "tests/support/TempDir.h"

class FileDialogTest : public QObject {
    Q_OBJECT
private slots:
    void aNameThatIsNotUTF8IsFoundByHowItIsShown()
    {
        TempDir dir;
        const std::string folder = dir.file("f\xf6lder");
        std::filesystem::create_directory(folder);
        writeFile(folder + "/caf\xe9.mdb", "x");
        const QString shown = QFile::decodeName(QByteArray::fromStdString(folder + "/caf\xe9.mdb"));
        QVERIFY(shown.contains(QChar::ReplacementCharacter));
        QCOMPARE(ui::FileDialog::Result{shown}.NativePath(), folder + "/caf\xe9.mdb");
        QCOMPARE(ui::FileDialog::Result{QString::fromStdString(dir.file("plain.mdb"))}.NativePath(), dir.file("plain.mdb"));
        // Two names that read alike: neither is guessed (the folder still is found).
        writeFile(folder + "/caf\xe8.mdb", "y");
        QCOMPARE(ui::FileDialog::Result{shown}.NativePath(), folder + "/caf\xef\xbf\xbd.mdb");
    }
};

QTEST_MAIN(FileDialogTest)
#include "FileDialogTest.moc"
