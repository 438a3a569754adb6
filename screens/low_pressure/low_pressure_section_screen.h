#pragma once

#include "section_screen.h"

// xd: a low-pressure pipe section over the 19 standard diameters, with
// pre-selection against an allowable unit drop or the drop of one given diameter.
class LowPressureSectionScreen : public SectionScreen
{
    Q_OBJECT

public:
    LowPressureSectionScreen();

    void Form_Load() override;

protected:
    QGroupBox *buildResults() override;
    QList<QStringList> widestCells() const override;
    void arrangeTable(QGridLayout *grid, QGroupBox *banner) override;
    void showFreshResults() override;
};
