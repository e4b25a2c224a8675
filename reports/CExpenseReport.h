// CExpenseReport: the base of the five report kinds. A report reads its rows once into lines
// whose sums are worked out before drawing (a derived class says which lines), measures the
// device it is printed on (three-quarter-inch margins, Arial fonts, six units of width), splits
// the lines into pages for that device, and draws any page on request: the date, the title, a
// thick rule and the column heads at the top, the body, and "  Page n of m" at the foot.
#pragma once

#include <QFont>
#include <functional>
#include <unordered_map>
#include <string>
#include <vector>

#include "dbaccess/CAdoRecordset.h"
#include "platform/ole/Currency.h"
#include "platform/ole/DateTime.h"
#include "reports/CReportColumn.h"
#include "reports/ReportLine.h"
#include "reports/ReportSettings.h"

class CADODataBase;
class ExpenseRow;
class QPaintDevice;
class QPainter;
class QRect;

class CExpenseReport {
public:
    CExpenseReport(CADODataBase& db, const ReportSettings& settings);
    virtual ~CExpenseReport();
    CExpenseReport(const CExpenseReport&) = delete;
    CExpenseReport& operator=(const CExpenseReport&) = delete;

    // Reads the rows (once) and lays them out for device; answers the page count, 0 when the
    // report's rows cannot be read. Again for another device, the pages follow that device.
    int Prepare(const QPaintDevice& device);
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    // Draws page nPage (from 1) on a painter of the prepared device.
    void PrintPage(QPainter& painter, int nPage) const;
    // Page nPage as text: the title, the column heads, a line per body line and the footer.
    std::vector<std::string> PageText(int nPage) const;

    void SetPrintDate(const ole::DateTime& date) { m_dtPrinted = date; }
    // Why the rows could not be read.
    const std::string& ReadFailure() const { return m_strReadFailure; }

protected:
    virtual bool OpenReportData() = 0;
    virtual void SetupColumns(int u) = 0;
    virtual void BuildLines() = 0;
    virtual std::string Title() const = 0;
    virtual std::string TotalLabel() const = 0;

    // For the derived classes.
    void AddColumn(const char* head, int x, int width, int flags = CReportColumn::kLeft);
    void SetLabelColumn(int x, int width) { m_labelColumn = {"", x, width, CReportColumn::kRight}; }
    void SetTotalRule(int start, int end);
    int Add(ReportLine line);
    void AddSubtotal(const std::string& key, const std::string& description, const ole::Currency& sum, int amountColumn);
    void AddTotal(const ole::Currency& sum, int amountColumn);
    bool OpenMain(const std::string& sql);
    bool OpenCategories();
    std::string CategoryDescription(const std::string& category);
    static std::string Amount(const ole::Currency& value);
    static std::string Payment(const ExpenseRow& row);  // account, two blanks, check number
    std::vector<std::string> Cells() const { return std::vector<std::string>(m_columns.size()); }
    // The cells of a detail line: item, date ("%m/%d"), vendor, payment and amount from column
    // nFrom on; the columns before it are left to the caller.
    std::vector<std::string> DetailCells(const ExpenseRow& row, int nFrom) const;
    // Every row of the main record set, in its order.
    void ForEachRow(const std::function<void(const ExpenseRow&)>& visit);
    // A regular line of cells under the heading (index) of its group.
    void AddRow(std::vector<std::string> cells, int heading);
    int AddHeading(std::string text);

    const ReportSettings m_settings;  // a copy: the report outlives any change to the chosen settings
    CAdoRecordset m_rsMain;        // the report's rows, in its order
    CAdoRecordset m_rsCategories;  // lkpExpCategories of the type

private:
    struct Page {
        std::vector<int> lines;  // indexes into m_lines, in drawing order
    };
    struct Metrics {
        QFont titleFont, headingFont, textFont;
        int dpiX = 0, dpiY = 0, width = 0, height = 0;
        int topMargin = 0, leftMargin = 0, bodyWidth = 0, bodyHeight = 0;
        int hA = 0, hb = 0, hr = 0, hTitle = 0, p = 0, quarter = 0, thick = 1, thin = 1;
    };

    void Measure(const QPaintDevice& device);
    int HeaderHeight() const;
    int Height(const ReportLine& line) const;
    void Paginate();
    void DrawLine(QPainter& painter, const QRect& body, int y, const ReportLine& line) const;
    void DrawCell(QPainter& painter, const QRect& body, int y, int height, const CReportColumn& column,
                  const std::string& text, int flags) const;
    static std::string LineText(const ReportLine& line);

    std::vector<CReportColumn> m_columns;
    CReportColumn m_labelColumn;
    int m_nTotalRuleStart = 0, m_nTotalRuleEnd = 0;  // 0, 0: the whole width
    std::vector<ReportLine> m_lines;
    std::vector<Page> m_pages;
    Metrics m_m;
    bool m_bRead = false;
    std::string m_strReadFailure;
    ole::DateTime m_dtPrinted = ole::DateTime::currentLocal();
    std::unordered_map<std::string, std::string> m_categoryDescriptions;
};
