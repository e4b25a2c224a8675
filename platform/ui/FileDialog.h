// Open and save file dialogs with the traditional filter strings ("Name (*.ext)|*.ext|...||"),
// an optional check box under the file list, and a test hook that answers them.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace ui {

class FileDialog {
public:
    struct Request {
        bool save = false;           // a save dialog (else open)
        QString title;
        QString filter;              // "Text (*.txt)|*.txt|All Files (*.*)|*.*||"
        QString defaultExtension;    // added when the typed name has none
        QString initialName;         // proposed file name
        bool mustExist = false;      // open: the file must exist
        bool confirmOverwrite = false;  // save: ask before replacing a file
        QString checkBoxText;        // empty: no check box
        bool checkBoxChecked = false;
    };
    struct Result {
        QString path;                // full path of the chosen file, for display
        bool checkBoxChecked = false;

        // The path as the file system names it: the toolkit shows a name that is not UTF-8 with
        // U+FFFD in place of its bytes, so such a part is the one name in its folder that reads
        // so (left as shown when none or several do).
        std::string NativePath() const;
    };
    using Handler = std::function<std::optional<Result>(const Request&)>;

    // Shows the dialog; nothing when the user cancels.
    static std::optional<Result> Run(QWidget* parent, const Request& request);

    // "Name (*.a;*.b)|*.a;*.b|...||" -> the toolkit's "Name (*.a *.b);;..." form.
    static QString ToolkitFilter(const QString& filter);

    // Tests: every dialog goes to handler instead of the screen while it is set.
    static void SetHandler(Handler handler);
};

}  // namespace ui
