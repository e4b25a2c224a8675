// Shared by the lookup editors: checked stores, failure messages, bookmarks as item data.
#include "dialogs/LookupEditing.h"

#include "database/LookupChange.h"
#include "dbaccess/CAdoRecordset.h"
#include "platform/ui/MessageBox.h"

bool LookupEditing::Store(QWidget* parent, CAdoRecordset& rs, const QString& what,
                          const std::function<bool(AdoFailure&)>& writes)
{
    LookupChange change(*rs.GetDatabase());
    if (change.Store(writes))
        return true;
    ReportFailure(parent, what, change.Failure());
    return false;
}

bool LookupEditing::FinishRow(CAdoRecordset& rs, bool bValuesTaken, AdoFailure& failure)
{
    if (bValuesTaken && rs.Update())
        return true;
    failure = rs.LastFailure();
    rs.CancelUpdate();
    return false;
}

void LookupEditing::ReportFailure(QWidget* parent, const QString& what, const AdoFailure& failure)
{
    ui::MessageBox::Show(parent, what + "\n" + QString::fromStdString(failure.description), {},
                         ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Stop);
}

QVariant LookupEditing::ItemData(const ole::Variant& bookmark)
{
    const auto* mark = bookmark.get<ole::Bookmark>();
    return mark ? QVariant(static_cast<qint64>(mark->id)) : QVariant();
}

std::optional<ole::Variant> LookupEditing::Bookmark(const QVariant& data)
{
    if (!data.isValid())
        return std::nullopt;
    return ole::Variant(ole::Bookmark{data.toLongLong()});
}
