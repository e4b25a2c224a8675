// CExpTypeDlg: "Expense Type", one expense type: its number (10 to 999, also its sort order),
// name (upper case, at most 4 characters), description (at most 32) and whether it is
// reimbursable. Save stores the row at once, with the lookup version for the handheld; a type
// that takes a new number takes its categories and expenses with it, in the same transaction.
#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>
#include <string>

#include "database/ExpenseSchema.h"
#include "platform/ole/Variant.h"

class CAdoRecordset;
class QCheckBox;
class QLineEdit;

class CExpTypeDlg : public QDialog {
    Q_OBJECT
public:
    explicit CExpTypeDlg(QWidget* parent = nullptr);

    std::int32_t m_nExpType = schema::typerange::kFirstUser;  // preset by the caller for a new type
    std::int32_t m_nLoadedType = -1;  // the number as loaded; -1 for a new type
    std::string m_strExpLabel;
    std::string m_strExpDesc;
    bool m_bReimbursable = false;

    // Set before exec(): edit mode (the type record set stands on the row), the type record set
    // and the category record set whose rows follow a new number.
    void SetEditMode(bool bEdit) { m_bEditMode = bEdit; }
    void SetRecordsets(CAdoRecordset* pTypes, CAdoRecordset* pCategories);
    int exec() override;
    bool StoreFailed() const { return m_bStoreFailed; }

private:
    void OnInitDialog();
    void OnSave();
    bool UpdateData(bool bSave);
    std::optional<std::int16_t> LoadedNumber() const;  // none for a new type
    bool Store();

    bool m_bEditMode = false;
    QCheckBox* m_pReimbursableCheck;
    QLineEdit* m_pTypeEdit;
    QLineEdit* m_pLabelEdit;
    QLineEdit* m_pDescEdit;
    CAdoRecordset* m_pTypes = nullptr;       // not owned
    CAdoRecordset* m_pCategories = nullptr;  // not owned
    ole::Variant m_bookmark;                 // the edited row
    bool m_bStoreFailed = false;
};
