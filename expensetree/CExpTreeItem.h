// CExpTreeItem: the object behind every line of the expense tree. A group line (a year of the
// tax types, a type with its project or year, a category) carries its label and the total and
// IN / SU / PD sums of the rows below it; an expense line carries the row's bookmark and the
// columns it shows. Each group item owns exactly one; an expense line's is made from its row
// when it is needed (ExpenseTree::Line), so a large tree holds no texts for its lines.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "expensetree/SortMode.h"
#include "platform/ole/Currency.h"
#include "platform/ole/Variant.h"

class CAdoRecordset;
class ExpenseRow;

class CExpTreeItem {
public:
    enum Kind : std::uint32_t {
        TaxYearGroup = 0,   // top-level group of expense type 0, one per year
        EstTaxGroup = 1,    // top-level group of expense type 1, one per year
        TypeGroup = 2,      // top-level group of any other type with one project or year
        ExpenseItem = 3,    // one expense row
        CategoryGroup = 4,  // second-level group of one category ("Sort by Category")
    };

    // The columns of an expense row that the tree reads, and those its groups need.
    static const std::uint32_t kTreeColumns;
    static const std::uint32_t kGroupColumns;

    // The kind of top-level group an expense type's rows are grouped in.
    static std::uint32_t TopLevelKindOf(std::int32_t nExpType);

    // A group of the given kind for an expense row; its label comes from the type and project
    // record sets.
    CExpTreeItem(std::uint32_t nKind, const ExpenseRow& row, CAdoRecordset& types, CAdoRecordset& projects);
    // An expense line for a row (its texts are taken over); takes ownership of the bookmark copy.
    CExpTreeItem(ExpenseRow row, CAdoRecordset& statuses, std::unique_ptr<ole::Variant> pBookmark, SortMode sortMode);
    virtual ~CExpTreeItem();
    CExpTreeItem(const CExpTreeItem&) = delete;
    CExpTreeItem& operator=(const CExpTreeItem&) = delete;

    void AddRecord(const ExpenseRow& row);
    void SubtractRecord(const ExpenseRow& row);
    void AddChild(const CExpTreeItem& child);
    void SubtractChild(const CExpTreeItem& child);
    void ResetSums();
    // Takes an expense line's amount, status, item, detail, category and date after a change.
    void UpdateFromRecord(const ExpenseRow& row, CAdoRecordset& statuses);
    // Formats m_strText for the sort mode and returns it.
    const std::string& FormatText(SortMode sortMode);

    // Top-level groups: whether this group holds the expense line, whether the next row of a
    // build in sorted order starts a group after this one, and whether this existing group sorts
    // after a new group.
    bool MatchesLine(const CExpTreeItem& line) const;
    bool EndsBefore(const ExpenseRow& row) const;
    bool SortsAfter(const CExpTreeItem& newGroup) const;

    bool IsGroup() const { return m_nKind != ExpenseItem; }

    std::int32_t m_nYearKey = 0;             // year of ExpDate (-1 if invalid), or ProjectID for composition-1 groups
    std::string m_strText;                   // the line shown in the tree
    std::unique_ptr<ole::Variant> m_pBookmark;  // the row's bookmark; null for groups
    bool m_bReimburse = false;               // expense lines: Reimburse of a reimbursable type
    std::string m_strStatusCode;             // expense lines: billing status shown in the line
    ole::Currency m_cySumIN;                 // reimbursed amounts with status IN (1)
    ole::Currency m_cySumSU;                 // ... SU (2)
    ole::Currency m_cySumPD;                 // ... PD (3)
    std::uint32_t m_nKind = ExpenseItem;     // one of Kind
    bool m_bReimbursable = false;            // TypeComp 2 (groups: and the type was found)
    std::int32_t m_nExpType = 0;             // ExpType
    std::string m_strLabel;                  // group label; empty on expense lines
    std::int32_t m_nProjectKey = 0;          // ProjectID, or the year key for types 0 and below
    std::string m_strCategory;               // ExpCat
    std::string m_strItem;                   // Item (expense lines)
    std::string m_strDetail;                 // Detail (expense lines)
    std::string m_strDateText;               // ExpDate as "%m/%d" (expense lines)
    ole::Currency m_cyTotal;                 // Amount, or the sum of the amounts below a group

private:
    void ApplyRecord(const ExpenseRow& row, bool bAdd);
    void ApplyChild(const CExpTreeItem& child, bool bAdd);
    void ReadStatusCode(const ExpenseRow& row, CAdoRecordset& statuses);
};
