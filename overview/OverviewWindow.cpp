// The overview window: its pages, chart, tables and exports.
#include "overview/OverviewWindow.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "dbaccess/CADODataBase.h"
#include "platform/settings/ProfileSettings.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/MessageBox.h"

namespace {

constexpr const char* kSection = "Overview";
constexpr const char* kNoExpenses = "No expenses yet";

QLabel* MakeEmptyLabel(QWidget* parent)
{
    auto* label = new QLabel(kNoExpenses, parent);
    label->setAlignment(Qt::AlignCenter);
    label->hide();
    return label;
}

// Fills a table from its lines: the first holds the headings; amounts are right-aligned.
void Fill(QTableWidget* table, const std::vector<std::vector<std::string>>& lines, int textColumns)
{
    table->clear();
    table->setRowCount(lines.empty() ? 0 : static_cast<int>(lines.size()) - 1);
    table->setColumnCount(lines.empty() ? 0 : static_cast<int>(lines.front().size()));
    if (lines.empty())
        return;
    QStringList headings;
    for (const std::string& heading : lines.front())
        headings << QString::fromStdString(heading);
    table->setHorizontalHeaderLabels(headings);
    for (std::size_t row = 1; row < lines.size(); ++row)
        for (std::size_t column = 0; column < lines[row].size(); ++column) {
            auto* item = new QTableWidgetItem(QString::fromStdString(lines[row][column]));
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            if (static_cast<int>(column) >= textColumns)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (row + 1 == lines.size())
                item->setFont([&] { QFont bold = item->font(); bold.setBold(true); return bold; }());
            table->setItem(static_cast<int>(row) - 1, static_cast<int>(column), item);
        }
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
}

// Eight colours told apart at a glance (the theme's own fade after five), and grey for "Other".
const QColor kColours[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xff, 0x7f, 0x0e), QColor(0x2c, 0xa0, 0x2c),
                           QColor(0xd6, 0x27, 0x28), QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
                           QColor(0xe3, 0x77, 0xc2), QColor(0x17, 0xbe, 0xcf)};
const QColor kOtherColour(0x9e, 0x9e, 0x9e);
static_assert(std::size(kColours) == OverviewWindow::kOwnColours);

double ToDouble(const ole::Currency& amount) { return static_cast<double>(amount.raw()) / ole::Currency::kScale; }

}  // namespace

OverviewWindow::OverviewWindow(CADODataBase& db, Hooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Window), m_db(db), m_hooks(std::move(hooks))
{
    setWindowTitle("Overview");
    m_pages = new QTabWidget(this);
    m_pages->addTab(MakeYearPage(), "&By year");
    m_pages->addTab(MakeOwedPage(), "&Owed to me");
    auto* exportChart = new QPushButton("Export &Chart...", this);
    auto* exportTable = new QPushButton("Export &Table...", this);
    auto* close = new QPushButton("Close", this);
    connect(exportChart, &QPushButton::clicked, this, &OverviewWindow::OnExportChart);
    connect(exportTable, &QPushButton::clicked, this, &OverviewWindow::OnExportTable);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_pages, &QTabWidget::currentChanged, exportChart, [this, exportChart](int page) {
        exportChart->setEnabled(page == 0);
        (void)ReadPage(page);  // a failure is shown on the page
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(exportChart);
    buttons->addWidget(exportTable);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);
    const auto remembered = [](const char* entry, int fallback) {
        const std::string value = settings::ProfileSettings::GetProfileString(kSection, entry, "");
        return value.empty() ? fallback : std::max(320, std::atoi(value.c_str()));
    };
    resize(remembered("Width", 900), remembered("Height", 640));
}

OverviewWindow::~OverviewWindow() = default;

QWidget* OverviewWindow::MakeYearPage()
{
    auto* page = new QWidget(this);
    m_chart = new QChartView(new QChart, page);
    m_chart->setRenderHint(QPainter::Antialiasing);
    m_chart->setMinimumHeight(220);
    m_yearTable = new QTableWidget(page);
    m_yearTable->verticalHeader()->hide();
    m_yearNote = new QLabel(page);
    m_yearEmpty = MakeEmptyLabel(page);
    connect(m_yearTable, &QTableWidget::cellClicked, this, &OverviewWindow::OnYearCell);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_chart, 3);
    layout->addWidget(m_yearTable, 2);
    layout->addWidget(m_yearNote);
    layout->addWidget(m_yearEmpty, 1);
    return page;
}

QWidget* OverviewWindow::MakeOwedPage()
{
    auto* page = new QWidget(this);
    m_owedTable = new QTableWidget(page);
    m_owedTable->verticalHeader()->hide();
    m_owedTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_owedEmpty = MakeEmptyLabel(page);
    connect(m_owedTable, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (row >= 0 && row < static_cast<int>(m_owed.rows.size()) && m_hooks.restateProject)
            m_hooks.restateProject(m_owed.rows[static_cast<std::size_t>(row)].type, m_owed.rows[static_cast<std::size_t>(row)].projectID);
    });
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_owedTable);
    layout->addWidget(m_owedEmpty);
    return page;
}

bool OverviewWindow::Refresh()
{
    overview::KeepPagesCached(m_db, true);  // again after each re-open: a new connection starts small
    // Only the page in view is read now; the other when it is turned to.
    m_bYearStale = m_bOwedStale = true;
    return ReadPage(m_pages->currentIndex());
}

bool OverviewWindow::ReadPage(int page)
{
    const bool owedPage = page == 1;
    bool& stale = owedPage ? m_bOwedStale : m_bYearStale;
    if (!stale)
        return true;
    stale = false;
    std::string error;
    const bool read = owedPage ? overview::ReadOwed(m_db, ole::DateTime::currentLocal(), m_owed, error)
                               : overview::ReadByYear(m_db, m_byYear, error);
    if (!read)
        owedPage ? void(m_owed = {}) : void(m_byYear = {});
    owedPage ? ShowOwed() : ShowByYear();
    if (!read)
        (owedPage ? m_owedEmpty : m_yearEmpty)->setText(QString::fromStdString("The overview cannot be read: " + error));
    return read;
}

void OverviewWindow::ShowByYear()
{
    const bool empty = m_byYear.IsEmpty();
    m_yearEmpty->setText(m_byYear.undated > 0 ? "No expense has a date." : kNoExpenses);
    m_yearEmpty->setVisible(empty);
    m_chart->setVisible(!empty);
    m_yearTable->setVisible(!empty);
    m_yearNote->setVisible(m_byYear.undated > 0);
    m_yearNote->setText(QString("%1 %2 without a date %3 left out.")
                            .arg(m_byYear.undated)
                            .arg(m_byYear.undated == 1 ? "expense" : "expenses", m_byYear.undated == 1 ? "is" : "are"));
    Fill(m_yearTable, empty ? std::vector<std::vector<std::string>>{} : overview::ByYearLines(m_byYear), 1);

    // The largest types by total keep their own colour; the rest share "Other".
    std::vector<std::size_t> order(m_byYear.types.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return std::llabs(m_byYear.types[a].total.raw()) > std::llabs(m_byYear.types[b].total.raw());
    });
    auto* series = new QStackedBarSeries;
    std::vector<double> others(m_byYear.years.size(), 0.0);  // the types beyond the own colours, summed
    for (std::size_t rank = 0; rank < order.size(); ++rank) {
        const std::size_t t = order[rank];
        if (rank >= static_cast<std::size_t>(kOwnColours)) {
            for (std::size_t y = 0; y < others.size(); ++y)
                others[y] += ToDouble(m_byYear.cells[y][t]);
            continue;
        }
        auto* set = new QBarSet(QString::fromStdString(m_byYear.types[t].label));
        set->setColor(kColours[rank]);
        for (std::size_t y = 0; y < m_byYear.years.size(); ++y)
            set->append(ToDouble(m_byYear.cells[y][t]));
        const std::int16_t type = m_byYear.types[t].type;
        connect(set, &QBarSet::clicked, this, [this, type](int index) {
            if (m_hooks.selectYearGroup && index >= 0 && index < static_cast<int>(m_byYear.years.size()))
                m_hooks.selectYearGroup(type, m_byYear.years[static_cast<std::size_t>(index)]);
        });
        series->append(set);
    }
    if (order.size() > static_cast<std::size_t>(kOwnColours)) {
        auto* other = new QBarSet("Other");
        other->setColor(kOtherColour);
        for (const double value : others)
            other->append(value);
        series->append(other);
    }
    auto* chart = new QChart;
    chart->addSeries(series);
    auto* years = new QBarCategoryAxis;
    for (const int year : m_byYear.years)
        years->append(QString::number(year));
    chart->addAxis(years, Qt::AlignBottom);
    series->attachAxis(years);
    auto* amounts = new QValueAxis;
    amounts->setLabelFormat("%.0f");
    chart->addAxis(amounts, Qt::AlignLeft);
    series->attachAxis(amounts);
    amounts->applyNiceNumbers();
    chart->legend()->setAlignment(Qt::AlignRight);
    QChart* old = m_chart->chart();
    m_chart->setChart(chart);
    delete old;
}

void OverviewWindow::ShowOwed()
{
    const bool empty = m_owed.IsEmpty();
    m_owedEmpty->setText(m_owed.expenses > 0 ? "Nothing is waiting to be billed or paid." : kNoExpenses);
    m_owedEmpty->setVisible(empty);
    m_owedTable->setVisible(!empty);
    Fill(m_owedTable, empty ? std::vector<std::vector<std::string>>{} : overview::OwedLines(m_owed), 2);
}

void OverviewWindow::OnYearCell(int row, int column)
{
    // The Year column, the Total column and the Total row name no group.
    const bool cell = row >= 0 && row < static_cast<int>(m_byYear.years.size()) && column >= 1 &&
                      column <= static_cast<int>(m_byYear.types.size());
    if (cell && m_hooks.selectYearGroup)
        m_hooks.selectYearGroup(m_byYear.types[static_cast<std::size_t>(column) - 1].type, m_byYear.years[static_cast<std::size_t>(row)]);
}

bool OverviewWindow::ExportChart(const std::string& path, std::string& error)
{
    const QString target = QString::fromStdString(path);
    if (target.endsWith(".svg", Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(target);
        svg.setSize(m_chart->size());
        svg.setViewBox(QRect(QPoint(0, 0), m_chart->size()));
        svg.setTitle("Overview");
        QPainter painter;
        bool written = painter.begin(&svg);
        if (written)
            m_chart->render(&painter);
        written = written && painter.end();
        if (!written)
            error = "the file cannot be written";
        return written;
    }
    if (!m_chart->grab().save(target, "PNG")) {
        error = "the file cannot be written";
        return false;
    }
    return true;
}

bool OverviewWindow::ExportTable(bool owed, const std::string& path, std::string& error)
{
    if (!ReadPage(owed ? 1 : 0)) {
        error = "the overview cannot be read";
        return false;
    }
    const auto lines = owed ? (m_owed.IsEmpty() ? std::vector<std::vector<std::string>>{} : overview::OwedLines(m_owed))
                            : (m_byYear.IsEmpty() ? std::vector<std::vector<std::string>>{} : overview::ByYearLines(m_byYear));
    return overview::WriteCsv(lines, path, error);
}

void OverviewWindow::OnExportChart()
{
    ui::FileDialog::Request request;
    request.save = true;
    request.title = "Export Chart";
    request.filter = "PNG image (*.png)|*.png|SVG drawing (*.svg)|*.svg||";
    request.defaultExtension = "png";
    request.initialName = "overview.png";
    request.confirmOverwrite = true;
    const auto chosen = ui::FileDialog::Run(this, request);
    std::string error;
    if (chosen && !ExportChart(chosen->NativePath(), error))
        ui::MessageBox::Show(this, QString::fromStdString("The chart could not be written to " + chosen->NativePath() + ": " + error),
                             "Overview", ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Stop);
}

void OverviewWindow::OnExportTable()
{
    const bool owed = m_pages->currentIndex() == 1;
    ui::FileDialog::Request request;
    request.save = true;
    request.title = "Export Table";
    request.filter = "Text Files (*.csv; *.txt)|*.csv;*.txt|All Files (*.*)|*.*||";
    request.defaultExtension = "csv";
    request.initialName = owed ? "owed.csv" : "by-year.csv";
    request.confirmOverwrite = true;
    const auto chosen = ui::FileDialog::Run(this, request);
    std::string error;
    if (chosen && !ExportTable(owed, chosen->NativePath(), error))
        ui::MessageBox::Show(this, QString::fromStdString("Unable to create export file\n" + error), "Overview",
                             ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Stop);
}

void OverviewWindow::closeEvent(QCloseEvent* event)
{
    // The size is kept for the next time; a profile that cannot be written only loses that.
    (void)settings::ProfileSettings::WriteProfileString(kSection, "Width", std::to_string(width()));
    (void)settings::ProfileSettings::WriteProfileString(kSection, "Height", std::to_string(height()));
    if (m_db.IsOpen())
        overview::KeepPagesCached(m_db, false);
    event->accept();
}
