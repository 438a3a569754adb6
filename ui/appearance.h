#pragma once

#include <QFont>

// How the program looks: its typefaces. Colours and frames are Qt's style's.
namespace toolkit {

// The typeface of titles and banners.
QFont heiti(int pointSize = 0);
// Makes the program's font prefer the Simplified Chinese face for Chinese text.
void useSimplifiedChineseFont();
// Loads Qt's own Simplified Chinese translations (file, print and preview dialogs,
// standard buttons, the context menus of text fields), once; false where they are not installed.
bool useChineseQtTexts();

} // namespace toolkit
