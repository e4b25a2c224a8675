// The report base: measuring the device, the page split, and drawing header, body and footer.
#include "reports/CExpenseReport.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>

#include "database/ExpenseRow.h"
#include "database/ExpenseSchema.h"
#include "platform/ado/SqlText.h"
#include "platform/ole/FormatAmount.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The longest start of text that fits in width: a text never runs into the next column.
QString Fitted(const QFontMetrics& metrics, const QString& text, int width)
{
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    int low = 0, high = static_cast<int>(text.size());
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (metrics.horizontalAdvance(text.left(mid)) <= width)
            low = mid;
        else
            high = mid - 1;
    }
    return text.left(low);
}

}  // namespace

CExpenseReport::CExpenseReport(CADODataBase& db, const ReportSettings& settings)
    : m_settings(settings), m_rsMain(&db), m_rsCategories(&db)
{
}

CExpenseReport::~CExpenseReport() = default;

int CExpenseReport::Prepare(const QPaintDevice& device)
{
    if (!m_bRead) {
        if (!OpenReportData()) {
            m_strReadFailure = m_rsMain.LastFailure().description;
            m_pages.clear();
            return 0;
        }
        m_bRead = true;
    }
    Measure(device);
    m_columns.clear();
    SetupColumns(m_m.bodyWidth / 6);
    if (m_lines.empty())
        BuildLines();
    Paginate();
    return PageCount();
}

void CExpenseReport::Measure(const QPaintDevice& device)
{
    Metrics& m = m_m;
    m.dpiX = device.logicalDpiX();
    m.dpiY = device.logicalDpiY();
    m.width = device.width();
    m.height = device.height();
    m.topMargin = m.dpiY * 3 / 4;
    m.leftMargin = m.dpiX * 3 / 4;
    m.bodyHeight = m.height - 2 * m.topMargin;
    m.bodyWidth = m.width - 2 * m.leftMargin;
    // "Arial" resolves to a face with the same metrics (Liberation Sans) where Arial is missing.
    const auto font = [&device](int points, bool bold) {
        QFont f("Arial");
        f.setStyleHint(QFont::SansSerif);
        f.setPointSize(points);
        f.setBold(bold);
        return QFont(f, &device);
    };
    m.textFont = font(10, false);
    m.headingFont = font(10, true);
    m.titleFont = font(14, true);
    const QFontMetrics text(m.textFont, &device), heading(m.headingFont, &device), title(m.titleFont, &device);
    const int x = text.height();
    m.quarter = x / 4;
    m.thick = std::max(1, x / 4);
    m.thin = std::max(1, x / 20);
    m.p = x / 20 + 1;
    m.hA = text.height();
    m.hr = text.height();
    m.hb = heading.height();
    m.hTitle = title.height();
}

int CExpenseReport::HeaderHeight() const
{
    // Date, title, the room around the thick rule, the column heads and the room under them.
    return m_m.hA + m_m.hTitle + 4 * m_m.quarter + m_m.hb + 2 * m_m.quarter;
}

int CExpenseReport::Height(const ReportLine& line) const
{
    switch (line.kind) {
    case ReportLine::Kind::Heading:
    case ReportLine::Kind::Gap: return m_m.hb;
    case ReportLine::Kind::Row: return m_m.hr;
    case ReportLine::Kind::Subtotal:
    case ReportLine::Kind::Total: return 2 * m_m.hb + m_m.p;
    }
    return 0;
}

void CExpenseReport::Paginate()
{
    m_pages.clear();
    const int avail = m_m.bodyHeight - HeaderHeight();
    int space = 0;
    int top = -1;
    const auto newPage = [&] {
        m_pages.emplace_back();
        space = avail;
    };
    for (int i = 0; i < static_cast<int>(m_lines.size()); ++i) {
        const ReportLine& line = m_lines[i];
        if (line.top != top) {  // every top group starts a page
            newPage();
            top = line.top;
        }
        int need = Height(line);
        // A heading never stands alone at the foot of a page.
        if (line.kind == ReportLine::Kind::Heading && i + 1 < static_cast<int>(m_lines.size()))
            need += Height(m_lines[i + 1]);
        if (need > space && !m_pages.back().lines.empty()) {
            newPage();
            if (line.kind == ReportLine::Kind::Gap)
                continue;  // no room to leave at the top of a page
            // A group that goes on repeats its heading at the top of the new page.
            if ((line.kind == ReportLine::Kind::Row || line.kind == ReportLine::Kind::Subtotal) && line.heading >= 0) {
                m_pages.back().lines.push_back(line.heading);
                space -= Height(m_lines[line.heading]);
            }
        }
        m_pages.back().lines.push_back(i);
        space -= Height(line);
    }
}

void CExpenseReport::PrintPage(QPainter& painter, int nPage) const
{
    if (nPage < 1 || nPage > PageCount())
        return;
    const Metrics& m = m_m;
    painter.save();
    QRect r(m.leftMargin, m.topMargin, m.bodyWidth, m.bodyHeight);
    // Header: date, title, thick rule, column heads.
    painter.setFont(m.textFont);
    painter.drawText(QRect(r.left(), r.top(), r.width(), m.hA), Qt::AlignRight | Qt::TextSingleLine,
                     Q(m_dtPrinted.format("%d %B %Y")));
    int y = r.top() + m.hA;
    painter.setFont(m.titleFont);
    painter.drawText(QRect(r.left(), y, r.width(), m.hTitle), Qt::AlignLeft | Qt::TextSingleLine, Q(Title()));
    y += m.hTitle + 2 * m.quarter;
    painter.setPen(QPen(painter.pen().color(), m.thick));
    painter.drawLine(r.left(), y, r.right(), y);
    y += 2 * m.quarter;
    painter.setFont(m.headingFont);
    painter.setPen(QPen(painter.pen().color(), m.thin));
    for (const CReportColumn& column : m_columns) {
        DrawCell(painter, r, y, m.hb, column, column.m_strHead, CReportColumn::kLeft);
        painter.drawLine(r.left() + column.m_x, y + m.hb, r.left() + column.m_x + column.m_nWidth, y + m.hb);
    }
    y += m.hb + 2 * m.quarter;
    // Body.
    for (const int index : m_pages[nPage - 1].lines) {
        DrawLine(painter, r, y, m_lines[index]);
        y += Height(m_lines[index]);
    }
    // Footer, inside the bottom margin.
    painter.setFont(m.textFont);
    const QString footer = QString("  Page %1 of %2").arg(nPage).arg(PageCount());
    const int boxTop = r.bottom() + m.hA;
    painter.drawText(QRect(r.left(), boxTop, r.width(), m.hA), Qt::AlignRight | Qt::TextSingleLine, footer);
    const int textWidth = QFontMetrics(m.textFont, painter.device()).horizontalAdvance(footer);
    painter.drawLine(r.left(), boxTop + m.hA / 2, r.right() - textWidth, boxTop + m.hA / 2);
    painter.restore();
}

void CExpenseReport::DrawCell(QPainter& painter, const QRect& body, int y, int height, const CReportColumn& column,
                              const std::string& text, int flags) const
{
    const QRect box(body.left() + column.m_x, y, column.m_nWidth, height);
    const QString fitted = Fitted(QFontMetrics(painter.font(), painter.device()), Q(text), box.width());
    painter.drawText(box, (flags == CReportColumn::kRight ? Qt::AlignRight : Qt::AlignLeft) | Qt::TextSingleLine, fitted);
}

void CExpenseReport::DrawLine(QPainter& painter, const QRect& body, int y, const ReportLine& line) const
{
    const Metrics& m = m_m;
    switch (line.kind) {
    case ReportLine::Kind::Gap: return;
    case ReportLine::Kind::Heading: {
        painter.setFont(m.headingFont);
        const CReportColumn from{"", 0, body.width(), CReportColumn::kLeft};
        DrawCell(painter, body, y, m.hb, from, line.text, CReportColumn::kLeft);
        return;
    }
    case ReportLine::Kind::Row:
        painter.setFont(m.textFont);
        for (std::size_t i = 0; i < line.cells.size() && i < m_columns.size(); ++i)
            DrawCell(painter, body, y, m.hr, m_columns[i], line.cells[i], m_columns[i].m_nFlags);
        return;
    case ReportLine::Kind::Subtotal: {
        painter.setFont(m.headingFont);
        DrawCell(painter, body, y + m.p, m.hb, m_columns[line.amountColumn], line.amount, CReportColumn::kRight);
        DrawCell(painter, body, y + m.p, m.hb, m_labelColumn, line.text, CReportColumn::kRight);
        const int end = m_nTotalRuleEnd ? body.left() + m_nTotalRuleEnd : body.right();
        painter.drawLine(body.left() + m_columns[line.ruleColumn].m_x, y, end, y);
        return;
    }
    case ReportLine::Kind::Total: {
        painter.setFont(m.headingFont);
        const int top = y + m.hb + m.p;
        DrawCell(painter, body, top, m.hb, m_columns[line.amountColumn], line.amount, CReportColumn::kRight);
        DrawCell(painter, body, top, m.hb, m_labelColumn, line.text, CReportColumn::kRight);
        const bool whole = m_nTotalRuleStart == 0 && m_nTotalRuleEnd == 0;
        painter.drawLine(whole ? body.left() : body.left() + m_nTotalRuleStart, y + m.hb,
                         whole ? body.right() : body.left() + m_nTotalRuleEnd, y + m.hb);
        return;
    }
    }
}

std::string CExpenseReport::LineText(const ReportLine& line)
{
    switch (line.kind) {
    case ReportLine::Kind::Gap: return {};
    case ReportLine::Kind::Heading: return line.text;
    case ReportLine::Kind::Row: {
        std::string text;
        for (std::size_t i = 0; i < line.cells.size(); ++i)
            text += (i ? " | " : "") + line.cells[i];
        return text;
    }
    case ReportLine::Kind::Subtotal:
    case ReportLine::Kind::Total: return line.text + " " + line.amount;
    }
    return {};
}

std::vector<std::string> CExpenseReport::PageText(int nPage) const
{
    if (nPage < 1 || nPage > PageCount())
        return {};
    std::vector<std::string> text{Title()};
    std::string heads;
    for (const CReportColumn& column : m_columns)
        heads += (heads.empty() ? "" : " | ") + column.m_strHead;
    text.push_back(heads);
    for (const int index : m_pages[nPage - 1].lines)
        if (m_lines[index].kind != ReportLine::Kind::Gap)
            text.push_back(LineText(m_lines[index]));
    text.push_back("Page " + std::to_string(nPage) + " of " + std::to_string(PageCount()));
    return text;
}

void CExpenseReport::AddColumn(const char* head, int x, int width, int flags)
{
    m_columns.push_back({head, x, width, flags});
}

void CExpenseReport::SetTotalRule(int start, int end)
{
    m_nTotalRuleStart = start;
    m_nTotalRuleEnd = end;
}

int CExpenseReport::Add(ReportLine line)
{
    m_lines.push_back(std::move(line));
    return static_cast<int>(m_lines.size()) - 1;
}

void CExpenseReport::AddSubtotal(const std::string& key, const std::string& description, const ole::Currency& sum,
                                 int amountColumn)
{
    ReportLine line;
    line.kind = ReportLine::Kind::Subtotal;
    line.text = (description.empty() ? key : description) + "  Subtotal:";
    line.amount = Amount(sum);
    line.amountColumn = amountColumn;
    // The heading of the group is the last heading before it, if the report has headings.
    for (int i = static_cast<int>(m_lines.size()) - 1; i >= 0; --i)
        if (m_lines[i].kind == ReportLine::Kind::Heading) {
            line.heading = i;
            break;
        } else if (m_lines[i].kind == ReportLine::Kind::Subtotal) {
            break;
        }
    Add(std::move(line));
}

void CExpenseReport::AddTotal(const ole::Currency& sum, int amountColumn)
{
    ReportLine line;
    line.kind = ReportLine::Kind::Total;
    line.text = TotalLabel();
    line.amount = Amount(sum);
    line.amountColumn = amountColumn;
    Add(std::move(line));
}

bool CExpenseReport::OpenMain(const std::string& sql)
{
    return m_rsMain.OpenQuery(sql, CAdoRecordset::adOpenStatic);
}

bool CExpenseReport::OpenCategories()
{
    m_rsCategories.m_strFilter = std::string(schema::categories::kExpType) + "=" + std::to_string(m_settings.m_nExpType);
    return m_rsCategories.OpenTable(schema::categories::kTable);
}

std::string CExpenseReport::CategoryDescription(const std::string& category)
{
    const auto known = m_categoryDescriptions.find(category);
    if (known != m_categoryDescriptions.end())
        return known->second;
    std::string description;
    m_rsCategories.m_strFind = std::string(schema::categories::kExpCat) + "=" + ado::quoteText(category);
    if (m_rsCategories.IsOpen() && m_rsCategories.FindFirst())
        description = m_rsCategories.GetDF_Text(schema::categories::kCatDesc);
    m_categoryDescriptions.emplace(category, description);
    return description;
}

std::string CExpenseReport::Amount(const ole::Currency& value)
{
    return FormatAmount(value);
}

std::string CExpenseReport::Payment(const ExpenseRow& row)
{
    return row.m_strAcctCode + "  " + row.m_strChkNbr;
}

void CExpenseReport::ForEachRow(const std::function<void(const ExpenseRow&)>& visit)
{
    constexpr std::uint32_t columns = ExpenseRow::ExpCat | ExpenseRow::ExpDate | ExpenseRow::Item |
                                      ExpenseRow::Vendor | ExpenseRow::ChkNbr | ExpenseRow::AcctCode |
                                      ExpenseRow::Amount | ExpenseRow::Status;
    for (m_rsMain.MoveFirst(); !m_rsMain.IsEOF(); m_rsMain.MoveNext())
        visit(ExpenseRow::Read(m_rsMain, columns));
}

std::vector<std::string> CExpenseReport::DetailCells(const ExpenseRow& row, int nFrom) const
{
    auto cells = Cells();
    cells[nFrom] = row.m_strItem;
    cells[nFrom + 1] = row.m_dtDate.format("%m/%d");
    cells[nFrom + 2] = row.m_strVendor;
    cells[nFrom + 3] = Payment(row);
    cells[nFrom + 4] = Amount(row.m_cyAmount);
    return cells;
}

void CExpenseReport::AddRow(std::vector<std::string> cells, int heading)
{
    ReportLine line;
    line.cells = std::move(cells);
    line.heading = heading;
    Add(std::move(line));
}

int CExpenseReport::AddHeading(std::string text)
{
    ReportLine line;
    line.kind = ReportLine::Kind::Heading;
    line.text = std::move(text);
    return Add(std::move(line));
}
