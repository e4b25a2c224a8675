// FormKeys: the main form's keys beside its buttons' mnemonics. Insert runs Add New (while the
// button is enabled) and Ctrl+Tab / Ctrl+Shift+Tab move to the next / previous sort tab, wherever
// the focus is in the window: the tree sits over the tab control, so the tabs alone never see them.
#pragma once

#include <QObject>

class QAbstractButton;
class QTabWidget;
class QWidget;

class FormKeys : public QObject {
public:
    // Owned by form; the keys act while form's window is the active one.
    FormKeys(QWidget* form, QAbstractButton* addNew, QTabWidget* tabs);

private:
    void StepTab(int step);

    QTabWidget* m_pTabs;  // the sort tabs the keys step through
};
