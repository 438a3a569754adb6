#include "drawing_import_dialog.h"

#include "number_text.h"
#include "widgets.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

std::function<std::optional<drawing::Options>(const DrawingImportRequest &)> &importHandler()
{
    static std::function<std::optional<drawing::Options>(const DrawingImportRequest &)> handler;
    return handler;
}

// The layers offered ticked: those named for a pipe size ("燃气-DN100"), else those named for
// gas, else every layer of lines.
bool sizeLayer(const QString &name)
{
    return !drawing::readLabel(name).diameter.isEmpty();
}

bool gasLayer(const QString &name)
{
    return name.contains(QStringLiteral("燃气")) || name.contains(QStringLiteral("gas"), Qt::CaseInsensitive);
}

// The kinds of entities left out, as a designer calls them; others by their own name.
QString kindCaption(const QString &kind)
{
    static const QHash<QString, QString> captions{
        {QStringLiteral("text"), QStringLiteral("文字")},
        {QStringLiteral("point"), QStringLiteral("点")},
        {QStringLiteral("hatch"), QStringLiteral("填充")},
        {QStringLiteral("circle"), QStringLiteral("圆")},
        {QStringLiteral("paper_space"), QStringLiteral("图纸空间")},
        {QStringLiteral("polygon"), QStringLiteral("面")},
        {QStringLiteral("dimension"), QStringLiteral("尺寸标注")},
        {QStringLiteral("empty"), QStringLiteral("无几何")},
        {QStringLiteral("out_of_range"), QStringLiteral("超出范围")},
    };
    return captions.value(kind, kind);
}

constexpr const char *kUnitNames[] = {"m", "mm", "cm", "km"};

} // namespace

std::optional<drawing::Options> chooseDrawingImport(QWidget *parent, const DrawingImportRequest &request)
{
    if (const auto &handler = importHandler())
        return handler(request);
    DrawingImportDialog dialog(request, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.options();
}

void setDrawingImportHandler(std::function<std::optional<drawing::Options>(const DrawingImportRequest &)> handler)
{
    importHandler() = std::move(handler);
}

QString importReportText(const drawing::Report &r, network::Pressure pressure)
{
    const bool low = pressure == network::Pressure::Low;
    const double total = low ? r.totalLength : r.totalLength / 1000;
    QStringList lines{
        QStringLiteral("读入线 %1 条（含块内和零长度的线）").arg(r.lines),
        QStringLiteral("节点 %1 个，管段 %2 根，总长 %3 %4")
            .arg(r.nodes)
            .arg(r.pipes)
            .arg(formatSignificant(total, 6), low ? QStringLiteral("m") : QStringLiteral("km")),
        QStringLiteral("合并端点 %1 个，三通 %2 个，悬空端点 %3 个").arg(r.mergedEnds).arg(r.tees).arg(r.dangling),
        QStringLiteral("删除零长度线 %1 条，互不相连的部分 %2 个").arg(r.dropped).arg(r.parts),
    };
    QStringList leftOut;
    for (auto it = r.leftOut.cbegin(); it != r.leftOut.cend(); ++it)
        leftOut << QStringLiteral("%1 %2").arg(kindCaption(it.key())).arg(it.value());
    lines << QStringLiteral("未作管段：")
            + (leftOut.isEmpty() ? QStringLiteral("无") : leftOut.join(QStringLiteral("，")));
    if (r.lengthLabelsDiffer > 0)
        lines << QStringLiteral("%1 根管段标注的管长与图形不符，导入后按图形计算").arg(r.lengthLabelsDiffer);
    lines << QStringLiteral("单位：")
            + (r.unitsFound                    ? r.units
                   : r.units == u"m (assumed)" ? QStringLiteral("m（假定）")
                                               : r.units);
    return lines.join(u'\n');
}

DrawingImportDialog::DrawingImportDialog(const DrawingImportRequest &request, QWidget *parent)
    : QDialog(parent)
    , m_request(request)
    , m_layers(new QListWidget)
    , m_units(new QComboBox)
    , m_wait(new QTimer(this))
{
    using namespace toolkit;
    setObjectName(QStringLiteral("drawingImport"));
    setWindowTitle(QStringLiteral("导入图纸 - ") + QFileInfo(request.path).fileName());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label("importLayersCaption", QStringLiteral("管道所在的图层：")));
    m_layers->setObjectName(QStringLiteral("importLayers"));
    const auto any = [&request](bool (*named)(const QString &)) {
        return std::any_of(request.layers.layers.cbegin(), request.layers.layers.cend(),
                           [named](const drawing::LayerLines &l) { return l.lines > 0 && named(l.name); });
    };
    bool (*const offered)(const QString &) = any(sizeLayer) ? sizeLayer
        : any(gasLayer)                                     ? gasLayer
                                                            : [](const QString &) { return true; };
    for (const drawing::LayerLines &l : request.layers.layers) {
        auto *item = new QListWidgetItem(QStringLiteral("%1（%2 条线）").arg(l.name).arg(l.lines), m_layers);
        item->setData(Qt::UserRole, l.name);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        item->setCheckState(l.lines > 0 && offered(l.name) ? Qt::Checked : Qt::Unchecked);
    }
    layout->addWidget(m_layers, 1);

    auto *grid = new QGridLayout;
    m_snap = addField(grid, 0, "importSnapCaption", QStringLiteral("端点合并距离(m)"), "importSnap");
    m_snap->setText(QStringLiteral("0.5"));
    grid->addWidget(label("importUnitsCaption", QStringLiteral("图纸单位")), 1, 0);
    m_units->setObjectName(QStringLiteral("importUnits"));
    // A drawing that states its units is read in them unless the user says otherwise; one that
    // does not is not read until the user says.
    m_units->addItem(request.layers.units.isEmpty() ? QStringLiteral("请选择")
                                                    : QStringLiteral("按图纸（%1）").arg(request.layers.units));
    for (const char *unit : kUnitNames)
        m_units->addItem(QString::fromLatin1(unit), QString::fromLatin1(unit));
    grid->addWidget(m_units, 1, 1);
    m_labelDistance
        = addField(grid, 2, "importLabelDistanceCaption", QStringLiteral("管径标注距离(m)"), "importLabelDistance");
    m_labelDistance->setText(QStringLiteral("3"));
    grid->addWidget(label("importPressureCaption", QStringLiteral("压力级制")), 3, 0);
    grid->addWidget(label("importPressure",
                          request.pressure == network::Pressure::Low ? QStringLiteral("低压（管长 m）")
                                                                     : QStringLiteral("中压/次高压（管长 km）")),
                    3, 1);
    layout->addLayout(grid);

    m_report = label("importReport");
    m_report->setWordWrap(true);
    m_report->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_report);

    auto *buttons = new QDialogButtonBox;
    m_import = buttons->addButton(QStringLiteral("导入"), QDialogButtonBox::AcceptRole);
    m_import->setObjectName(QStringLiteral("importCommit"));
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("importCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    // The report follows the choices a moment after the last one.
    m_wait->setSingleShot(true);
    m_wait->setInterval(300);
    connect(m_wait, &QTimer::timeout, this, &DrawingImportDialog::preview);
    auto later = [this] {
        m_import->setEnabled(false);
        m_wait->start();
    };
    connect(m_layers, &QListWidget::itemChanged, this, later);
    connect(m_snap, &QLineEdit::textChanged, this, later);
    connect(m_labelDistance, &QLineEdit::textChanged, this, later);
    connect(m_units, &QComboBox::currentIndexChanged, this, later);
    resize(520, 560);
    preview();
}

std::optional<drawing::Options> DrawingImportDialog::options() const
{
    drawing::Options o;
    for (int i = 0; i < m_layers->count(); ++i) {
        if (m_layers->item(i)->checkState() == Qt::Checked)
            o.layers << m_layers->item(i)->data(Qt::UserRole).toString();
    }
    const NumberRead snap = readLeadingNumber(m_snap->text()), distance = readLeadingNumber(m_labelDistance->text());
    if (o.layers.isEmpty() || m_snap->text().trimmed().isEmpty() || !snap.whole || !(snap.value >= 0)
        || !std::isfinite(snap.value) || !distance.whole || !(distance.value >= 0) || !std::isfinite(distance.value))
        return std::nullopt;
    o.snap = snap.value;
    o.labelDistance = m_labelDistance->text().trimmed().isEmpty() ? 3.0 : distance.value;
    if (m_units->currentIndex() > 0)
        o.metresPerUnit = drawing::metresPerUnit(m_units->currentData().toString());
    else if (m_request.layers.units.isEmpty())
        return std::nullopt;
    o.pressure = m_request.pressure;
    return o;
}

void DrawingImportDialog::preview()
{
    const std::optional<drawing::Options> o = options();
    if (!o) {
        toolkit::setText(m_report,
                         m_units->currentIndex() == 0 && m_request.layers.units.isEmpty()
                             ? QStringLiteral("图纸未注明单位，请选择图纸单位。")
                             : QStringLiteral("请勾选管道所在的图层，并填写端点合并距离和管径标注距离。"));
        m_import->setEnabled(false);
        return;
    }
    const drawing::Import import = drawing::importDrawing(m_request.path, *o);
    toolkit::setText(m_report, import.ok() ? importReportText(import.report, m_request.pressure) : import.error);
    m_import->setEnabled(import.ok());
}
