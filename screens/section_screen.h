#pragma once

#include "calculation_screen.h"
#include "section_modes.h"

#include <QList>
#include <QStringList>

#include <memory>

class QAction;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// The skeleton of both section screens: on the left the input frame, the pipe
// materials, the mode check box with its two mode fields, "计算" with the back
// button and the results frame; on the right the 19-row table under a banner
// until the first calculation; a menu bar of two cross-links.
class SectionScreen : public CalculationScreen
{
    Q_OBJECT

public:
    // Design names of the parts that differ between the two screens.
    struct Names
    {
        const char *inputFrame;
        QList<std::pair<const char *, const char *>> fields; // caption and unit labels, in reading order
        const char *modeFrame;
        const char *preselectCaption; // the label naming Option4, left of its field
        const char *preselectField;
        const char *givenCaption; // the label naming Option5
        const char *givenField;
        const char *backButton;
        const char *tableFrame;
        QString tableCaption;
        QStringList headerNames; // of the column headers, one per table column
        const char *bannerFrame;
        const char *bannerLabel;
        QStringList menuItems;
    };

    void Check1_Click();
    void Option4_Click();
    void Option5_Click();

protected:
    SectionScreen(const QString &code, const Names &names);

    // The results frame of the screen; it fills m_givenLabels and m_preselectLabels.
    virtual QGroupBox *buildResults() = 0;
    // The widest texts of each table column, for cells that never resize the window.
    virtual QList<QStringList> widestCells() const = 0;
    // Spacing and banner placement of the table grid.
    virtual void arrangeTable(QGridLayout *grid, QGroupBox *banner) = 0;
    // Which result labels a fresh screen shows.
    virtual void showFreshResults() = 0;
    void resetResults() override;

    void Form_Load() override;
    void beforeCalculation() override;
    OutcomeView outcomeView() const override;
    void inputChanged() override;

    QRadioButton *m_steel = nullptr;
    QList<QList<QLabel *>> m_cells; // row by row, in the order of the table columns
    QList<QLabel *> m_headers;
    // The result labels of each mode, captions included: one set shows at a time, and
    // both keep their place when hidden, so that swapping them never resizes the window.
    QList<QLabel *> m_givenLabels;
    QList<QLabel *> m_preselectLabels;

    // Builds the whole screen; the subclass calls it at the end of its constructor,
    // where its own virtual functions answer.
    void build();

private:
    void showMode(calc::SectionMode mode);
    // Marks the cells of the pre-selected row, in the warning colour with the
    // excess as tooltip when it misses its allowance; -1 clears the mark.
    void choose(int row, const QString &excess = QString());

    Names m_names;
    QCheckBox *m_check = nullptr;
    QAction *m_copyTable = nullptr;
    QGroupBox *m_banner = nullptr;
    QLabel *m_bannerText = nullptr;
    std::unique_ptr<SectionModes> m_modes;
    int m_chosenRow = -1;
};
