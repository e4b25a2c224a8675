// Shared by the lookup editors: checked stores, failure messages, bookmarks as item data.
#include "dialogs/LookupEditing.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

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

void LookupEditing::ReportFailure(QWidget* parent, const QString& what, const AdoFailure& failure)
{
    ui::MessageBox::Show(parent, what + "\n" + QString::fromStdString(failure.description), {},
                         ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Stop);
}

void LookupEditing::AddSaveCancel(QDialog* dialog, QGridLayout* grid, int row, const std::function<void()>& onSave)
{
    auto* save = new QPushButton("&Save", dialog);
    auto* cancel = new QPushButton("Cancel", dialog);
    save->setObjectName("saveButton");
    save->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, row, 0, 1, grid->columnCount());
    QObject::connect(save, &QPushButton::clicked, dialog, onSave);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

QLabel* LookupEditing::LabelFor(QWidget* buddy, const char* text)
{
    auto* label = new QLabel(text, buddy->parentWidget());
    label->setBuddy(buddy);
    return label;
}

QPushButton* LookupEditing::AddListButtons(QDialog* dialog, QBoxLayout* layout, const QString& newText,
                                           QPushButton* deleteButton)
{
    auto* newButton = new QPushButton(newText, dialog);
    newButton->setObjectName("newButton");
    auto* done = new QPushButton("Done", dialog);
    done->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(newButton);
    buttons->addWidget(deleteButton);
    buttons->addStretch();
    buttons->addWidget(done);
    layout->addLayout(buttons);
    QObject::connect(done, &QPushButton::clicked, dialog, &QDialog::accept);
    return newButton;
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
