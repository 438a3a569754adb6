#pragma once

#include <QDialog>
#include <QString>

// One window of the program. Screens are created once, hidden when left and
// never destroyed before the program ends; the shell owns them.
class Screen : public QDialog
{
    Q_OBJECT

public:
    enum class Border { Fixed, Sizeable };

    Screen(const QString &code, const QString &caption, Border border = Border::Fixed);

    // Runs once, right after the shell has created the screen.
    virtual void Form_Load() {}

    // Closes the window for good; used only when the program ends.
    void closeForExit();

    // The control with that design name, or nullptr.
    template<typename T = QWidget>
    T *control(const QString &name) const
    {
        return findChild<T *>(name);
    }

signals:
    // The window's own close button was pressed; the shell decides what it means.
    void closeRequested();

public slots:
    // Esc and the close button must never hide a screen behind the shell's back.
    void reject() override {}

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool m_closingForExit = false;
};
