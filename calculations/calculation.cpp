#include "calculation.h"

#include "descriptions.h"
#include "number_text.h"

#include <algorithm>

namespace calc {

namespace {

template<typename T>
const T *byKey(const std::vector<T> &items, const QString &key)
{
    const auto it = std::find_if(items.begin(), items.end(), [&](const T &item) { return item.key == key; });
    return it == items.end() ? nullptr : &*it;
}

} // namespace

const Field *Calculation::field(const QString &key) const
{
    return byKey(fields, key);
}

const Choice *Calculation::choice(const QString &key) const
{
    return byKey(choices, key);
}

const Check *Calculation::check(const QString &key) const
{
    return byKey(checks, key);
}

const Result *Calculation::result(const QString &key) const
{
    if (const Result *r = byKey(results, key))
        return r;
    return byKey(tableColumns, key);
}

QString Calculation::captionOf(const QString &key) const
{
    if (const Field *f = field(key))
        return f->caption;
    if (const Result *r = result(key))
        return r->caption;
    return {};
}

QString Calculation::text(const Input &input, const QString &key) const
{
    return input.texts.value(key);
}

int Calculation::selected(const Input &input, const QString &key) const
{
    const auto it = input.choices.constFind(key);
    if (it != input.choices.constEnd())
        return *it;
    const Choice *c = choice(key);
    return c ? c->initial : -1;
}

bool Calculation::isChecked(const Input &input, const QString &key) const
{
    return input.checks.value(key, false);
}

Input Calculation::initialInput() const
{
    Input input;
    for (const Field &f : fields)
        input.texts.insert(f.key, QString());
    for (const Choice &c : choices)
        input.choices.insert(c.key, c.initial);
    for (const Check &c : checks)
        input.checks.insert(c.key, false);
    return input;
}

const std::vector<Calculation> &all()
{
    static const std::vector<Calculation> calculations{nonUniformityFlow(),   simultaneityFlow(), allowableDrop(),
                                                       indoorLocalLoss(),     additionalHead(),   lowPressureSection(),
                                                       highPressureSection(), laminarCheck(),     wallThickness()};
    return calculations;
}

const Calculation *find(const QString &code)
{
    const std::vector<Calculation> &list = all();
    const auto it = std::find_if(list.begin(), list.end(), [&](const Calculation &c) { return c.code == code; });
    return it == list.end() ? nullptr : &*it;
}

Outcome refused(const QString &message, Outcome outcome)
{
    outcome.messages << message;
    outcome.stopped = true;
    return outcome;
}

Outcome shown(const QString &key, const QString &text)
{
    Outcome o;
    o.results.insert(key, text);
    return o;
}

double number(const Calculation &c, const Input &in, const char *key)
{
    return parseLeadingNumber(c.text(in, QString::fromLatin1(key)));
}

QString noEndPressureText()
{
    return QStringLiteral("压力差小于零");
}

QString notPositiveMessage()
{
    return QStringLiteral("录入数据不能为0或小于0,嘿嘿");
}

QString outOfRangeMessage()
{
    return QStringLiteral("录入数据超出计算范围,嘿嘿");
}

} // namespace calc
