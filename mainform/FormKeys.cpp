// The main form's keys: Insert, Ctrl+Tab and Ctrl+Shift+Tab.
#include "mainform/FormKeys.h"

#include <QAbstractButton>
#include <QShortcut>
#include <QTabWidget>

FormKeys::FormKeys(QWidget* form, QAbstractButton* addNew, QTabWidget* tabs) : QObject(form), m_pTabs(tabs)
{
    connect(new QShortcut(QKeySequence(Qt::Key_Insert), form), &QShortcut::activated, addNew, [addNew] {
        if (addNew->isEnabled())  // no database, no Add New
            addNew->click();
    });
    // Ctrl+Shift+Tab also matches the Backtab the keyboard sends with Shift.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), form), &QShortcut::activated, this,
            [this] { StepTab(1); });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), form), &QShortcut::activated, this,
            [this] { StepTab(-1); });
}

void FormKeys::StepTab(int step)
{
    const int count = m_pTabs->count();
    if (count > 0)  // round, as the tab control's own keys go
        m_pTabs->setCurrentIndex((m_pTabs->currentIndex() + step + count) % count);
}
