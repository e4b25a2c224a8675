// The import preview: reading the file with the user's choices, and the rows it would add.
#include "dialogs/CImportDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <map>

#include "platform/ole/FormatAmount.h"
#include "platform/settings/ProfileSettings.h"

namespace {

constexpr const char* kSection = "Import";
const char* const kColumnNames[] = {"date", "amount", "description", "vendor", "check"};
const char* const kColumnLabels[] = {"&Date column:", "A&mount column:", "D&escription column:", "&Vendor column:",
                                     "C&heck number column:"};
const char kSeparators[] = {',', ';', '\t'};

// The profile entry of a file's choices: its first line, hashed (FNV-1a).
std::string EntryFor(const std::string& text)
{
    std::uint64_t hash = 1469598103934665603ull;
    for (const char c : text.substr(0, text.find_first_of("\r\n")))
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    char entry[24];
    std::snprintf(entry, sizeof entry, "%016llx", static_cast<unsigned long long>(hash));
    return entry;
}

QComboBox* Combo(const std::vector<std::string>& items, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    for (const std::string& item : items)
        combo->addItem(QString::fromStdString(item));
    return combo;
}

// The type, category and account of one row, chosen from this database's lists.
class LookupDelegate : public QStyledItemDelegate {
public:
    LookupDelegate(const ExpenseImport& import, QObject* parent) : QStyledItemDelegate(parent), m_import(import) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        const std::string type = index.sibling(index.row(), kTypeColumn).data().toString().toStdString();
        return Combo(index.column() == kTypeColumn       ? m_import.TypeLabels()
                     : index.column() == kCategoryColumn ? m_import.CategoriesOf(type)
                     : index.column() == kProjectColumn  ? m_import.ProjectNames()
                                                         : m_import.Accounts(),
                     parent);
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        static_cast<QComboBox*>(editor)->setCurrentText(index.data().toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText());
    }

    static constexpr int kTypeColumn = 2, kCategoryColumn = 3, kAccountColumn = 7, kProjectColumn = 9;
    static bool IsLookup(int column)
    {
        return column == kTypeColumn || column == kCategoryColumn || column == kAccountColumn || column == kProjectColumn;
    }

private:
    const ExpenseImport& m_import;
};

}  // namespace

CImportDlg::CImportDlg(CADODataBase& db, const std::string& bytes, const std::string& path, QWidget* parent)
    : QDialog(parent), m_import(db)
{
    setWindowTitle("Import Expenses");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString("From %1").arg(QFileInfo(QString::fromStdString(path)).fileName()), this));
    m_problem = new QLabel(this);
    m_problem->setStyleSheet("color: #b00020");
    m_problem->setWordWrap(true);
    std::string error;
    const bool lookups = m_import.ReadLookups(error);
    char separator = ',';
    m_bOfx = ofx::LooksLikeOfx(bytes);
    try {
        if (m_bOfx) {
            m_text = bytes.substr(0, bytes.find('\n'));
            m_transactions = ofx::ReadStatement(path);
        } else {
            m_text = csv::Decode(bytes);
            separator = csv::DetectSeparator(m_text);
            m_records = csv::Parse(m_text, separator);
        }
    } catch (const std::runtime_error& refusal) {
        m_problem->setText(QString("The file cannot be read: %1").arg(refusal.what()));
    }
    m_bOwnFormat = !m_bOfx && ExpenseImport::IsQuillmarCsv(m_records);
    MakeBankChoices();
    m_separator->setCurrentIndex(static_cast<int>(std::find(std::begin(kSeparators), std::end(kSeparators), separator) - kSeparators));
    m_bankChoices->setVisible(!m_bOwnFormat && (m_bOfx || !m_records.empty()));
    m_columnChoices->setVisible(!m_bOfx);
    layout->addWidget(m_bankChoices);
    m_table = new QTableWidget(this);
    m_table->setColumnCount(10);
    m_table->setHorizontalHeaderLabels({"", "Date", "Type", "Category", "Item", "Amount", "Vendor", "Account", "Detail", "Project"});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    for (const int column : {LookupDelegate::kTypeColumn, LookupDelegate::kCategoryColumn, LookupDelegate::kAccountColumn,
                             LookupDelegate::kProjectColumn})
        m_table->setItemDelegateForColumn(column, new LookupDelegate(m_import, m_table));
    connect(m_table, &QTableWidget::cellChanged, this, &CImportDlg::OnTick);
    layout->addWidget(m_table, 1);
    m_count = new QLabel(this);
    layout->addWidget(m_count);
    layout->addWidget(m_problem);
    auto* buttons = new QDialogButtonBox(this);
    m_importButton = buttons->addButton("&Import", QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        Remember();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(900, 560);
    if (!lookups)
        m_problem->setText(QString::fromStdString("The database cannot be read: " + error));
    else if (m_problem->text().isEmpty())
        Reread();
    m_importButton->setEnabled(m_problem->text().isEmpty() && !m_rows.empty());
}

CImportDlg::~CImportDlg() = default;

QComboBox* CImportDlg::Column(const char* which) const
{
    for (const auto& [name, combo] : m_columns)
        if (name == which)
            return combo;
    return nullptr;
}

void CImportDlg::MakeBankChoices()
{
    m_bankChoices = new QWidget(this);
    m_columnChoices = new QWidget(m_bankChoices);
    auto* columns = new QFormLayout(m_columnChoices);
    const std::vector<std::string> names = m_records.empty() ? std::vector<std::string>{} : m_records.front().fields;
    for (std::size_t i = 0; i < std::size(kColumnNames); ++i) {
        auto* combo = new QComboBox(m_columnChoices);
        combo->addItem("(none)");
        for (std::size_t c = 0; c < names.size(); ++c)
            combo->addItem(QString("%1: %2").arg(c + 1).arg(QString::fromStdString(names[c])));
        m_columns.emplace_back(kColumnNames[i], combo);
        auto* label = new QLabel(kColumnLabels[i], m_columnChoices);
        label->setBuddy(combo);
        columns->addRow(label, combo);
    }
    m_dateFormat = Combo(ExpenseImport::DateFormats(), m_columnChoices);
    columns->addRow("Date &format:", m_dateFormat);
    auto* filed = new QFormLayout;
    m_type = Combo(m_import.TypeLabels(), m_bankChoices);
    m_category = new QComboBox(m_bankChoices);
    m_account = Combo(m_import.Accounts(), m_bankChoices);
    m_project = Combo(m_import.ProjectNames(), m_bankChoices);
    filed->addRow("&Type:", m_type);
    filed->addRow("Ca&tegory:", m_category);
    filed->addRow("Acc&ount:", m_account);
    filed->addRow("&Project:", m_project);
    m_debitsNegative = new QCheckBox("Payments have a minus &sign", m_columnChoices);
    m_debitsNegative->setChecked(true);
    m_header = new QCheckBox("The first line &names the columns", m_columnChoices);
    m_header->setChecked(true);
    m_separator = Combo({"Comma", "Semicolon", "Tab"}, m_columnChoices);
    columns->addRow(m_debitsNegative);
    columns->addRow(m_header);
    columns->addRow("Sepa&rator:", m_separator);
    auto* row = new QHBoxLayout(m_bankChoices);
    row->addWidget(m_columnChoices);
    row->addLayout(filed);
    const auto fillCategories = [this] {
        m_category->clear();
        for (const std::string& category : m_import.CategoriesOf(m_type->currentText().toStdString()))
            m_category->addItem(QString::fromStdString(category));
        m_project->setEnabled(m_import.IsReimbursable(m_type->currentText().toStdString()));
    };
    fillCategories();
    connect(m_type, &QComboBox::currentTextChanged, this, fillCategories);
    Recall();
    for (QComboBox* combo : {m_dateFormat, m_type, m_category, m_account, m_project})
        connect(combo, &QComboBox::currentIndexChanged, this, &CImportDlg::Reread);
    for (const auto& [name, combo] : m_columns)
        connect(combo, &QComboBox::currentIndexChanged, this, &CImportDlg::Reread);
    for (QCheckBox* box : {m_debitsNegative, m_header})
        connect(box, &QCheckBox::toggled, this, &CImportDlg::Reread);
    connect(m_separator, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_records = csv::Parse(m_text, kSeparators[std::max(index, 0)]);
        Reread();
    });
}

void CImportDlg::Reread()
{
    if (!m_table)
        return;  // still being built
    m_problem->clear();
    m_rows.clear();
    m_nCredits = 0;
    try {
        const ExpenseImport::Defaults defaults{m_type->currentText().toStdString(), m_category->currentText().toStdString(),
                                               m_account->currentText().toStdString(), m_project->currentText().toStdString()};
        if (m_bOfx) {
            m_rows = m_import.FromOfx(m_transactions, defaults, m_nCredits);
        } else if (m_records.empty()) {
            throw csv::Error(1, "the file holds no expenses");
        } else if (m_bOwnFormat) {
            m_rows = m_import.FromQuillmarCsv(m_records);
        } else {
            ExpenseImport::BankLayout layout;
            int* targets[] = {&layout.dateColumn, &layout.amountColumn, &layout.descriptionColumn, &layout.vendorColumn, &layout.checkColumn};
            for (std::size_t i = 0; i < m_columns.size(); ++i)
                *targets[i] = m_columns[i].second->currentIndex() - 1;
            layout.dateFormat = m_dateFormat->currentText().toStdString();
            layout.debitsNegative = m_debitsNegative->isChecked();
            layout.header = m_header->isChecked();
            m_rows = m_import.FromBankCsv(m_records, layout, defaults, m_nCredits);
        }
        std::string error;
        if (!m_import.MarkDuplicates(m_rows, error))
            throw csv::Error(0, "the database's expenses cannot be read: " + error);
    } catch (const csv::Error& refusal) {
        m_rows.clear();
        // "line 3: ..." or "transaction 2: ...", as the file's own numbering.
        QString text = QString::fromStdString(refusal.what());
        text[0] = text[0].toUpper();
        m_problem->setText(text);
    }
    ShowRows();
    ShowCount();
}

void CImportDlg::ShowRows()
{
    const QSignalBlocker quiet(m_table);
    m_table->setRowCount(static_cast<int>(m_rows.size()));
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const ExpenseRow& e = m_rows[i].expense;
        auto* tick = new QTableWidgetItem;
        tick->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        tick->setCheckState(m_rows[i].ticked ? Qt::Checked : Qt::Unchecked);
        if (m_rows[i].duplicate)
            tick->setToolTip("Looks like an expense already in the database");
        m_table->setItem(static_cast<int>(i), 0, tick);
        const std::string texts[] = {e.m_dtDate.isValid() ? e.m_dtDate.format("%Y-%m-%d") : std::string(),
                                     m_import.LabelOf(e.m_nExpType), e.m_strExpCat, e.m_strItem, FormatAmount(e.m_cyAmount),
                                     e.m_strVendor, e.m_strAcctCode, e.m_strDetail, m_import.ProjectNameOf(e)};
        for (std::size_t c = 0; c < std::size(texts); ++c) {
            auto* cell = new QTableWidgetItem(QString::fromStdString(texts[c]));
            const int column = static_cast<int>(c) + 1;
            const bool lookup = LookupDelegate::IsLookup(column);
            cell->setFlags(lookup ? cell->flags() | Qt::ItemIsEditable : cell->flags() & ~Qt::ItemIsEditable);
            if (lookup)
                cell->setToolTip("Double-click to file this row under another one");
            if (m_rows[i].duplicate)  // greyed, so that a ticked duplicate still stands out
                cell->setForeground(palette().color(QPalette::PlaceholderText));
            m_table->setItem(static_cast<int>(i), column, cell);
        }
    }
    m_table->resizeColumnsToContents();
}

void CImportDlg::ShowCount()
{
    long ticked = 0, duplicates = 0;
    ole::Currency total;
    for (const ExpenseImport::Row& row : m_rows) {
        duplicates += row.duplicate;
        if (row.ticked) {
            ++ticked;
            total += row.expense.m_cyAmount;
        }
    }
    QString line = QString("%1 expenses, total %2; %3 look like expenses already in the database")
                       .arg(ticked)
                       .arg(QString::fromStdString(FormatAmount(total)))
                       .arg(duplicates);
    if (m_nCredits > 0)
        line += QString(m_nCredits == 1 ? "; %1 credit left out" : "; %1 credits left out").arg(m_nCredits);
    m_count->setText(line);
    m_importButton->setEnabled(m_problem->text().isEmpty() && ticked > 0);
}

void CImportDlg::OnTick(int row, int column)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    if (column != 0) {
        // A row filed under another type, category or account; a new type takes its first category.
        const auto text = [this, row](int c) { return m_table->item(row, c)->text().toStdString(); };
        const std::string project = text(LookupDelegate::kProjectColumn);
        ExpenseImport::Defaults filed{text(LookupDelegate::kTypeColumn), text(LookupDelegate::kCategoryColumn),
                                      text(LookupDelegate::kAccountColumn),
                                      project.empty() ? m_project->currentText().toStdString() : project};
        const std::vector<std::string> categories = m_import.CategoriesOf(filed.type);
        if (column == LookupDelegate::kTypeColumn && std::find(categories.begin(), categories.end(), filed.category) == categories.end())
            filed.category = categories.empty() ? std::string() : categories.front();
        if (!m_import.Refile(m_rows[static_cast<std::size_t>(row)].expense, filed))
            m_problem->setText(QString("Line %1: a %2 expense needs a project: choose one above first")
                                   .arg(m_rows[static_cast<std::size_t>(row)].line)
                                   .arg(QString::fromStdString(filed.type)));
        const QSignalBlocker quiet(m_table);
        const ExpenseRow& refiled = m_rows[static_cast<std::size_t>(row)].expense;
        m_table->item(row, LookupDelegate::kCategoryColumn)->setText(QString::fromStdString(refiled.m_strExpCat));
        m_table->item(row, LookupDelegate::kProjectColumn)->setText(QString::fromStdString(m_import.ProjectNameOf(refiled)));
        ShowCount();
        return;
    }
    m_rows[static_cast<std::size_t>(row)].ticked = m_table->item(row, 0)->checkState() == Qt::Checked;
    ShowCount();
}

void CImportDlg::Remember() const
{
    if (m_bOwnFormat)
        return;
    std::string value;
    for (const auto& [name, combo] : m_columns)
        value += name + "=" + std::to_string(combo->currentIndex()) + ";";
    value += "format=" + std::to_string(m_dateFormat->currentIndex()) + ";negative=" + (m_debitsNegative->isChecked() ? "1" : "0") +
             ";header=" + (m_header->isChecked() ? "1" : "0") + ";type=" + m_type->currentText().toStdString() +
             ";category=" + m_category->currentText().toStdString() + ";account=" + m_account->currentText().toStdString();
    // Only a convenience for the next file of the same bank: a profile that cannot be written loses it.
    (void)settings::ProfileSettings::WriteProfileString(kSection, EntryFor(m_text), value);
}

void CImportDlg::Guess()
{
    // A first file from a bank: the columns named as banks name them, the date format its first date reads in.
    if (m_records.size() < 2)
        return;
    const std::vector<std::string>& header = m_records.front().fields;
    const std::vector<std::pair<const char*, std::vector<QString>>> words = {
        {"date", {"date", "datum", "posted"}},          {"amount", {"amount", "betrag", "sum"}},
        {"description", {"description", "text", "memo", "details"}}, {"vendor", {"payee", "vendor", "merchant", "name"}},
        {"check", {"check", "cheque"}}};
    for (const auto& [column, names] : words)
        for (std::size_t c = 0; c < header.size(); ++c)
            if (Column(column)->currentIndex() == 0 &&
                std::any_of(names.begin(), names.end(), [&](const QString& name) {
                    return QString::fromStdString(header[c]).contains(name, Qt::CaseInsensitive);
                }))
                Column(column)->setCurrentIndex(static_cast<int>(c) + 1);
    const int date = Column("date")->currentIndex() - 1;
    if (date >= 0 && date < static_cast<int>(m_records[1].fields.size())) {
        const std::string format = ExpenseImport::DateFormatOf(m_records[1].fields[static_cast<std::size_t>(date)]);
        if (!format.empty())
            m_dateFormat->setCurrentText(QString::fromStdString(format));
    }
}

void CImportDlg::Recall()
{
    const std::string value = settings::ProfileSettings::GetProfileString(kSection, EntryFor(m_text), "");
    if (value.empty()) {
        Guess();
        return;
    }
    std::map<std::string, std::string> choices;
    for (std::size_t start = 0; start < value.size();) {
        const std::size_t end = value.find(';', start), equals = value.find('=', start);
        if (equals < end)
            choices[value.substr(start, equals - start)] = value.substr(equals + 1, (end == std::string::npos ? value.size() : end) - equals - 1);
        start = end == std::string::npos ? value.size() : end + 1;
    }
    const auto index = [&choices](const std::string& key, int fallback) {
        return choices.count(key) ? std::atoi(choices[key].c_str()) : fallback;
    };
    for (const auto& [name, combo] : m_columns)
        combo->setCurrentIndex(index(name, 0));
    m_dateFormat->setCurrentIndex(index("format", 0));
    m_debitsNegative->setChecked(index("negative", 1) != 0);
    m_header->setChecked(index("header", 1) != 0);
    for (auto [key, combo] : {std::pair{"type", m_type}, {"category", m_category}, {"account", m_account}})
        if (choices.count(key) && combo->findText(QString::fromStdString(choices[key])) >= 0)
            combo->setCurrentText(QString::fromStdString(choices[key]));
}
