#include "low_pressure_section_screen.h"

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

namespace {

// The screen's own diameter series, mm. The 18th size is 580 mm here.
constexpr std::array<double, 19> kDiameters{15,  20,  25,  32,  40,  50,  70,  80,  100, 125,
                                            150, 219, 273, 325, 377, 426, 480, 580, 630};

const QString kPreselectCaption = QStringLiteral("预选管径(mm):");

QByteArray labelName(std::size_t number)
{
    return "Label" + QByteArray::number(static_cast<qulonglong>(number));
}

void keepPlaceWhenHidden(QWidget *widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

QLabel *numberLabel(const char *name)
{
    return toolkit::resultCell(name, toolkit::widestNumbers());
}

QLabel *stateLabel(const char *name)
{
    return toolkit::resultCell(name,
                               {QString::fromUtf8(hs::FlowStateText(hs::FlowState::Laminar)),
                                QString::fromUtf8(hs::FlowStateText(hs::FlowState::Critical)),
                                QString::fromUtf8(hs::FlowStateText(hs::FlowState::Turbulent))});
}

} // namespace

LowPressureSectionScreen::LowPressureSectionScreen()
    : Screen(QStringLiteral("xd"), QStringLiteral("低压管段水力计算"))
{
    static_assert(kDiameters.size() == kSizes);
    using namespace toolkit;
    auto *layout = new QHBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto *left = new QVBoxLayout;
    layout->addLayout(left);

    QGroupBox *input = frame("Frame2", QStringLiteral("录入数据"));
    auto *inputGrid = new QGridLayout(input);
    m_flow = addFieldWithUnit(inputGrid, 0, "Label81", QStringLiteral("计算流量："), "Label89",
                              QStringLiteral("(Nm^3/h)"), "Text2");
    m_viscosity = addFieldWithUnit(inputGrid, 0, "Label82", QStringLiteral("燃气粘度："), "Label91",
                                   QStringLiteral("(m^2/s)"), "Text3", 2);
    m_density = addFieldWithUnit(inputGrid, 2, "Label83", QStringLiteral("燃气密度："), "Label90",
                                 QStringLiteral("(kg/Nm^3)"), "Text5");
    m_temperature = addFieldWithUnit(inputGrid, 2, "Label84", QStringLiteral("燃气温度："), "Label92",
                                     QStringLiteral("(K)"), "Text4", 2);
    left->addWidget(input);

    const PipeMaterials material = pipeMaterials("Frame1");
    m_steel = material.steel;
    m_castIron = material.castIron;
    m_plastic = material.plastic;
    left->addWidget(material.frame);

    m_check = checkBox("Check1", QStringLiteral("预选管径和根据管径求压力降"));
    left->addWidget(m_check);

    QGroupBox *modes = frame("Frame4", QStringLiteral("录入最不利环路计算压力降"));
    auto *modeGrid = new QGridLayout(modes);
    m_preselect = optionButton("Option4");
    m_allowance
        = addOptionField(modeGrid, 0, m_preselect, "Label85", QStringLiteral("允许单位压力降(Pa/m)："), "Text1");
    m_given = optionButton("Option5");
    m_givenDiameter = addOptionField(modeGrid, 1, m_given, "Label93", QStringLiteral("录入管径(mm):"), "Text6");
    left->addWidget(modes);

    QPushButton *calculate = commandButton("Command1", QStringLiteral("计算"));
    QPushButton *back = commandButton("Command4", QStringLiteral("返回"));
    left->addLayout(buttonRow(calculate, back));

    QGroupBox *results = frame("Frame6", QStringLiteral("得出结果"));
    auto *resultGrid = new QGridLayout(results);
    m_reynoldsHeader = label("Label97", QStringLiteral("雷诺数"));
    m_stateHeader = label("Label98", QStringLiteral("流态"));
    m_dropHeader = label("Label99", QStringLiteral("计算压力降(Pa/m)"));
    m_givenReynolds = numberLabel("Label87");
    m_givenState = stateLabel("Label94");
    m_givenDrop = numberLabel("Label95");
    m_preselectCaption = toolkit::resultCell("Label96", {kPreselectCaption});
    m_preselected = toolkit::resultCell("Label86", {QStringLiteral("630")});
    resultGrid->addWidget(m_reynoldsHeader, 0, 0);
    resultGrid->addWidget(m_stateHeader, 0, 1);
    resultGrid->addWidget(m_dropHeader, 0, 2);
    resultGrid->addWidget(m_givenReynolds, 1, 0);
    resultGrid->addWidget(m_givenState, 1, 1);
    resultGrid->addWidget(m_givenDrop, 1, 2);
    // The pre-selected diameter shares the band of the given diameter's values:
    // the handlers show one set at a time, and the frame keeps its size when they swap.
    resultGrid->addWidget(m_preselectCaption, 1, 0);
    resultGrid->addWidget(m_preselected, 1, 1, 1, 2);
    for (QLabel *l : {m_reynoldsHeader, m_stateHeader, m_dropHeader, m_givenReynolds, m_givenState, m_givenDrop,
                      m_preselectCaption, m_preselected})
        keepPlaceWhenHidden(l);
    left->addWidget(results);
    left->addStretch();

    QGroupBox *data = frame("Frame3", QStringLiteral("数据区"));
    auto *table = new QGridLayout(data);
    table->setVerticalSpacing(2);
    table->setHorizontalSpacing(12);
    const QList<QLabel *> headers{label("Label20", QStringLiteral("管径(mm)")),
                                  label("Label40", QStringLiteral("雷诺数")), label("Label60", QStringLiteral("流态")),
                                  label("Label80", QStringLiteral("计算单位压降(Pa/m)"))};
    for (int column = 0; column < headers.size(); ++column)
        table->addWidget(headers[column], 0, column);
    for (std::size_t k = 0; k < kSizes; ++k) {
        const int row = static_cast<int>(k) + 1;
        TableRow &r = m_table[k];
        r.diameter = toolkit::resultCell(labelName(k + 1).constData(), {QStringLiteral("630")});
        r.reynolds = numberLabel(labelName(k + 21).constData());
        r.state = stateLabel(labelName(k + 41).constData());
        r.drop = numberLabel(labelName(k + 61).constData());
        table->addWidget(r.diameter, row, 0);
        table->addWidget(r.reynolds, row, 1);
        table->addWidget(r.state, row, 2);
        table->addWidget(r.drop, row, 3);
    }
    QList<QList<QLabel *>> cells{headers};
    for (const TableRow &r : m_table)
        cells.append({r.diameter, r.reynolds, r.state, r.drop});
    m_copyTable = copyTableAction(data, cells);
    // The banner lies over the middle columns of the table until the first calculation.
    m_bannerFrame = banner("Frame7", "Label88", Qt::Vertical);
    m_bannerFrame->setAutoFillBackground(true);
    m_banner = m_bannerFrame->findChild<QLabel *>(QStringLiteral("Label88"));
    m_banner->setFont(heiti(15));
    table->addWidget(m_bannerFrame, 1, 1, static_cast<int>(kSizes), 2);
    m_bannerFrame->raise();
    // The cells keep their size: room the window has to spare goes below the last row.
    table->setRowStretch(static_cast<int>(kSizes) + 1, 1);
    layout->addWidget(data);

    QMenuBar *bar = menuBar(this);
    menuItem(bar, QStringLiteral("中高压管段水力计算"));
    menuItem(bar, QStringLiteral("校验低压层流管段管径"));

    const std::array<QWidget *, 14> tabChain{m_flow,     m_viscosity,     m_density, m_temperature, m_steel,
                                             m_castIron, m_plastic,       m_check,   m_preselect,   m_allowance,
                                             m_given,    m_givenDiameter, calculate, back};
    for (std::size_t i = 1; i < tabChain.size(); ++i)
        QWidget::setTabOrder(tabChain[i - 1], tabChain[i]);

    m_modes = std::make_unique<SectionModes>(m_check, m_preselect, m_allowance, m_given, m_givenDiameter,
                                             QList<QLabel *>{m_givenReynolds, m_givenState, m_givenDrop,
                                                             m_reynoldsHeader, m_stateHeader, m_dropHeader,
                                                             m_preselected, m_preselectCaption});

    connect(m_check, &QCheckBox::clicked, this, &LowPressureSectionScreen::Check1_Click);
    connect(m_preselect, &QRadioButton::clicked, this, &LowPressureSectionScreen::Option4_Click);
    connect(m_given, &QRadioButton::clicked, this, &LowPressureSectionScreen::Option5_Click);
    connect(calculate, &QPushButton::clicked, this, &LowPressureSectionScreen::Command1_Click);
}

LowPressureSectionScreen::~LowPressureSectionScreen() = default;

void LowPressureSectionScreen::Form_Load()
{
    m_steel->setChecked(true);
    m_modes->load();
    m_reynoldsHeader->hide();
    m_stateHeader->hide();
    m_dropHeader->hide();
}

void LowPressureSectionScreen::Check1_Click()
{
    m_modes->checkClicked();
}

void LowPressureSectionScreen::Option4_Click()
{
    m_modes->preselectClicked();
}

void LowPressureSectionScreen::Option5_Click()
{
    m_modes->givenClicked();
}

void LowPressureSectionScreen::Command1_Click()
{
    // The banner goes for good at the first press, whatever the input.
    m_banner->hide();
    m_bannerFrame->hide();

    const Gas gas{parseLeadingNumber(m_flow->text()), parseLeadingNumber(m_viscosity->text()),
                  parseLeadingNumber(m_temperature->text()), parseLeadingNumber(m_density->text())};
    if (gas.Q <= 0 || gas.nu <= 0 || gas.T <= 0 || gas.rho <= 0) {
        showMessage(this, QString::fromUtf8(kNotPositiveMessage));
        return;
    }
    if (!allFinite({gas.Q, gas.nu, gas.T, gas.rho})) {
        showMessage(this, QString::fromUtf8(kOutOfRangeMessage));
        return;
    }

    // Everything is computed before the table is touched, so that a value out of
    // range leaves the previous table as it was.
    std::array<Section, kSizes> sections{};
    std::array<double, kSizes> drops{};
    for (std::size_t k = 0; k < kSizes; ++k) {
        sections[k] = evaluate(gas, kDiameters[k]);
        drops[k] = sections[k].drop;
        if (!allFinite({sections[k].reynolds, sections[k].drop})) {
            showMessage(this, QString::fromUtf8(kOutOfRangeMessage));
            return;
        }
    }
    for (std::size_t k = 0; k < kSizes; ++k) {
        const TableRow &r = m_table[k];
        toolkit::setText(r.diameter, formatNumber(kDiameters[k]));
        toolkit::setText(r.reynolds, formatNumber(sections[k].reynolds));
        toolkit::setText(r.state, QString::fromUtf8(hs::FlowStateText(sections[k].state)));
        toolkit::setText(r.drop, formatNumber(sections[k].drop));
    }
    m_copyTable->setEnabled(true);

    if (m_preselect->isChecked())
        preselect(drops);
    else if (m_given->isChecked())
        computeGivenDiameter(gas);
}

LowPressureSectionScreen::Section LowPressureSectionScreen::evaluate(const Gas &gas, double d) const
{
    const double Re = hs::LowPressureReynolds(gas.Q, gas.nu, d);
    const hs::FlowState state = hs::LowPressureFlowState(Re);
    double drop = 0;
    switch (state) {
    case hs::FlowState::Laminar:
        drop = hs::LowPressureLaminarDrop(gas.Q, gas.nu, gas.T, gas.rho, d);
        break;
    case hs::FlowState::Critical:
        drop = hs::LowPressureCriticalDrop(gas.Q, gas.nu, gas.T, gas.rho, d);
        break;
    case hs::FlowState::Turbulent:
        if (m_steel->isChecked())
            drop = hs::LowPressureSteelDrop(gas.Q, gas.nu, gas.T, gas.rho, d);
        else if (m_castIron->isChecked())
            drop = hs::LowPressureCastIronDrop(gas.Q, gas.nu, gas.T, gas.rho, d);
        else
            drop = hs::LowPressurePlasticDrop(gas.Q, gas.nu, gas.T, gas.rho, d);
        break;
    }
    return {Re, state, drop};
}

void LowPressureSectionScreen::preselect(const std::array<double, kSizes> &drops)
{
    for (QLabel *l : {m_givenReynolds, m_givenState, m_givenDrop, m_reynoldsHeader, m_stateHeader, m_dropHeader})
        l->hide();
    m_preselected->show();
    m_preselectCaption->show();

    const double A = parseLeadingNumber(m_allowance->text());
    if (A <= 0) {
        showMessage(this, QString::fromUtf8(kNotPositiveMessage));
        return;
    }
    if (!allFinite({A})) {
        showMessage(this, QString::fromUtf8(kOutOfRangeMessage));
        return;
    }
    const std::optional<std::size_t> selected = preselectDiameter(drops, A);
    // No diameter qualifies only for an allowance of 1E16 and more: nothing is shown then.
    toolkit::setText(m_preselected, selected ? formatNumber(kDiameters[*selected]) : QString());
    toolkit::setText(m_preselectCaption, kPreselectCaption);
}

void LowPressureSectionScreen::computeGivenDiameter(const Gas &gas)
{
    m_preselected->hide();
    m_preselectCaption->hide();
    for (QLabel *l : {m_givenReynolds, m_givenState, m_givenDrop, m_reynoldsHeader, m_stateHeader, m_dropHeader})
        l->show();

    const double dx = parseLeadingNumber(m_givenDiameter->text());
    if (dx <= 0) {
        showMessage(this, QString::fromUtf8(kNotPositiveMessage));
        return;
    }
    const Section given = evaluate(gas, dx);
    if (!allFinite({dx, given.reynolds, given.drop})) {
        showMessage(this, QString::fromUtf8(kOutOfRangeMessage));
        return;
    }
    toolkit::setText(m_givenReynolds, formatNumber(given.reynolds));
    toolkit::setText(m_givenState, QString::fromUtf8(hs::FlowStateText(given.state)));
    toolkit::setText(m_givenDrop, formatNumber(given.drop));
}
