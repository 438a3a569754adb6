// Logs in, fills every calculation screen with a worked case, presses "计算"
// and saves a PNG of each screen into the folder it is given.
#include "drawing_import.h"
#include "information_screens.h"
#include "message_box.h"
#include "network/drawing_import_dialog.h"
#include "network/network_editor.h"
#include "network/network_screen.h"
#include "network/network_view.h"
#include "route/route_screen.h"
#include "shell.h"
#include "worked_cases.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <cstdio>
#include <memory>

namespace {

void save(QWidget *screen, const QString &folder, bool &ok, const QString &name = QString())
{
    const QString path = QDir(folder).filePath((name.isEmpty() ? screen->objectName() : name) + QStringLiteral(".png"));
    if (!screen->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ok = false;
    }
}

QWidget *visibleScreen()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && !w->objectName().isEmpty())
            return w;
    }
    return nullptr;
}

void click(QWidget *screen, const char *name)
{
    if (auto *b = screen->findChild<QAbstractButton *>(QString::fromUtf8(name)))
        b->click();
    else if (auto *a = screen->findChild<QAction *>(QString::fromUtf8(name)))
        a->trigger();
}

// One entity of a DXF drawing as GDAL reads it: its lines, or its text with where and how it stands.
struct Drawn
{
    QList<QPolygonF> lines;
    QColor colour;
    double width = 0; // m; 0 for a hairline
    QString text;
    QPointF at;
    double height = 0, angle = 0;
    int anchor = 1; // GDAL's: 1-3 baseline, 4-6 middle, 7-9 top, 10-12 bottom; left, centre, right
};

QColor styleColour(const QString &style)
{
    static const QRegularExpression colour(QStringLiteral("c:(#[0-9a-fA-F]{6})"));
    const QColor c(colour.match(style).captured(1));
    // White (ACI 7) draws black on paper.
    return !c.isValid() || c == Qt::white ? QColor(Qt::black) : c;
}

double styleNumber(const QString &style, const char *key)
{
    const QRegularExpression number(QStringLiteral("[(,]%1:(-?[0-9.]+)").arg(QLatin1String(key)));
    return number.match(style).captured(1).toDouble();
}

void addLines(const OGRGeometry *g, QList<QPolygonF> &into)
{
    const OGRwkbGeometryType type = wkbFlatten(g->getGeometryType());
    if (type == wkbLineString) {
        QPolygonF line;
        for (const OGRPoint &p : *g->toLineString())
            line << QPointF(p.getX(), p.getY());
        into << line;
    } else if (type == wkbPolygon) {
        for (const OGRLinearRing *ring : *g->toPolygon())
            addLines(ring, into);
    } else if (OGR_GT_IsSubClassOf(type, wkbGeometryCollection)) {
        for (const OGRGeometry *part : *g->toGeometryCollection())
            addLines(part, into);
    } else if (OGR_GT_IsCurve(type) || OGR_GT_IsSurface(type)) {
        const std::unique_ptr<OGRGeometry> linear(g->getLinearGeometry());
        if (linear)
            addLines(linear.get(), into);
    }
}

// The exported drawing read back through GDAL and painted to scale, Y up, texts at their
// heights: what a CAD program opening the file shows.
bool saveDxfPicture(const QString &dxf, const QString &png)
{
    GDALAllRegister();
    // The file is R2010: its text is UTF-8 whatever $DWGCODEPAGE says.
    CPLSetConfigOption("DXF_ENCODING", "UTF-8");
    const char *const drivers[] = {"DXF", nullptr};
    const GDALDatasetUniquePtr dataset(
        GDALDataset::Open(QFile::encodeName(dxf).constData(), GDAL_OF_VECTOR, drivers, nullptr, nullptr));
    if (!dataset)
        return false;
    QList<Drawn> all;
    QRectF extent;
    for (OGRLayer *layer : dataset->GetLayers()) {
        for (const OGRFeatureUniquePtr &f : *layer) {
            const OGRGeometry *g = f->GetGeometryRef();
            if (!g)
                continue;
            Drawn d;
            const QString style = QString::fromUtf8(f->GetStyleString() ? f->GetStyleString() : "");
            d.colour = styleColour(style);
            if (style.startsWith(QLatin1String("LABEL")) && wkbFlatten(g->getGeometryType()) == wkbPoint) {
                d.text = QString::fromUtf8(f->GetFieldAsString("Text"));
                d.at = QPointF(g->toPoint()->getX(), g->toPoint()->getY());
                d.height = styleNumber(style, "s");
                d.angle = styleNumber(style, "a");
                d.anchor = std::max(1, int(styleNumber(style, "p")));
            } else {
                addLines(g, d.lines);
                d.width = style.contains(QLatin1String("g)")) || style.contains(QLatin1String("g,"))
                    ? styleNumber(style, "w")
                    : 0;
            }
            for (const QPolygonF &l : d.lines)
                extent = extent.isNull() ? l.boundingRect() : extent.united(l.boundingRect());
            all << d;
        }
    }
    const QSize size(1600, 1000);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double scale = std::min((size.width() - 40) / extent.width(), (size.height() - 40) / extent.height());
    const QTransform toImage = QTransform::fromTranslate(size.width() / 2.0, size.height() / 2.0)
                                   .scale(scale, -scale)
                                   .translate(-extent.center().x(), -extent.center().y());
    for (const Drawn &d : all) {
        if (!d.text.isEmpty())
            continue;
        QPen pen(d.colour, std::max(1.0, d.width * scale), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        if (d.width > 0)
            pen.setColor(QColor(d.colour.red(), d.colour.green(), d.colour.blue(), 110));
        painter.setPen(pen);
        for (const QPolygonF &l : d.lines)
            painter.drawPolyline(toImage.map(l));
    }
    QFont font = painter.font();
    for (const Drawn &d : all) {
        if (d.text.isEmpty() || !(d.height * scale >= 4))
            continue;
        font.setPixelSize(std::max(1, int(std::lround(d.height * scale * 1.4))));
        painter.setFont(font);
        const QFontMetricsF metrics(font);
        const double width = metrics.horizontalAdvance(d.text) * 0.7;
        const int column = (d.anchor - 1) % 3, row = (d.anchor - 1) / 3;
        const double y = row == 0 ? 0
            : row == 1            ? metrics.ascent() / 2
            : row == 2            ? metrics.ascent()
                                  : -metrics.descent();
        painter.save();
        painter.translate(toImage.map(d.at));
        painter.rotate(-d.angle);
        painter.scale(0.7, 1); // the drawing's narrow lettering
        painter.setPen(d.colour);
        painter.drawText(QPointF(-width / 0.7 * column / 2, y), d.text);
        painter.restore();
    }
    painter.end();
    return image.save(png);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    QDir().mkpath(folder);
    setMessageHandler([](const QString &text) { std::fprintf(stderr, "message: %s\n", qPrintable(text)); });

    bool ok = true;
    Shell shell;
    shell.start();
    QWidget *hy = shell.screen(QStringLiteral("hy"));
    hy->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("wmk"));
    hy->findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(QStringLiteral("862047"));
    save(hy, folder, ok);
    click(hy, "Command1");
    QWidget *xz = shell.screen(QStringLiteral("xz"));
    save(xz, folder, ok);

    for (const WorkedInputs &e : workedInputs()) {
        click(xz, e.opener);
        QWidget *screen = visibleScreen();
        if (!screen || screen->objectName() != QLatin1String(e.code)) {
            std::fprintf(stderr, "could not open %s\n", e.code);
            return 1;
        }
        for (const auto &[name, text] : e.fields)
            screen->findChild<QLineEdit *>(QString::fromUtf8(name))->setText(QString::fromUtf8(text));
        for (const char *name : e.clicks)
            click(screen, name);
        click(screen, "Command1");
        save(screen, folder, ok);
        screen->hide();
        xz->show();
    }

    // A field that is not read whole: "12 000" people, read as 12 and marked.
    click(xz, "Command2");
    if (QWidget *ll = visibleScreen(); ll && ll->objectName() == QLatin1String("ll")) {
        ll->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("12 000"));
        click(ll, "Command1");
        save(ll, folder, ok, QStringLiteral("ll-read-as"));
        ll->hide();
        xz->show();
    } else {
        std::fprintf(stderr, "could not open ll\n");
        ok = false;
    }

    // The route table with the worked low-pressure route: five sections, a riser among them.
    click(xz, "管网水力计算表");
    if (auto *gw = qobject_cast<RouteScreen *>(visibleScreen())) {
        for (const auto &[name, text] : {std::pair{"density", "0.72"}, std::pair{"viscosity", "1.5E-5"},
                                         std::pair{"temperature", "288"}, std::pair{"allowableDrop", "400"}})
            gw->findChild<QLineEdit *>(QString::fromLatin1(name))->setText(QString::fromLatin1(text));
        gw->paste(QStringLiteral("1\t100\t50\t0\t\n2\t80\t40\t0\t\n3\t60\t30\t10\t\n4\t50\t20\t-5\t100\n"
                                 "5\t40\t10\t0\t\n"));
        gw->table()->resizeColumnsToContents();
        gw->resize(1280, 520);
        save(gw, folder, ok);
        gw->hide();
        xz->show();
    } else {
        std::fprintf(stderr, "could not open gw\n");
        ok = false;
    }

    // The network screen with a ring fed from two stations.
    click(xz, "管网计算");
    if (auto *gwjs = qobject_cast<NetworkScreen *>(visibleScreen())) {
        for (const auto &[name, text] : {std::pair{"density", "0.72"}, std::pair{"viscosity", "1.5E-5"},
                                         std::pair{"temperature", "288"}, std::pair{"minPressure", "2800"}})
            gwjs->findChild<QLineEdit *>(QString::fromLatin1(name))->setText(QString::fromLatin1(text));
        gwjs->editor()->setActiveTable(network::Table::Nodes);
        gwjs->editor()->paste(QStringLiteral("S1\t\t0\t0\t0\t3000\nS2\t\t0\t400\t0\t2950\nA\t40\t5\t0\t200\n"
                                   "B\t30\t5\t200\t200\nC\t35\t0\t400\t200\nD\t20\t10\t200\t0\n"));
        gwjs->editor()->setActiveTable(network::Table::Pipes);
        gwjs->editor()->paste(QStringLiteral("1\tS1\tA\t200\t150\n2\tA\tB\t200\t100\n3\tB\tC\t200\t100\n"
                                   "4\tC\tS2\t200\t150\n5\tS1\tD\t200\t150\n6\tD\tS2\t200\t150\n"
                                   "7\tD\tB\t200\t80\n"));
        for (const network::Table t : {network::Table::Nodes, network::Table::Pipes})
            gwjs->editor()->table(t)->resizeColumnsToContents();
        gwjs->resize(1700, 800);
        gwjs->editor()->view()->fitAll();
        save(gwjs, folder, ok);
        // Its DXF drawing as a CAD program shows it, and that drawing offered for import again.
        QTemporaryDir scratch;
        const QString drawing = scratch.filePath(QStringLiteral("管网1.dxf"));
        if (!gwjs->editor()->exportDrawing(drawing, 1000)
            || !saveDxfPicture(drawing, QDir(folder).filePath(QStringLiteral("gwjs-dxf.png")))) {
            std::fprintf(stderr, "could not picture the exported drawing\n");
            ok = false;
        }
        DrawingImportDialog import({drawing, drawing::listLayers(drawing), network::Pressure::Low});
        import.show();
        save(&import, folder, ok, QStringLiteral("gwjs-import"));
        gwjs->hide();
        xz->show();
    } else {
        std::fprintf(stderr, "could not open gwjs\n");
        ok = false;
    }

    click(xz, "关于");
    if (QWidget *gy = visibleScreen())
        save(gy, folder, ok);

    // No path of the program shows the foreword; make one to picture it.
    ForewordScreen foreword;
    foreword.show();
    save(&foreword, folder, ok);
    return ok ? 0 : 1;
}
