#pragma once

class QDialog;

// The login window as a plain Qt program would write it: the widgets, texts, layout,
// fonts and style sheet of the program's login screen, with nothing of the program.
// Sets the application font as the program does at start-up and shows the window.
QDialog *showPlainLogin();
