#pragma once

#include "design_file.h"
#include "report.h"

#include <QString>
#include <QStringList>

#include <map>

class QWidget;
class Screen;
struct NavigationRow;

// Owns the thirteen screens: creates each on first show, moves between them by
// the navigation table, and ends the program.
class Shell
{
public:
    Shell();
    ~Shell();
    Shell(const Shell &) = delete;
    Shell &operator=(const Shell &) = delete;

    // Creates and shows the login screen.
    void start();
    // The screen with that code, nullptr until it is first shown.
    QWidget *screen(const QString &code) const;
    // True once "退出" has closed every screen.
    bool ended() const { return m_ended; }
    // Whether the work differs from what was last saved or opened, or, before either,
    // from what every screen starts with.
    bool hasUnsavedWork() const;
    // The project block of the design, as typed in "项目信息...".
    const design::Project &project() const { return m_project; }

    // Writes the texts and choices of every calculation screen, the route table, the
    // networks and the project block to a design file, atomically; false, after a message naming the file and the
    // reason, when it cannot.
    bool saveDesign(const QString &path);
    // Reads a design file whole and checks it; a good one sets every screen at once
    // (results as on a fresh screen), a bad one changes nothing and shows a message.
    bool openDesign(const QString &path);
    // Writes the report of every calculation and of the route table, calculated from
    // what is typed, as a PDF; false after a message when it cannot.
    bool writeReport(const QString &pdfPath);
    // The report of the named screens (all when empty), as velmora-batch report gives it for the same design.
    report::Report currentReport(const QStringList &codes = {}) const;

private:
    // The typed state of every screen that holds work; screens never opened as they start.
    design::Design typedDesign() const;
    Screen *ensure(const QString &code);
    void addFileActions(Screen *screen);
    void openDesignFrom(QWidget *parent);
    void saveDesignFrom(QWidget *parent);
    // Saves to the design's file; asks for one only when there is none yet.
    void saveFrom(QWidget *parent);
    void editProject(QWidget *parent);
    void previewReport(QWidget *parent, const QStringList &codes);
    void showFormulaReference();
    void wire(Screen *screen);
    void follow(const NavigationRow &row, Screen *from);
    void open(const QString &code, Screen *from, bool hideFirst);
    void closeRequested(Screen *screen);
    // Ends the program, asking first when there is unsaved work.
    void endProgram(QWidget *parent);

    std::map<QString, Screen *> m_screens;
    bool m_ended = false;
    QString m_designPath;
    // The design as last saved or opened, as its file would hold it; empty before either.
    QByteArray m_keptDesign;
    design::Project m_project;
    QWidget *m_formulaReference = nullptr;
};
