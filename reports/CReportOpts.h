// CReportOpts: "Report Options". The user picks an expense type that has expenses, one of its
// years or projects, Detailed or Summary, and for a reimbursable project type the grouping and
// the billing statuses to include; "&Print" or "Pre&view" writes the choice into the report
// settings and closes the dialog.
#pragma once

#include <QDialog>
#include <cstdint>

#include "database/ReportOptionLists.h"
#include "reports/ReportSettings.h"

class CADODataBase;
class CAdoRecordset;
class QButtonGroup;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;

class CReportOpts : public QDialog {
    Q_OBJECT
public:
    // The main form's lkpExpTypes, Projects and lkpExpBillStatus record sets (open) and its
    // settings record; none is owned.
    CReportOpts(CADODataBase& db, CAdoRecordset& types, CAdoRecordset& projects, CAdoRecordset& statuses,
                ReportSettings& settings, QWidget* parent = nullptr);

    bool m_bPreview = false;  // closed with "Pre&view"

    QTreeWidget* TypeList() const { return m_pTypeList; }
    QListWidget* KeyList() const { return m_pKeyList; }
    QListWidget* StatusList() const { return m_pStatusList; }

private:
    int FillTypeList();
    int FillYearOrProjectList(std::int16_t nType);
    void FillStatusList(std::int16_t nType, std::int32_t lProject);
    void UpdateForType();
    void OnKeyChanged();
    bool CollectSettings();
    void OnPrint(bool bPreview);
    std::int16_t SelectedType() const;

    ReportOptionLists m_lists;  // what the lists offer
    CAdoRecordset& m_types;
    CAdoRecordset& m_projects;
    ReportSettings& m_settings;
    QTreeWidget* m_pTypeList;
    QListWidget* m_pKeyList;
    QLabel* m_pKeyLabel;
    QButtonGroup* m_pForm;      // 0 Detailed, 1 Summary
    QButtonGroup* m_pGrouping;  // 0 by Category, 1 by Status
    QListWidget* m_pStatusList;
    QLabel* m_pStatusLabel;
    QPushButton* m_pPrintButton;
    QPushButton* m_pPreviewButton;
};
