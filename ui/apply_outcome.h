#pragma once

#include "calculation.h"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>

class QLabel;
class QWidget;

// Where a screen shows an outcome: its result labels by key, the cells of its
// table row by row, and what it does when the table is filled or a mode's
// results come on show.
struct OutcomeView
{
    QHash<QString, QLabel *> results;
    QList<QList<QLabel *>> table;
    std::function<void()> tableFilled;
    std::function<void(calc::SectionMode)> showMode;
    // Marks the pre-selected row of the table, and how far it misses its allowance (empty: it meets it).
    std::function<void(int, const QString &)> chooseRow;
};

// The typed texts, options and check boxes of a screen, found by their design names.
calc::Input readInput(const QWidget *screen, const calc::Calculation &calculation);

// A view of the screen's result labels, found by their design names.
OutcomeView resultView(const QWidget *screen, const calc::Calculation &calculation);

// Shows an outcome on a screen, in the one order every screen keeps: the table
// and the mode's result labels, then each message in its box, then the results
// unless the calculation stopped at a message. Every label written is current
// again. True when it wrote any result or table cell.
bool applyOutcome(QWidget *screen, const OutcomeView &view, const calc::Outcome &outcome);
