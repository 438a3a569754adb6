#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// A calculation as a value: what a screen asks for, what it shows, and a run
// from the typed texts and choices to everything the screen would show after
// "计算". Nothing here knows about widgets.
namespace calc {

// A text box: the key that files and the batch command use, its design name,
// the caption beside it, its unit, and the text of the unit label under the
// caption (empty where the caption itself names the unit).
struct Field
{
    QString key;
    QString design;
    QString caption;
    QString unit;
    QString unitText = {};
};

// One option button of a choice; the mode options of the section screens have no
// caption, and a name for reports and the formula reference instead.
struct Option
{
    QString design;
    QString caption;
    QString name = {};

    QString spoken() const { return caption.isEmpty() ? name : caption; }
};

// A group of option buttons, of which at most one is selected.
struct Choice
{
    QString key;
    QString design; // the frame that holds the options
    QString caption;
    std::vector<Option> options;
    int initial = -1; // the option selected on a fresh screen, -1 for none
};

struct Check
{
    QString key;
    QString design;
    QString caption;
};

// A result label, or a column of the 19-row table (then design names the first
// and last label, "Label21..Label39").
struct Result
{
    QString key;
    QString design;
    QString caption;
    QString unit;
    // False for a label that shows a caption rather than a value ("预选管径(mm):"):
    // reports, exports and the formula reference pass it over.
    bool value = true;
};

// The typed texts and choices of a screen, by key. A missing text is an empty
// box; a missing choice or check is the screen's initial state.
struct Input
{
    QHash<QString, QString> texts;
    QHash<QString, int> choices; // index of the selected option, -1 for none
    QHash<QString, bool> checks;
};

// Which results of a section screen are on show after a calculation.
enum class SectionMode { Unchanged, Preselect, Given };

// What a screen shows after "计算", in the order it shows it: the table and the
// mode's result labels first, then the messages, then the results unless the
// calculation stopped at a message.
struct Outcome
{
    QList<QStringList> table; // row by row, in the order of tableColumns; empty: untouched
    std::optional<int> chosenRow; // the pre-selected row of the table
    QString overAllowance; // how far the pre-selected row misses its allowance; empty when it meets it
    SectionMode mode = SectionMode::Unchanged;
    QStringList messages;
    bool stopped = false;
    QHash<QString, QString> results; // by key: exactly the text of the label; absent: untouched

    bool operator==(const Outcome &) const = default;
};

// A symbol of a formula and the input it stands for (a field's or choice's key).
struct Symbol
{
    QString symbol;
    QString key;
};

struct Calculation
{
    QString code;
    QString title;
    // The formula in words, each step a line, and every constant it uses.
    QStringList formula;
    QStringList constants;
    std::vector<Symbol> symbols;
    std::vector<Field> fields;
    std::vector<Choice> choices;
    std::vector<Check> checks;
    std::vector<Result> results;
    std::vector<Result> tableColumns; // only the section screens have a table
    Outcome (*run)(const Calculation &self, const Input &input) = nullptr;
    // Whether a field takes part with this input (the screen enables it); all do when not set.
    bool (*counts)(const Calculation &self, const Input &input, const QString &fieldKey) = nullptr;

    Outcome calculate(const Input &input) const { return run(*this, input); }
    bool fieldCounts(const Input &input, const QString &fieldKey) const
    {
        return !counts || counts(*this, input, fieldKey);
    }

    const Field *field(const QString &key) const;
    const Choice *choice(const QString &key) const;
    const Check *check(const QString &key) const;
    const Result *result(const QString &key) const;
    // The field, result or table column with that key; its caption.
    QString captionOf(const QString &key) const;

    // The text of a field, or empty.
    QString text(const Input &input, const QString &key) const;
    // The option selected in a choice (the input's, else the initial one), or -1.
    int selected(const Input &input, const QString &key) const;
    bool isChecked(const Input &input, const QString &key) const;
    // The input of a fresh screen: empty texts, initial choices, clear checks.
    Input initialInput() const;
};

// A caption without the colon that ends it on the screen ("计算流量：" gives "计算流量").
inline QString bareCaption(QString caption)
{
    while (caption.endsWith(u':') || caption.endsWith(u'：'))
        caption.chop(1);
    return caption;
}

// The nine calculations in the order of the main menu's screens.
const std::vector<Calculation> &all();
// The calculation with that screen code, or nullptr.
const Calculation *find(const QString &code);

// The factors of the wall thickness from the option chosen in each of its four
// choices (weld, steel, line, surroundings; 0 for the first option).
struct WallFactors
{
    double phi; // weld factor
    double sigmaS; // yield strength, MPa
    double F; // design factor
};
WallFactors wallFactors(int weld, int steel, int line, int surroundings);

// The messages that several calculations share.
QString notPositiveMessage();
// What a medium/high-pressure section shows for an end pressure when its squared drop reaches its start.
QString noEndPressureText();
QString outOfRangeMessage();

} // namespace calc
