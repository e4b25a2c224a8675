// The expense tree's items, in the shape of a classic tree control: items are inserted under a
// parent (first, last or after a sibling), walked by parent / first child / next sibling. A group
// owns its CExpTreeItem, which is deleted with the item; an expense line keeps only its row's
// bookmark and whether it was updated in place, and its text is made when a view asks for it.
// As a Qt item model it lets a tree view show any number of lines.
#pragma once

#include <QAbstractItemModel>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "expensetree/CExpTreeItem.h"

class ExpenseTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    struct Node;                       // one tree item
    using Item = Node*;                // handle of a tree item; null for none / the root
    static Item const kFirst;          // insert position: before the first child
    static Item const kLast;           // insert position: after the last child

    explicit ExpenseTreeModel(QObject* parent = nullptr);
    ~ExpenseTreeModel() override;

    // Makes the text of an expense line; set by the owner of the rows the lines name.
    using LineTextSource = std::function<std::string(Item)>;
    void SetLineTextSource(LineTextSource source) { m_lineText = std::move(source); }

    // Inserts an item under parent (null = root) after the given sibling: a group keeps data, an
    // expense line only its bookmark.
    Item InsertItem(std::unique_ptr<CExpTreeItem> data, Item parent, Item after = kLast);
    Item InsertLine(const ole::Variant& bookmark, Item parent, Item after = kLast);
    void DeleteItem(Item item);       // with its children and their objects
    void DeleteAllItems();
    // Call after changing an item's text, so views show it.
    void RefreshItem(Item item);

    Item GetRootItem() const;                  // first top-level item
    Item GetParentItem(Item item) const;       // null for top-level items
    Item GetChildItem(Item item) const;        // first child; item null = first top-level item
    Item GetNextSiblingItem(Item item) const;
    bool ItemHasChildren(Item item) const;
    CExpTreeItem* GetItemData(Item item) const;  // a group's object; null for an expense line
    bool IsLine(Item item) const;
    ole::Variant LineBookmark(Item line) const;
    std::int64_t LineId(Item line) const;       // the row's bookmark as a number; 0 for a group
    bool LineUpdatedInPlace(Item line) const;
    void SetLineUpdatedInPlace(Item line);
    std::string Text(Item item) const;          // the line shown for the item
    std::size_t ChildCount(Item item) const;   // item null = top level
    std::size_t ItemCount() const { return m_itemCount; }

    // While a bulk build runs, inserts do not notify views one by one; the end resets them.
    void BeginBulkBuild();
    void EndBulkBuild();

    QModelIndex IndexOf(Item item) const;
    Item ItemAt(const QModelIndex& index) const;

    // QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;

private:
    std::vector<std::unique_ptr<Node>>& ChildrenOf(Item parent) const;
    void Renumber(Item parent, std::size_t from) const;
    std::size_t CountItems(const Node& node) const;
    Item Insert(std::unique_ptr<Node> node, Item parent, Item after);

    std::unique_ptr<Node> m_root;   // invisible parent of the top-level items
    std::size_t m_itemCount = 0;    // items in the tree
    bool m_bulk = false;            // inside BeginBulkBuild / EndBulkBuild
    LineTextSource m_lineText;      // texts of expense lines
};

// A few words per expense line, so a tree of a million lines stays small.
struct ExpenseTreeModel::Node {
    std::unique_ptr<CExpTreeItem> data;            // a group's object; null on an expense line
    Node* parent = nullptr;                        // null only for the invisible root
    std::vector<std::unique_ptr<Node>> children;   // in display order
    int row = 0;                                   // index within the parent's children
    bool updatedInPlace = false;                   // expense line: changed since it was built
    std::int64_t lineId = 0;                       // expense line: its row's bookmark
};
