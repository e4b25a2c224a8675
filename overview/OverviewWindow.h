// OverviewWindow: View > Overview..., two pages beside the tree. "By year" shows the amounts of
// each calendar year per expense type as a stacked bar chart (Qt Charts) over the same numbers as
// a table; clicking a bar segment or a cell asks the main window to select that type's group of
// that year. "Owed to me" lists, per project of a reimbursable type, what is still incurred or
// submitted, oldest first; a double click asks for that project's Update Status. Both pages are
// read from the database again on Refresh; the chart exports as PNG or SVG, each table as CSV.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

#include "database/Overview.h"

class CADODataBase;
class QChartView;
class QLabel;
class QTabWidget;
class QTableWidget;

class OverviewWindow : public QWidget {
    Q_OBJECT
public:
    struct Hooks {
        std::function<void(std::int16_t type, int year)> selectYearGroup;
        std::function<void(std::int16_t type, std::int32_t project)> restateProject;
    };
    // The chart shows this many types by total with their own colour; the rest are "Other".
    static constexpr int kOwnColours = 8;

    OverviewWindow(CADODataBase& db, Hooks hooks, QWidget* parent = nullptr);
    ~OverviewWindow() override;

    // Reads the page in view again, and the other when it is next shown; false (with the page
    // emptied and the reason shown) when the database cannot be read.
    bool Refresh();
    [[nodiscard]] bool ExportChart(const std::string& path, std::string& error);  // .svg, else PNG
    [[nodiscard]] bool ExportTable(bool owed, const std::string& path, std::string& error);

    QTabWidget* Pages() const { return m_pages; }
    QChartView* Chart() const { return m_chart; }
    QTableWidget* YearTable() const { return m_yearTable; }
    QTableWidget* OwedTable() const { return m_owedTable; }
    QLabel* YearNote() const { return m_yearNote; }
    QLabel* YearEmpty() const { return m_yearEmpty; }
    QLabel* OwedEmpty() const { return m_owedEmpty; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* MakeYearPage();
    QWidget* MakeOwedPage();
    [[nodiscard]] bool ReadPage(int page);  // a stale page only
    void ShowByYear();
    void ShowOwed();
    void OnExportChart();
    void OnExportTable();
    void OnYearCell(int row, int column);

    CADODataBase& m_db;
    Hooks m_hooks;
    overview::ByYear m_byYear;
    overview::Owed m_owed;
    QTabWidget* m_pages = nullptr;
    QChartView* m_chart = nullptr;
    QTableWidget* m_yearTable = nullptr;
    QTableWidget* m_owedTable = nullptr;
    QLabel* m_yearNote = nullptr;   // how many undated expenses are left out
    QLabel* m_yearEmpty = nullptr;  // "No expenses yet" in place of the page
    QLabel* m_owedEmpty = nullptr;
    bool m_bYearStale = true;       // read again before it is shown
    bool m_bOwedStale = true;
};
