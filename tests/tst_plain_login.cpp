#include "gui_test.h"
#include "plain_login.h"
#include "shell.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

QString describe(const QFont &font)
{
    return QStringLiteral("%1 %2pt hinting %3")
        .arg(font.families().join(QLatin1Char(',')))
        .arg(font.pointSizeF())
        .arg(int(font.hintingPreference()));
}

// What a user sees of a window and its controls, one line each, in the order of the
// window's children; the window's size and focus come first.
QStringList describe(QWidget *window)
{
    const QList<QWidget *> controls = window->findChildren<QWidget *>();
    QStringList lines{QStringLiteral("%1 at %2,%3 %4x%5 flags %6 font %7 focus on %8")
                          .arg(window->windowTitle())
                          .arg(window->x())
                          .arg(window->y())
                          .arg(window->width())
                          .arg(window->height())
                          .arg(int(window->windowFlags()))
                          .arg(describe(window->font()))
                          .arg(controls.indexOf(window->focusWidget()))};
    for (QWidget *w : controls) {
        const QRect place(w->mapTo(window, QPoint()), w->size());
        QString text;
        if (const auto *l = qobject_cast<QLabel *>(w))
            text = l->text() + QStringLiteral(" align %1").arg(int(l->alignment()));
        else if (const auto *b = qobject_cast<QPushButton *>(w))
            text = b->text() + QStringLiteral(" autoDefault %1").arg(b->autoDefault());
        else if (const auto *g = qobject_cast<QGroupBox *>(w))
            text = g->title();
        else if (const auto *e = qobject_cast<QLineEdit *>(w))
            text = QStringLiteral("echo %1").arg(int(e->echoMode()));
        lines << QStringLiteral("%1 at %2,%3 %4x%5 %6 font %7 style %8")
                     .arg(QString::fromLatin1(w->metaObject()->className()))
                     .arg(place.x())
                     .arg(place.y())
                     .arg(place.width())
                     .arg(place.height())
                     .arg(text, describe(w->font()), w->styleSheet());
    }
    return lines;
}

} // namespace

// The bench weighs the program's start-up against the login window written in plain
// Qt; the weighing is fair only while the two are the same window.
class PlainLoginTest : public QObject
{
    Q_OBJECT

private slots:
    void thePlainQtWindowIsTheLoginScreen()
    {
        Session s;
        QWidget *hy = s.shell->screen(QStringLiteral("hy"));
        QVERIFY(hy);
        QVERIFY(QTest::qWaitForWindowExposed(hy));
        const QFont programFont = QApplication::font();

        const std::unique_ptr<QDialog> plain(showPlainLogin());
        QVERIFY(QTest::qWaitForWindowExposed(plain.get()));
        QCOMPARE(describe(QApplication::font()), describe(programFont));
        QCOMPARE(describe(plain.get()), describe(hy));
    }
};

QTEST_MAIN(PlainLoginTest)
#include "tst_plain_login.moc"
