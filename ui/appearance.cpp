#include "appearance.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QStringList>
#include <QTranslator>

namespace {

// The families of a preference list from the first installed one on: Qt would
// skip a missing family too, but only after asking the system for its fallbacks.
QStringList installedFrom(const QStringList &wanted)
{
    const QStringList installed = QFontDatabase::families();
    for (qsizetype i = 0; i < wanted.size(); ++i) {
        if (installed.contains(wanted[i], Qt::CaseInsensitive))
            return wanted.mid(i);
    }
    return wanted;
}

// WenQuanYi Micro Hei is made to be drawn without hinting (its package says so);
// Qt is asked for that directly.
void drawAsItsMakersMeant(QFont &font, const QString &face)
{
    if (face.compare(QStringLiteral("WenQuanYi Micro Hei"), Qt::CaseInsensitive) == 0)
        font.setHintingPreference(QFont::PreferNoHinting);
}

} // namespace

namespace toolkit {

QFont heiti(int pointSize)
{
    static const QStringList families
        = installedFrom({QStringLiteral("SimHei"), QStringLiteral("黑体"), QStringLiteral("WenQuanYi Micro Hei"),
                         QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei")});
    QFont font;
    font.setFamilies(families);
    drawAsItsMakersMeant(font, families.constFirst());
    if (pointSize > 0)
        font.setPointSize(pointSize);
    return font;
}

void useSimplifiedChineseFont()
{
    // Every text of the program is Simplified Chinese: its characters take a
    // Chinese face, not the face that the system would pick for the user's locale
    // (Japanese forms under an English one). WenQuanYi Micro Hei comes first, the
    // face of the calculation report; the SC face of the CJK collection stands in.
    static const QStringList chinese
        = installedFrom({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                         QStringLiteral("WenQuanYi Zen Hei")});
    QFont font = QGuiApplication::font();
    if (font.families().size() > 1)
        return;
    // The platform's family draws the Latin letters and digits when a font goes by
    // its name; a generic family such as "Sans Serif" is passed over in a list.
    font.setFamilies(QStringList{font.family()} + chinese);
    drawAsItsMakersMeant(font, chinese.constFirst());
    QGuiApplication::setFont(font);
}

bool useChineseQtTexts()
{
    static QPointer<QTranslator> translator;
    if (translator)
        return true;
    auto *t = new QTranslator(QCoreApplication::instance());
    if (!t->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    translator = t;
    return true;
}

} // namespace toolkit
