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
class QWidget;

class LookupEditing {
public:
    // Runs writes (record set writes on rs's connection, answering false with the failure) in
    // one transaction with the lookup version bump. A failure is shown to the user as what,
    // followed by the engine's reason, and nothing of it is stored.
    static bool Store(QWidget* parent, CAdoRecordset& rs, const QString& what,
                      const std::function<bool(AdoFailure&)>& writes);
    // Ends a row's writes: Update when every value was taken, else (or when Update is refused)
    // the pending row is dropped and failure tells why.
    static bool FinishRow(CAdoRecordset& rs, bool bValuesTaken, AdoFailure& failure);
    // Stop box: what, and on a line of its own the engine's reason.
    static void ReportFailure(QWidget* parent, const QString& what, const AdoFailure& failure);

    // A copy of a row's bookmark as item data, and back (none for an item without one).
    static QVariant ItemData(const ole::Variant& bookmark);
    static std::optional<ole::Variant> Bookmark(const QVariant& data);
};
