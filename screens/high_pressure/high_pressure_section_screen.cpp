#include "high_pressure_section_screen.h"

#include "hs.h"
#include "message_box.h"
#include "number_text.h"
#include "preselect.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kNoEndPressure = QStringLiteral("压力差小于零");

// A caption with its unit label underneath, left of the text box.
QByteArray labelName(int number)
{
    return "Label" + QByteArray::number(number);
}

} // namespace

HighPressureSectionScreen::HighPressureSectionScreen()
    : Screen(QStringLiteral("gyxd"), QStringLiteral("中高压管段水力计算"))
{
    using namespace toolkit;
    auto *layout = new QHBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto *left = new QVBoxLayout;
    layout->addLayout(left);

    QGroupBox *input = frame("Frame1", QStringLiteral("录入数据"));
    auto *inputGrid = new QGridLayout(input);
    m_startPressure = addFieldWithUnit(inputGrid, 0, "Label43", QStringLiteral("起点压力:"), "Label51",
                                       QStringLiteral("(kPa)"), "Text1", 0);
    m_density = addFieldWithUnit(inputGrid, 0, "Label46", QStringLiteral("燃气密度:"), "Label54",
                                 QStringLiteral("(kg/Nm^3)"), "Text5", 2);
    m_length = addFieldWithUnit(inputGrid, 2, "Label45", QStringLiteral("管道长度:"), "Label53", QStringLiteral("(km)"),
                                "Text3", 0);
    m_temperature = addFieldWithUnit(inputGrid, 2, "Label48", QStringLiteral("燃气温度:"), "Label57",
                                     QStringLiteral("(K)"), "Text7", 2);
    m_viscosity = addFieldWithUnit(inputGrid, 4, "Label47", QStringLiteral("运动粘度:"), "Label55",
                                   QStringLiteral("(m^2/s)"), "Text6", 0);
    m_flow = addFieldWithUnit(inputGrid, 4, "Label49", QStringLiteral("计算流量"), "Label56",
                              QStringLiteral("(Nm^3/h):"), "Text8", 2);
    left->addWidget(input);

    const PipeMaterials material = pipeMaterials("Frame2");
    m_steel = material.steel;
    m_castIron = material.castIron;
    m_plastic = material.plastic;
    m_steel->setChecked(true);
    left->addWidget(material.frame);

    m_modeCheck = checkBox("Check1", QStringLiteral("预选管径和根据管径求压力降"));
    left->addWidget(m_modeCheck);

    // The two mode options carry no text of their own; the label beside each names it.
    QGroupBox *modes = frame("Frame6", QStringLiteral("录入数据"));
    auto *modeGrid = new QGridLayout(modes);
    m_preselect = optionButton("Option4");
    m_allowableEndPressure
        = addOptionField(modeGrid, 0, m_preselect, "Label80", QStringLiteral("允许终点压力(KPa):"), "Text4");
    m_given = optionButton("Option5");
    m_givenDiameter = addOptionField(modeGrid, 1, m_given, "Label81", QStringLiteral("录入管径(mm):"), "Text9");
    left->addWidget(modes);

    QPushButton *calculate = commandButton("Command1", QStringLiteral("计算"));
    QPushButton *back = commandButton("Command4", QStringLiteral("返回"));
    left->addLayout(buttonRow(calculate, back));

    // The pre-selected diameter takes the place of the given diameter's two results; only one set shows.
    QGroupBox *results = frame("Frame3", QStringLiteral("得出结果"));
    auto *resultGrid = new QGridLayout(results);
    m_dropCaption = label("Label78", QStringLiteral("压力平方差:"));
    m_drop = resultLabel("Label44");
    m_endPressureCaption = label("Label79", QStringLiteral("终点压力(KPa):"));
    m_endPressure = resultLabel("Label52");
    m_preselectedCaption = label("Label50", QStringLiteral("预选管径(mm):"));
    m_preselected = resultLabel("Label41");
    resultGrid->addWidget(m_dropCaption, 0, 0);
    resultGrid->addWidget(m_drop, 0, 1);
    resultGrid->addWidget(m_endPressureCaption, 1, 0);
    resultGrid->addWidget(m_endPressure, 1, 1);
    resultGrid->addWidget(m_preselectedCaption, 0, 0);
    resultGrid->addWidget(m_preselected, 0, 1);
    // Hidden results keep their place, so showing one set or the other never resizes the window.
    for (QLabel *l :
         {m_dropCaption, m_drop, m_endPressureCaption, m_endPressure, m_preselectedCaption, m_preselected}) {
        QSizePolicy policy = l->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        l->setSizePolicy(policy);
    }
    left->addWidget(results);
    left->addStretch();

    // Number cells are as wide as the longest text the number display can give, so no result is clipped
    // and the window keeps its size.
    const QFontMetrics metrics = fontMetrics();
    const int numberWidth = std::max(metrics.horizontalAdvance(QStringLiteral("-8.88888888888888E-308")),
                                     metrics.horizontalAdvance(kNoEndPressure))
        + metrics.averageCharWidth();
    resultGrid->setColumnMinimumWidth(1, numberWidth);

    QGroupBox *table = frame("Frame4");
    auto *tableGrid = new QGridLayout(table);
    tableGrid->setHorizontalSpacing(2 * metrics.averageCharWidth());
    QLabel *diameterHeader = label("Label20", QStringLiteral("管径(mm)"));
    const QList<QLabel *> headers{diameterHeader, label("Label40", QStringLiteral("压力平方差")),
                                  label("Label77", QStringLiteral("计算终点压力(kP)"))};
    for (int column = 0; column < headers.size(); ++column)
        tableGrid->addWidget(headers[column], 0, column);
    for (int k = 0; k < int(kDiameters.size()); ++k) {
        m_diameterCells[k] = resultCell(labelName(k + 1).constData(), {QStringLiteral("1220")});
        m_dropCells[k] = resultCell(labelName(k + 21).constData(), widestNumbers());
        m_endPressureCells[k] = resultCell(labelName(k + 58).constData(), widestNumbers() << kNoEndPressure);
        tableGrid->addWidget(m_diameterCells[k], k + 1, 0);
        tableGrid->addWidget(m_dropCells[k], k + 1, 1);
        tableGrid->addWidget(m_endPressureCells[k], k + 1, 2);
        tableGrid->setRowMinimumHeight(k + 1, diameterHeader->sizeHint().height());
    }
    tableGrid->setColumnMinimumWidth(1, numberWidth);
    tableGrid->setColumnMinimumWidth(2, numberWidth);
    QList<QList<QLabel *>> cells{headers};
    for (std::size_t k = 0; k < kDiameters.size(); ++k)
        cells.append({m_diameterCells[k], m_dropCells[k], m_endPressureCells[k]});
    m_copyTable = copyTableAction(table, cells);

    // The banner panel lies over the middle of the empty table until the first calculation.
    m_banner = banner("Frame5", "Label42", Qt::Vertical);
    m_banner->setAutoFillBackground(true);
    m_bannerText = m_banner->findChild<QLabel *>(QStringLiteral("Label42"));
    m_bannerText->setFont(heiti(15));
    tableGrid->addWidget(m_banner, 1, 0, int(kDiameters.size()), 3, Qt::AlignCenter);
    m_banner->raise();
    // The cells keep their size: room the window has to spare goes below the last row.
    tableGrid->setRowStretch(int(kDiameters.size()) + 1, 1);
    layout->addWidget(table);

    QMenuBar *bar = menuBar(this);
    menuItem(bar, QStringLiteral("低压管段水力计算"));
    menuItem(bar, QStringLiteral("校验低压层流管段管径"));

    const std::array<QWidget *, 16> tabChain{m_startPressure, m_density,       m_length,    m_temperature,
                                             m_viscosity,     m_flow,          m_steel,     m_castIron,
                                             m_plastic,       m_modeCheck,     m_preselect, m_allowableEndPressure,
                                             m_given,         m_givenDiameter, calculate,   back};
    for (std::size_t i = 1; i < tabChain.size(); ++i)
        setTabOrder(tabChain[i - 1], tabChain[i]);

    m_modes.emplace(m_modeCheck, m_preselect, m_allowableEndPressure, m_given, m_givenDiameter,
                    QList<QLabel *>{m_preselected, m_drop, m_preselectedCaption, m_endPressure, m_dropCaption,
                                    m_endPressureCaption});

    connect(m_modeCheck, &QCheckBox::clicked, this, &HighPressureSectionScreen::Check1_Click);
    connect(m_preselect, &QRadioButton::clicked, this, &HighPressureSectionScreen::Option4_Click);
    connect(m_given, &QRadioButton::clicked, this, &HighPressureSectionScreen::Option5_Click);
    connect(calculate, &QPushButton::clicked, this, &HighPressureSectionScreen::Command1_Click);
}

void HighPressureSectionScreen::Form_Load()
{
    m_modes->load();
    for (QLabel *l : {m_preselected, m_drop, m_endPressureCaption, m_endPressure, m_dropCaption, m_preselectedCaption})
        l->hide();
}

void HighPressureSectionScreen::Check1_Click()
{
    m_modes->checkClicked();
}

void HighPressureSectionScreen::Option4_Click()
{
    m_modes->preselectClicked();
}

void HighPressureSectionScreen::Option5_Click()
{
    m_modes->givenClicked();
}

HighPressureSectionScreen::Drop HighPressureSectionScreen::selectedDrop() const
{
    if (m_steel->isChecked())
        return hs::HighPressureSteelDrop;
    if (m_castIron->isChecked())
        return hs::HighPressureCastIronDrop;
    return hs::HighPressurePlasticDrop;
}

QString HighPressureSectionScreen::endPressureText(std::optional<double> endPressure)
{
    return endPressure ? formatNumber(*endPressure) : kNoEndPressure;
}

void HighPressureSectionScreen::Command1_Click()
{
    m_bannerText->hide();
    m_banner->hide();

    const double P1 = parseLeadingNumber(m_startPressure->text());
    const double L = parseLeadingNumber(m_length->text());
    // Density, viscosity, temperature and flow are held in single precision and judged after rounding,
    // so a value below the float range counts as 0.
    const float rho = toSingle(parseLeadingNumber(m_density->text()));
    const float nu = toSingle(parseLeadingNumber(m_viscosity->text()));
    const float T = toSingle(parseLeadingNumber(m_temperature->text()));
    const float Q = toSingle(parseLeadingNumber(m_flow->text()));
    if (P1 <= 0 || L <= 0 || rho <= 0 || nu <= 0 || T <= 0 || Q <= 0) {
        showMessage(this, QString::fromUtf8(kNotPositiveMessage));
        return;
    }
    const double P1squared = P1 * P1;
    if (!allFinite({P1, L, rho, nu, T, Q, P1squared})) {
        showMessage(this, QString::fromUtf8(kOutOfRangeMessage));
        return;
    }

    const Drop drop = selectedDrop();
    std::array<double, kDiameters.size()> S{};
    std::array<std::optional<double>, kDiameters.size()> E{};
    for (std::size_t k = 0; k < kDiameters.size(); ++k) {
        S[k] = drop(Q, nu, rho, T, kDiameters[k]);
        E[k] = hs::HighPressureEndPressure(P1squared, L, S[k]);
        if (!allFinite({S[k], E[k].value_or(0)})) {
            showMessage(this, QString::fromUtf8(kOutOfRangeMessage));
            return;
        }
    }
    for (std::size_t k = 0; k < kDiameters.size(); ++k) {
        toolkit::setText(m_diameterCells[k], formatNumber(kDiameters[k]));
        toolkit::setText(m_dropCells[k], formatNumber(S[k]));
        toolkit::setText(m_endPressureCells[k], endPressureText(E[k]));
    }
    m_copyTable->setEnabled(true);

    if (m_preselect->isChecked()) {
        for (QLabel *l : {m_drop, m_endPressureCaption, m_endPressure, m_dropCaption})
            l->hide();
        m_preselected->show();
        m_preselectedCaption->show();
        const double P2a = parseLeadingNumber(m_allowableEndPressure->text());
        const float A = toSingle((P1squared - P2a * P2a) / L);
        if (P2a <= 0) {
            showMessage(this, QString::fromUtf8(kNotPositiveMessage));
            return;
        }
        // An allowance beyond the single range would leave every gap infinite and select nothing.
        if (!allFinite({P2a, A})) {
            showMessage(this, QString::fromUtf8(kOutOfRangeMessage));
            return;
        }
        const std::optional<std::size_t> selection = preselectDiameter(S, double(A));
        toolkit::setText(m_preselected, selection ? formatNumber(kDiameters[*selection]) : QString());
    } else if (m_given->isChecked()) {
        for (QLabel *l : {m_drop, m_endPressureCaption, m_endPressure, m_dropCaption})
            l->show();
        m_preselected->hide();
        m_preselectedCaption->hide();
        const double dx = parseLeadingNumber(m_givenDiameter->text());
        if (dx <= 0) {
            showMessage(this, QString::fromUtf8(kNotPositiveMessage));
            return;
        }
        const double Sx = drop(Q, nu, rho, T, dx);
        const std::optional<double> Ex = hs::HighPressureEndPressure(P1squared, L, Sx);
        if (!allFinite({dx, Sx, Ex.value_or(0)})) {
            showMessage(this, QString::fromUtf8(kOutOfRangeMessage));
            return;
        }
        toolkit::setText(m_drop, formatNumber(Sx));
        toolkit::setText(m_endPressure, endPressureText(Ex));
    }
}
