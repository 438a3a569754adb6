#include "gui_test.h"
#include "shell.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>

#include <random>

// Random use of the whole program: after every action exactly one screen is
// visible (or the program has ended through its exit item), no label shows an
// infinity or NaN, and nothing but the login screen exists before a login.
class MonkeyTest : public QObject
{
    Q_OBJECT

    static constexpr int kActionsPerRun = 20000;
    inline static const QStringList kCodes{"hy", "xz", "xd", "gyxd", "fxgj", "ll", "lll",
                                           "yl", "yt", "jb", "bh",   "gy",   "cs"};

    std::mt19937 m_random;

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    QString randomText()
    {
        // clang-format off
        static const QStringList samples{
            "",        "0",        "-0",       "1",       "2.5",       "10",        "100",     "288",
            "0.72",    "1.5E-5",   "1e308",    "-1e308",  "1.7976931348623157e308",   "1e400",   "-1e400",
            "3.5e38",  "3.4e38",   "1e39",     "1e-38",   "1e-45",     "1e-50",     "1e-320",  "4.9e-324",
            "1e-400",  "abc",      "1e",       ".",       "-.5e1",     "  12abc",   "1 2",     "wmk",
            "862047",  "燃气",      "０１２",    "inf",     "nan",       "0x10",      "1,5",     "\t7",
            "\n",      "\x01\x02", "+",        "-",       "2100",      "3500",      "630",     "630.0001",
            "9",       "200",      "200.5",    "14.99",   "1000",      "400",       "300",     "1e15"};
        // clang-format on
        switch (below(6)) {
        case 0:
            return QString(1 + below(40), QChar(u'0' + below(10)));
        case 1:
            return QString(10000, QChar(u'0' + below(10))).prepend(below(2) ? "0." : "");
        case 2: {
            QString s;
            for (int i = 0, n = below(12); i < n; ++i)
                s += QChar(char16_t(below(2) ? 0x20 + below(0x5f) : 0x4e00 + below(0x500)));
            return s;
        }
        case 3:
            return QString::number(std::uniform_real_distribution<double>(-1e6, 1e6)(m_random), 'g', 12);
        default:
            return samples.at(below(int(samples.size())));
        }
    }

    static QWidget *visibleScreen(QString *codes)
    {
        QWidget *found = nullptr;
        codes->clear();
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && kCodes.contains(w->objectName())) {
                found = w;
                *codes += w->objectName() + QLatin1Char(' ');
            }
        }
        return found;
    }

    void act(QWidget *screen)
    {
        QList<QWidget *> controls;
        for (QWidget *w : screen->findChildren<QWidget *>()) {
            // Only the screen's own controls: Qt's internal ones are named "qt_...".
            const QString name = w->objectName();
            if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
                continue;
            if (w->isVisibleTo(screen) && w->isEnabled()
                && (qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractButton *>(w)))
                controls << w;
        }
        QList<QAction *> items;
        if (auto *bar = screen->findChild<QMenuBar *>()) {
            for (QAction *a : bar->findChildren<QAction *>()) {
                if (a->isEnabled() && !a->menu() && !a->isSeparator() && !a->objectName().isEmpty())
                    items << a;
            }
        }

        const int kind = below(20);
        if (kind < 2 && !items.isEmpty()) {
            items.at(below(int(items.size())))->trigger();
        } else if (kind == 2) {
            QTest::keyClick(screen, Qt::Key_Escape);
        } else if (kind == 3) {
            QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : screen;
            QTest::keyClick(target, below(2) ? Qt::Key_Return : Qt::Key_Enter);
        } else if (kind == 4) {
            QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : screen;
            QTest::keyClick(target, Qt::Key_Tab);
        } else if (kind == 5 && below(4) == 0) {
            screen->close();
        } else if (!controls.isEmpty()) {
            QWidget *w = controls.at(below(int(controls.size())));
            if (auto *box = qobject_cast<QLineEdit *>(w))
                box->setText(randomText());
            else
                qobject_cast<QAbstractButton *>(w)->click();
        }
    }

    void checkLabels()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            for (QLabel *l : w->findChildren<QLabel *>()) {
                const QString text = l->text().toLower();
                if (text.contains(QLatin1String("inf")) || text.contains(QLatin1String("nan")))
                    QFAIL(
                        qPrintable(QStringLiteral("%1/%2 shows %3").arg(w->objectName(), l->objectName(), l->text())));
            }
        }
    }

private slots:
    void randomUseKeepsTheProgramSound_data()
    {
        QTest::addColumn<unsigned>("seed");
        QTest::addColumn<bool>("loginFirst");
        QTest::newRow("seed 1, logged in") << 1u << true;
        QTest::newRow("seed 2, logged in") << 2u << true;
        QTest::newRow("seed 3, at the login screen") << 3u << false;
    }

    void randomUseKeepsTheProgramSound()
    {
        QFETCH(unsigned, seed);
        QFETCH(bool, loginFirst);
        m_random.seed(seed);
        auto session = std::make_unique<Session>();
        if (loginFirst)
            session->login();

        for (int i = 0; i < kActionsPerRun; ++i) {
            QString codes;
            QWidget *screen = visibleScreen(&codes);
            if (session->shell->ended()) {
                QVERIFY2(!screen, qPrintable(QStringLiteral("after the exit: ") + codes));
                session.reset();
                session = std::make_unique<Session>();
                if (loginFirst)
                    session->login();
                continue;
            }
            QVERIFY2(screen && codes.count(QLatin1Char(' ')) == 1,
                     qPrintable(QStringLiteral("action %1: visible screens: '%2'").arg(i).arg(codes)));
            if (!session->shell->screen(QStringLiteral("xz"))) {
                for (const QString &code : kCodes) {
                    if (code != QLatin1String("hy"))
                        QVERIFY2(!session->shell->screen(code), qPrintable(code + " exists before a login"));
                }
            }
            act(screen);
            session->messages.take();
            if (i % 16 == 0)
                QCoreApplication::processEvents();
            checkLabels();
            if (QTest::currentTestFailed())
                return;
        }
    }
};

QTEST_MAIN(MonkeyTest)
#include "tst_monkey.moc"
