#pragma once

#include "calculation.h"

#include <QStringList>

// The input that screen steps give: "Text2=10" types 10 into Text2, a bare
// option or check box name is clicked (a check box clicked twice is clear again).
inline calc::Input inputFromSteps(const calc::Calculation &c, const QStringList &steps)
{
    calc::Input input = c.initialInput();
    for (const QString &step : steps) {
        const QString name = step.section(u'=', 0, 0);
        const QString value = step.section(u'=', 1);
        for (const calc::Field &f : c.fields) {
            if (f.design == name)
                input.texts[f.key] = value;
        }
        for (const calc::Check &k : c.checks) {
            if (k.design == name)
                input.checks[k.key] = !input.checks.value(k.key);
        }
        for (const calc::Choice &ch : c.choices) {
            for (std::size_t i = 0; i < ch.options.size(); ++i) {
                if (ch.options[i].design == name)
                    input.choices[ch.key] = int(i);
            }
        }
    }
    return input;
}
