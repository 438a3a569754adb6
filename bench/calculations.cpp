#include "calculations.h"

#include "message_box.h"
#include "shell.h"
#include "worked_cases.h"

#include "flow_budget/allowable_drop_screen.h"
#include "flow_budget/laminar_check_screen.h"
#include "flow_budget/non_uniformity_flow_screen.h"
#include "flow_budget/simultaneity_flow_screen.h"
#include "high_pressure/high_pressure_section_screen.h"
#include "indoor_strength/additional_head_screen.h"
#include "indoor_strength/indoor_local_loss_screen.h"
#include "indoor_strength/wall_thickness_screen.h"
#include "low_pressure/low_pressure_section_screen.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

namespace calculations {

namespace {

using Field = std::pair<const char *, const char *>;

// Presses per sample; each sample's figure is their mean.
constexpr benchmark::IterationCount kPresses = 50;

struct WorkedCase
{
    const WorkedInputs &inputs;
    const char *title;
    // One input flips between its worked value and this one, so that every
    // press writes new texts into the result labels.
    Field other;
    void (*press)(QWidget *);
    double limitMs;
};

template<typename T>
void press(QWidget *screen)
{
    static_cast<T *>(screen)->Command1_Click();
}

const WorkedInputs &inputsOf(const char *code)
{
    for (const WorkedInputs &inputs : workedInputs()) {
        if (std::strcmp(inputs.code, code) == 0)
            return inputs;
    }
    std::abort();
}

const std::vector<WorkedCase> &workedCases()
{
    static const std::vector<WorkedCase> all{
        {inputsOf("xd"), "low-pressure section, pre-selection", {"Text2", "120"}, press<LowPressureSectionScreen>, 1.0},
        {inputsOf("gyxd"),
         "medium/high-pressure section, pre-selection",
         {"Text8", "1200"},
         press<HighPressureSectionScreen>,
         1.0},
        {inputsOf("fxgj"), "laminar diameter check", {"Text2", "2.2"}, press<LaminarCheckScreen>, 0.5},
        {inputsOf("ll"), "flow by non-uniformity factors", {"Text1", "12000"}, press<NonUniformityFlowScreen>, 0.5},
        {inputsOf("lll"), "flow by simultaneity factor", {"Text1", "160"}, press<SimultaneityFlowScreen>, 0.5},
        {inputsOf("yl"), "allowable unit drop", {"Text1", "2600"}, press<AllowableDropScreen>, 0.5},
        {inputsOf("yt"), "additional head", {"Text2", "12"}, press<AdditionalHeadScreen>, 0.5},
        {inputsOf("jb"), "indoor local loss", {"Text1", "12"}, press<IndoorLocalLossScreen>, 0.5},
        {inputsOf("bh"), "wall thickness", {"Text1", "600"}, press<WallThicknessScreen>, 0.5},
    };
    return all;
}

void click(QWidget *screen, const char *name)
{
    if (auto *button = screen->findChild<QAbstractButton *>(QString::fromUtf8(name)))
        button->click();
}

QLineEdit *box(QWidget *screen, const char *name)
{
    return screen->findChild<QLineEdit *>(QString::fromUtf8(name));
}

QString workedValue(const WorkedCase &c)
{
    for (const auto &[name, text] : c.inputs.fields) {
        if (std::strcmp(name, c.other.first) == 0)
            return QString::fromUtf8(text);
    }
    return QString();
}

QStringList labelTexts(QWidget *screen)
{
    QStringList texts;
    for (const QLabel *l : screen->findChildren<QLabel *>())
        texts << l->text();
    return texts;
}

// One logged-in shell for all the handler benchmarks, with every calculation
// screen opened once and filled with its worked case.
class Bench
{
public:
    Bench()
    {
        setMessageHandler([this](const QString &text) { m_messages << text; });
        m_shell.start();
        QWidget *hy = m_shell.screen(QStringLiteral("hy"));
        box(hy, "Text1")->setText(QStringLiteral("wmk"));
        box(hy, "Text2")->setText(QStringLiteral("862047"));
        click(hy, "Command1");
        m_menu = m_shell.screen(QStringLiteral("xz"));
    }

    // The screen of a worked case, filled and calculated once, the only one shown;
    // nullptr with a reason when the case does not work as written.
    QWidget *prepare(const WorkedCase &c, QString *error)
    {
        QWidget *screen = m_shell.screen(QString::fromUtf8(c.inputs.code));
        if (!screen) {
            click(m_menu, c.inputs.opener);
            screen = m_shell.screen(QString::fromUtf8(c.inputs.code));
            if (!screen) {
                *error = QStringLiteral("cannot open the screen");
                return nullptr;
            }
            for (const auto &[name, text] : c.inputs.fields)
                box(screen, name)->setText(QString::fromUtf8(text));
            for (const char *name : c.inputs.clicks)
                click(screen, name);
        }
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w != screen)
                w->hide();
        }
        screen->show();
        QCoreApplication::processEvents();

        // Both inputs must calculate without a message and give different results.
        QLineEdit *varied = box(screen, c.other.first);
        const QString worked = workedValue(c);
        varied->setText(worked);
        c.press(screen);
        const QStringList first = labelTexts(screen);
        varied->setText(QString::fromUtf8(c.other.second));
        c.press(screen);
        const QStringList second = labelTexts(screen);
        varied->setText(worked);
        if (!m_messages.isEmpty()) {
            *error = QStringLiteral("the worked case shows a message: ") + m_messages.join(QLatin1Char(' '));
            m_messages.clear();
            return nullptr;
        }
        if (first == second) {
            *error = QStringLiteral("the second input does not change the results");
            return nullptr;
        }
        QCoreApplication::processEvents();
        return screen;
    }

    bool messagesShown()
    {
        const bool shown = !m_messages.isEmpty();
        m_messages.clear();
        return shown;
    }

private:
    Shell m_shell;
    QWidget *m_menu = nullptr;
    QStringList m_messages;
};

std::unique_ptr<Bench> &benchInstance()
{
    static std::unique_ptr<Bench> instance;
    return instance;
}

Bench &bench()
{
    if (!benchInstance())
        benchInstance() = std::make_unique<Bench>();
    return *benchInstance();
}

void measure(benchmark::State &state, const WorkedCase &c, bool withEvents)
{
    QString error;
    QWidget *screen = bench().prepare(c, &error);
    if (!screen) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    QLineEdit *varied = box(screen, c.other.first);
    const QString values[2]{workedValue(c), QString::fromUtf8(c.other.second)};
    int next = 1;
    for (auto _ : state) {
        varied->setText(values[next]);
        next = 1 - next;
        // The previous press's layout and paint, and the text box's own, are not this press's.
        QCoreApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        c.press(screen);
        if (withEvents)
            QCoreApplication::processEvents();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    if (bench().messagesShown())
        state.SkipWithError("a message was shown");
}

} // namespace

const std::vector<Case> &cases()
{
    static const std::vector<Case> all = [] {
        std::vector<Case> list;
        for (const WorkedCase &c : workedCases())
            list.push_back({QString::fromUtf8(c.inputs.code), QString::fromUtf8(c.title), c.limitMs});
        return list;
    }();
    return all;
}

void tearDown()
{
    benchInstance().reset();
    setMessageHandler({});
}

void registerBenchmarks(int repetitions)
{
    for (const WorkedCase &c : workedCases()) {
        for (const bool withEvents : {false, true}) {
            const std::string name = std::string(withEvents ? "calc+events/" : "calc/") + c.inputs.code;
            benchmark::RegisterBenchmark(name.c_str(),
                                         [&c, withEvents](benchmark::State &state) { measure(state, c, withEvents); })
                ->UseManualTime()
                ->Iterations(kPresses)
                ->Repetitions(repetitions)
                ->Unit(benchmark::kMicrosecond);
        }
    }
}

} // namespace calculations
