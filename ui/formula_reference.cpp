#include "formula_reference.h"

#include "calculation.h"
#include "network_options.h"

#include <QTextBrowser>
#include <QVBoxLayout>

FormulaReference::FormulaReference(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("formulaReference"));
    setWindowTitle(QStringLiteral("公式说明"));
    auto *layout = new QVBoxLayout(this);
    auto *browser = new QTextBrowser;
    browser->setObjectName(QStringLiteral("formulaText"));
    browser->setHtml(html());
    layout->addWidget(browser);
    resize(760, 640);
}

QString FormulaReference::html()
{
    auto item
        = [](const QString &text) { return QStringLiteral("<li>") + text.toHtmlEscaped() + QStringLiteral("</li>"); };
    QString html = QStringLiteral("<h1>公式说明</h1>");
    for (const calc::Calculation &c : calc::all()) {
        html += QStringLiteral("<h2>%1</h2><h3>公式</h3><ul>").arg(c.title.toHtmlEscaped());
        for (const QString &line : c.formula)
            html += item(line);
        html += QStringLiteral("</ul><h3>符号</h3><ul>");
        for (const calc::Symbol &s : c.symbols) {
            QString meaning;
            if (const calc::Field *f = c.field(s.key))
                meaning = calc::bareCaption(f->caption)
                    + (f->unit.isEmpty() ? QString() : QStringLiteral("，单位 ") + f->unit);
            else if (const calc::Choice *ch = c.choice(s.key))
                meaning = ch->caption + QStringLiteral("（选项）");
            html += item(s.symbol + QStringLiteral("：") + meaning);
        }
        html += QStringLiteral("</ul>");
        if (!c.constants.isEmpty()) {
            html += QStringLiteral("<h3>常数与系数</h3><ul>");
            for (const QString &constant : c.constants)
                html += item(constant);
            html += QStringLiteral("</ul>");
        }
        html += QStringLiteral("<h3>结果</h3><ul>");
        for (const calc::Result &r : c.results) {
            if (r.value)
                html += item(calc::bareCaption(r.caption)
                             + (r.unit.isEmpty() ? QString() : QStringLiteral("，单位 ") + r.unit));
        }
        html += QStringLiteral("</ul>");
    }
    html += QStringLiteral("<h2>%1</h2>").arg(network::kTitle.toHtmlEscaped());
    for (const auto &[pressure, title] :
         {std::pair{network::Pressure::Low, "低压"}, std::pair{network::Pressure::High, "中高压"}}) {
        html += QStringLiteral("<h3>%1</h3><ul>").arg(QString::fromUtf8(title));
        for (const QString &line : network::formulaLines(pressure))
            html += item(line);
        html += QStringLiteral("</ul>");
    }
    return html;
}
