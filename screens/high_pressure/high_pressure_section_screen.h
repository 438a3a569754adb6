#pragma once

#include "section_screen.h"

// gyxd: a medium/high-pressure section over the 19 standard diameters: the pressure-squared drop per km and
// the end pressure of each, with pre-selection against an allowable end pressure or one given diameter.
class HighPressureSectionScreen : public SectionScreen
{
    Q_OBJECT

public:
    HighPressureSectionScreen();

protected:
    QGroupBox *buildResults() override;
    QList<QStringList> widestCells() const override;
    void arrangeTable(QGridLayout *grid, QGroupBox *banner) override;
    void showFreshResults() override;

private:
    // The width of a number cell: the longest text the number display gives, or the note of no end pressure.
    int numberWidth() const;
};
