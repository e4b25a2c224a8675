// The report options dialog: the lists of types, years or projects and statuses, and the choice.
#include "reports/CReportOpts.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "database/ExpenseSchema.h"
#include "dbaccess/CAdoRecordset.h"
#include "platform/ui/MessageBox.h"
#include "reports/ReportChoice.h"

namespace {

QRadioButton* Radio(QWidget* parent, QButtonGroup* group, const char* text, int id, const char* name)
{
    auto* radio = new QRadioButton(text, parent);
    radio->setObjectName(name);
    group->addButton(radio, id);
    return radio;
}

}  // namespace

CReportOpts::CReportOpts(CADODataBase& db, CAdoRecordset& types, CAdoRecordset& projects, CAdoRecordset& statuses,
                         ReportSettings& settings, QWidget* parent)
    : QDialog(parent),
      m_lists(db, types, projects, statuses),
      m_types(types),
      m_projects(projects),
      m_settings(settings),
      m_pTypeList(new QTreeWidget(this)),
      m_pKeyList(new QListWidget(this)),
      m_pKeyLabel(new QLabel("Project ID", this)),
      m_pForm(new QButtonGroup(this)),
      m_pGrouping(new QButtonGroup(this)),
      m_pStatusList(new QListWidget(this)),
      m_pStatusLabel(new QLabel("Status Codes:", this)),
      m_pPrintButton(new QPushButton("&Print", this)),
      m_pPreviewButton(new QPushButton("Pre&view", this))
{
    setWindowTitle("Report Options");
    m_pTypeList->setObjectName("typeList");
    m_pKeyList->setObjectName("keyList");
    m_pStatusList->setObjectName("statusList");
    m_pPrintButton->setObjectName("printButton");
    m_pPreviewButton->setObjectName("previewButton");
    m_pTypeList->setRootIsDecorated(false);
    m_pTypeList->setHeaderLabels({"Type", "Description"});
    m_pTypeList->header()->setSectionsClickable(false);
    m_pKeyList->setSortingEnabled(true);
    m_pStatusList->setSelectionMode(QAbstractItemView::NoSelection);
    m_pKeyLabel->setBuddy(m_pKeyList);

    auto* formBox = new QGroupBox("Report Type", this);
    auto* formLayout = new QVBoxLayout(formBox);
    formLayout->addWidget(Radio(formBox, m_pForm, "&Detailed", 0, "detailedRadio"));
    formLayout->addWidget(Radio(formBox, m_pForm, "&Summary", 1, "summaryRadio"));
    auto* groupingBox = new QGroupBox("Grouping", this);
    auto* groupingLayout = new QVBoxLayout(groupingBox);
    groupingLayout->addWidget(Radio(groupingBox, m_pGrouping, "by &Category", 0, "byCategoryRadio"));
    groupingLayout->addWidget(Radio(groupingBox, m_pGrouping, "by S&tatus", 1, "byStatusRadio"));
    m_pForm->button(0)->setChecked(true);
    m_pGrouping->button(0)->setChecked(true);
    auto* cancel = new QPushButton("Cancel", this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_pTypeList, 0, 0, 4, 1);
    grid->addWidget(m_pKeyLabel, 0, 1, Qt::AlignBottom);
    grid->addWidget(m_pKeyList, 1, 1, 3, 1);
    grid->addWidget(formBox, 0, 2);
    grid->addWidget(groupingBox, 1, 2);
    grid->addWidget(m_pStatusLabel, 2, 2);
    grid->addWidget(m_pStatusList, 3, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pPrintButton);
    buttons->addWidget(m_pPreviewButton);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 4, 0, 1, 3);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 2);
    resize(720, 400);
    m_pTypeList->setColumnWidth(0, 720 * 3 / 7 / 5);

    connect(m_pTypeList, &QTreeWidget::currentItemChanged, this, [this] { UpdateForType(); });
    connect(m_pKeyList, &QListWidget::currentRowChanged, this, &CReportOpts::OnKeyChanged);
    connect(m_pPrintButton, &QPushButton::clicked, this, [this] { OnPrint(false); });
    connect(m_pPreviewButton, &QPushButton::clicked, this, [this] { OnPrint(true); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    if (FillTypeList() > 0)
        m_pTypeList->setCurrentItem(m_pTypeList->topLevelItem(0));
    else
        UpdateForType();
}

int CReportOpts::FillTypeList()
{
    const std::vector<ReportOptionLists::Type> types = m_lists.TypesWithExpenses();
    for (const ReportOptionLists::Type& type : types) {
        auto* item =
            new QTreeWidgetItem({QString::fromStdString(type.label), QString::fromStdString(type.description)});
        item->setData(0, Qt::UserRole, type.number);
        m_pTypeList->addTopLevelItem(item);
    }
    return static_cast<int>(types.size());
}

int CReportOpts::FillYearOrProjectList(std::int16_t nType)
{
    const QSignalBlocker quiet(m_pKeyList);
    m_pKeyList->clear();
    if (nType < 0)
        return 0;
    const bool project = ReportChoice(m_types, m_projects).IsProjectType(nType);
    const std::vector<ReportOptionLists::Key> keys = project ? m_lists.ProjectsOf(nType) : m_lists.YearsOf(nType);
    for (const ReportOptionLists::Key& key : keys) {
        auto* item = new QListWidgetItem(QString::fromStdString(key.text), m_pKeyList);
        item->setData(Qt::UserRole, key.key);
    }
    if (!keys.empty())
        m_pKeyList->setCurrentRow(0);
    return static_cast<int>(keys.size());
}

void CReportOpts::FillStatusList(std::int16_t nType, std::int32_t lProject)
{
    for (const ReportOptionLists::Status& status : m_lists.StatusesOf(nType, lProject)) {
        const std::string text = status.code + " - " + status.description;
        auto* item = new QListWidgetItem(QString::fromStdString(text), m_pStatusList);
        item->setData(Qt::UserRole, status.status);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(status.status != schema::billing::kNone ? Qt::Checked : Qt::Unchecked);
    }
}

std::int16_t CReportOpts::SelectedType() const
{
    const QTreeWidgetItem* item = m_pTypeList->currentItem();
    return item ? static_cast<std::int16_t>(item->data(0, Qt::UserRole).toInt()) : std::int16_t(-1);
}

void CReportOpts::UpdateForType()
{
    const std::int16_t type = SelectedType();
    const bool project = type >= 0 && ReportChoice(m_types, m_projects).IsProjectType(type);
    m_pPrintButton->setEnabled(type >= 0);
    m_pPreviewButton->setEnabled(type >= 0);
    m_pForm->button(1)->setEnabled(type != schema::typerange::kEstimatedTax);
    for (QWidget* control : {static_cast<QWidget*>(m_pGrouping->button(0)), static_cast<QWidget*>(m_pGrouping->button(1)),
                             static_cast<QWidget*>(m_pStatusList), static_cast<QWidget*>(m_pStatusLabel)})
        control->setEnabled(project);
    FillYearOrProjectList(type);
    m_pStatusList->clear();
    m_pKeyLabel->setText(project ? "Project ID" : "Year");
    if (project && m_pKeyList->count() > 0)
        FillStatusList(type, m_pKeyList->item(0)->data(Qt::UserRole).toInt());
}

void CReportOpts::OnKeyChanged()
{
    const std::int16_t type = SelectedType();
    if (type < 0 || !ReportChoice(m_types, m_projects).IsProjectType(type) || !m_pKeyList->currentItem())
        return;
    m_pStatusList->clear();
    FillStatusList(type, m_pKeyList->currentItem()->data(Qt::UserRole).toInt());
}

bool CReportOpts::CollectSettings()
{
    const std::int16_t type = SelectedType();
    if (type < 0 || !m_pKeyList->currentItem()) {
        ui::MessageBox::Show(this, "Please choose an expense type and a year or project.", "Report Options");
        return false;
    }
    std::vector<std::int16_t> statuses;
    for (int i = 0; i < m_pStatusList->count(); ++i)
        if (m_pStatusList->item(i)->checkState() == Qt::Checked)
            statuses.push_back(static_cast<std::int16_t>(m_pStatusList->item(i)->data(Qt::UserRole).toInt()));
    ReportChoice choice(m_types, m_projects);
    const bool project = choice.IsProjectType(type);
    if (project && statuses.empty()) {
        // Without a status the report could hold nothing; say so rather than print an empty report.
        ui::MessageBox::Show(this, "Please tick at least one status code.", "Report Options");
        m_pStatusList->setFocus();
        return false;
    }
    m_settings = choice.Settings(type, m_pKeyList->currentItem()->data(Qt::UserRole).toInt(),
                                 type != schema::typerange::kEstimatedTax && m_pForm->checkedId() == 1,
                                 GroupByOfRadio(m_pGrouping->checkedId()), statuses);
    return true;
}

void CReportOpts::OnPrint(bool bPreview)
{
    // The form's record sets close while a HotSync works on the database; the choice waits.
    if (!m_types.IsOpen()) {
        const std::string why = m_types.ClosedReason();
        ui::MessageBox::Show(this, QString::fromStdString("The report could not be made.\n" + why), {},
                             ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Stop);
        return;
    }
    if (!CollectSettings())
        return;
    m_bPreview = bPreview;
    accept();
}
