// CCategoriesDlg: "Edit Categories", the expense types with their categories as a two-level
// tree. "Group" creates a type, "Category" a category of the selected type; a double click (or
// Enter) edits an item, except the system types 0 to 9, which only beep; "Delete" removes a
// category (never a type's last one) or, after a question, a type with all its categories.
// Every change is stored at once.
#pragma once

#include <QDialog>
#include <cstdint>

#include "database/LookupTables.h"
#include "dbaccess/CAdoRecordset.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class CCategoriesDlg : public QDialog {
    Q_OBJECT
public:
    // types: the main form's lkpExpTypes record set (not owned).
    CCategoriesDlg(CAdoRecordset& types, QWidget* parent = nullptr);
    ~CCategoriesDlg() override;

    bool Changed() const { return m_bChanged; }  // a change was stored
    QTreeWidget* Tree() const { return m_pTree; }

    // What an item shows, kept in its data roles and drawn by the tree's delegate.
    enum Role { BookmarkRole = Qt::UserRole, CodeRole, LabelRole, DescRole, ReimbursableRole };

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnInitDialog();
    void Fill(bool bReread);
    QTreeWidgetItem* TypeItem();  // an item for the type row the record set stands on
    QTreeWidgetItem* CategoryItem(const LookupTables::CategoryRow& row);
    QTreeWidgetItem* StoredCategoryItem();  // for the row the category record set stands on
    void AddCategories(QTreeWidgetItem* typeItem, std::int16_t nExpType);
    void InsertType(QTreeWidgetItem* item);
    void InsertCategory(QTreeWidgetItem* typeItem, QTreeWidgetItem* item);
    bool MoveTo(CAdoRecordset& rs, const QTreeWidgetItem* item);
    bool IsUserItem(const QTreeWidgetItem* item);
    bool IsLastCategory(const QTreeWidgetItem* item);  // false for a type
    void OnSelectionChanged();
    void OnActivated(QTreeWidgetItem* item);
    void OnNewType();
    void OnNewCategory();
    void EditType(QTreeWidgetItem* item);
    void EditCategory(QTreeWidgetItem* item);
    // "Expense Category" for typeItem's type: true when a change was stored.
    bool RunCategoryDialog(const QTreeWidgetItem* typeItem, bool bEdit);
    void OnDelete();
    bool DeleteRows(QTreeWidgetItem* item);
    void AfterFailure();
    bool IsCurrent();

    CAdoRecordset& m_types;       // the form's, not owned
    bool m_bChanged = false;
    QTreeWidget* m_pTree;
    CAdoRecordset m_rsCategories; // lkpExpCategories by type and code
    QPushButton* m_pDeleteButton;
    QPushButton* m_pCategoryButton;
};
