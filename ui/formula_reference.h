#pragma once

#include <QDialog>

// "公式说明": one section per calculation with its formula in words, the inputs
// its symbols stand for with their units, and its constants and coefficient
// tables, all read from the calculation descriptions; then the network's method in
// words, as the report states it.
class FormulaReference : public QDialog
{
    Q_OBJECT

public:
    explicit FormulaReference(QWidget *parent = nullptr);

    // The reference as HTML.
    static QString html();
};
