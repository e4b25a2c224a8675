// CImportDlg: "Import Expenses", the preview of File > Import.... It shows one row per expense
// the file would add (date, type, category, item, amount, vendor, account, detail and, for a
// reimbursable type, project) with a tick, duplicates unticked, and a count line. For Quillmar's
// own CSV the fields map by themselves; for a bank's CSV the user says which column is the date
// (and its format), the amount (and its sign convention), the description, the vendor and the
// check number, and what the rows are filed under; an OFX or QFX statement needs only the latter.
// A row's type, category, account and project can be changed in the preview. A file or a choice
// that cannot be read is named by its line and Import stays off. The choices for a file are
// remembered by its header line.
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "database/CsvReader.h"
#include "database/ExpenseImport.h"

class CADODataBase;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QWidget;

class CImportDlg : public QDialog {
    Q_OBJECT
public:
    // bytes: the content of the file at path (an OFX statement is read again from path by
    // libofx). The lookups are read at once.
    CImportDlg(CADODataBase& db, const std::string& bytes, const std::string& path, QWidget* parent = nullptr);
    ~CImportDlg() override;

    // The rows as ticked when the dialog closed with Import.
    const std::vector<ExpenseImport::Row>& Rows() const { return m_rows; }
    const ExpenseImport& Import() const { return m_import; }

    QTableWidget* Table() const { return m_table; }
    QLabel* CountLine() const { return m_count; }
    QLabel* Problem() const { return m_problem; }
    QPushButton* ImportButton() const { return m_importButton; }
    QWidget* BankChoices() const { return m_bankChoices; }
    QComboBox* Column(const char* which) const;  // "date", "amount", "description", "vendor", "check"
    QComboBox* DateFormat() const { return m_dateFormat; }
    QCheckBox* DebitsNegative() const { return m_debitsNegative; }
    QComboBox* FiledType() const { return m_type; }

private:
    void MakeBankChoices();
    void Reread();
    void ShowRows();
    void ShowCount();
    void Remember() const;
    void Recall();
    void Guess();
    void OnTick(int row, int column);

    ExpenseImport m_import;
    std::string m_text;                     // the file decoded
    std::vector<csv::Record> m_records;
    std::vector<ExpenseImport::Row> m_rows;
    bool m_bOwnFormat = false;
    bool m_bOfx = false;
    std::vector<ofx::Transaction> m_transactions;  // an OFX statement's
    QWidget* m_columnChoices = nullptr;            // where a CSV keeps its fields
    long m_nCredits = 0;
    QTableWidget* m_table = nullptr;
    QLabel* m_count = nullptr;
    QLabel* m_problem = nullptr;
    QPushButton* m_importButton = nullptr;
    QWidget* m_bankChoices = nullptr;
    std::vector<std::pair<std::string, QComboBox*>> m_columns;
    QComboBox* m_dateFormat = nullptr;
    QCheckBox* m_debitsNegative = nullptr;
    QCheckBox* m_header = nullptr;
    QComboBox* m_separator = nullptr;
    QComboBox* m_type = nullptr;
    QComboBox* m_category = nullptr;
    QComboBox* m_account = nullptr;
    QComboBox* m_project = nullptr;
};
