// LookupEditing: what the lookup editors (accounts, expense types and categories, projects)
// share: storing a row together with the lookup version for the handheld, saying why a store
// failed, and the bookmark copy each list row or tree item carries as its item data.
#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

#include "dbaccess/AdoFailure.h"
#include "platform/ole/Variant.h"

class CAdoRecordset;
class QBoxLayout;
class QDialog;
class QGridLayout;
class QLabel;
class QPushButton;
class QWidget;

class LookupEditing {
public:
    // Runs writes (record set writes on rs's connection, answering false with the failure) in
    // one transaction with the lookup version bump. A failure is shown to the user as what,
    // followed by the engine's reason, and nothing of it is stored.
    static bool Store(QWidget* parent, CAdoRecordset& rs, const QString& what,
                      const std::function<bool(AdoFailure&)>& writes);
    // Stop box: what, and on a line of its own the engine's reason.
    static void ReportFailure(QWidget* parent, const QString& what, const AdoFailure& failure);

    // The foot of an entry dialog, in grid's row: Save (the default, "saveButton"), which runs
    // onSave, and Cancel, which rejects.
    static void AddSaveCancel(QDialog* dialog, QGridLayout* grid, int row, const std::function<void()>& onSave);
    // A label whose mnemonic moves the focus to buddy.
    static QLabel* LabelFor(QWidget* buddy, const char* text);
    // The foot of a list editor: "New ..." ("newButton") and Delete on the left, Done (the
    // default, accepting) on the right. Answers the new button.
    static QPushButton* AddListButtons(QDialog* dialog, QBoxLayout* layout, const QString& newText, QPushButton* deleteButton);

    // A copy of a row's bookmark as item data, and back (none for an item without one).
    static QVariant ItemData(const ole::Variant& bookmark);
    static std::optional<ole::Variant> Bookmark(const QVariant& data);
};
