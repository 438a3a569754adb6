// How a result label draws its text: the glyphs it places from a font's cache
// and the pixels it keeps of a look must be exactly what Qt's text layout draws.
#include "result_label.h"
#include "text_line_cache.h"

#include <QBackingStore>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QStaticText>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

namespace {

const QColor kBackground(0xf0, 0xf0, 0xf0);

QFont fontNamed(const QString &family, int pointSize, bool bold)
{
    QFont font = family.isEmpty() ? QFont() : QFont(family);
    if (pointSize > 0)
        font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

std::unique_ptr<ResultLabel> label(const QFont &font, const QString &text)
{
    auto made = std::make_unique<ResultLabel>(QStringLiteral("Label21"));
    QPalette palette = made->palette();
    palette.setColor(QPalette::Window, kBackground);
    made->setPalette(palette);
    made->setFont(font);
    made->setText(text);
    made->resize(180, 30);
    return made;
}

// A picture of a widget's size in the device pixels of its screen.
QImage pictureFor(const QWidget &w)
{
    QImage image(w.size() * w.devicePixelRatio(), QImage::Format_RGB32);
    image.setDevicePixelRatio(w.devicePixelRatio());
    return image;
}

// The label drawn into a picture by its own paint event.
QImage rendered(ResultLabel &l)
{
    QImage image = pictureFor(l);
    image.fill(Qt::red);
    l.render(&image);
    return image;
}

// The same text drawn as a static text, one line from the left and centred by its height.
QImage laidOut(const ResultLabel &l)
{
    QImage image = pictureFor(l);
    image.fill(kBackground);
    QPainter painter(&image);
    painter.setFont(l.font());
    painter.setPen(l.textColor());
    QStaticText text(l.text());
    text.setTextFormat(Qt::PlainText);
    text.prepare(QTransform(), l.font());
    const QRect room = l.contentsRect();
    painter.drawStaticText(QPointF(room.left(), room.top() + (room.height() - text.size().height()) / 2.0), text);
    return image;
}

// What the window's backing store holds where the label is.
QImage shown(QWidget &window, const QWidget &l)
{
    QPaintDevice *device = window.backingStore()->paintDevice();
    if (device->devType() != QInternal::Image)
        return QImage();
    const qreal ratio = window.devicePixelRatio();
    const QRect area(l.mapTo(&window, QPoint(0, 0)) * ratio, l.size() * ratio);
    return static_cast<QImage *>(device)->copy(area);
}

} // namespace

class ResultLabelTest : public QObject
{
    Q_OBJECT

private slots:
    void drawsWhatTheLayoutDraws_data()
    {
        QTest::addColumn<QFont>("font");
        QTest::addColumn<QString>("text");
        const QList<std::pair<const char *, QFont>> fonts{
            {"default", fontNamed(QString(), 0, false)},
            {"DejaVu Sans 11", fontNamed(QStringLiteral("DejaVu Sans"), 11, false)},
            {"DejaVu Serif 14 bold", fontNamed(QStringLiteral("DejaVu Serif"), 14, true)},
        };
        const QStringList texts{
            QStringLiteral("0.0012345"),  QStringLiteral("-12345.678"),    QStringLiteral("1.5E+03"),
            QStringLiteral("紊流"),       QStringLiteral("预选管径(mm):"), QStringLiteral("AVAWaTo.7."),
            QStringLiteral("office ffi"), QStringLiteral("1 2  3"),        QStringLiteral("a\u0301b")};
        for (const auto &[name, font] : fonts) {
            for (const QString &text : texts)
                QTest::addRow("%s: %s", name, qPrintable(text)) << font << text;
        }
    }

    void drawsWhatTheLayoutDraws()
    {
        QFETCH(QFont, font);
        QFETCH(QString, text);
        auto l = label(font, text);
        QCOMPARE(rendered(*l), laidOut(*l));
        // Out of date and chosen looks, and a text that changes.
        l->setStale(true);
        QCOMPARE(rendered(*l), laidOut(*l));
        l->setText(text + QStringLiteral("9"));
        QCOMPARE(rendered(*l), laidOut(*l));
    }

    void numbersArePlacedWithoutTheLayout()
    {
        // Otherwise a table of numbers is shaped anew on every calculation.
        TextLineCache &cache = TextLineCache::of(QFont(), QWidget().logicalDpiY());
        QVERIFY(cache.line(QStringLiteral("0.123456789")));
        QVERIFY(cache.line(QStringLiteral("-12345.6E+07")));
        QVERIFY(!cache.line(QString()));
        QVERIFY(!cache.line(QStringLiteral("1\t2")));
    }

    void aLookDrawnAgainIsTheSamePixels()
    {
        QWidget window;
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, kBackground);
        window.setPalette(palette);
        auto *layout = new QVBoxLayout(&window);
        auto *first = label(QFont(), QStringLiteral("12.5")).release();
        auto *second = label(QFont(), QStringLiteral("0.0375")).release();
        layout->addWidget(first);
        layout->addWidget(second);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
        const QImage current = shown(window, *second);
        if (current.isNull())
            QSKIP("the window's backing store is not a picture here");
        QCOMPARE(current, laidOut(*second));

        second->setStale(true);
        QCoreApplication::processEvents();
        const QImage stale = shown(window, *second);
        QCOMPARE(stale, laidOut(*second));
        QVERIFY(stale != current);

        // Current again, then out of date again: both come back from what was kept, in place.
        second->setStale(false);
        QCoreApplication::processEvents();
        QCOMPARE(shown(window, *second), current);
        second->setStale(true);
        QCoreApplication::processEvents();
        QCOMPARE(shown(window, *second), stale);
        QCOMPARE(shown(window, *first), laidOut(*first));

        // A new text is never shown with the pixels of the old one.
        second->setText(QStringLiteral("0.0376"));
        QCoreApplication::processEvents();
        QCOMPARE(shown(window, *second), laidOut(*second));
        second->setStale(false);
        QCoreApplication::processEvents();
        QCOMPARE(shown(window, *second), laidOut(*second));

        // Nor in a new size.
        second->setMinimumWidth(second->width() + 40);
        QCoreApplication::processEvents();
        QCOMPARE(shown(window, *second), laidOut(*second));
    }
};

QTEST_MAIN(ResultLabelTest)
#include "tst_result_label.moc"
