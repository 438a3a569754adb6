#pragma once

#include "network.h"
#include "screen.h"
#include "work_screen.h"

class NetworkEditor;
class QTabWidget;

// gwjs: the gas networks of a design (管网计算), one tab each (the courtyard, the
// ring), with "新建", "重命名..." and "删除" on the tabs' menu.
class NetworkScreen : public Screen, public WorkScreen
{
    Q_OBJECT

public:
    NetworkScreen();

    QTabWidget *tabs() const { return m_tabs; }
    int count() const;
    // The network on show, and any by its tab.
    NetworkEditor *editor() const;
    NetworkEditor *editor(int index) const;
    QString name(int index) const;

    // A new empty network after the others, on show; its name the first free "管网N".
    NetworkEditor *addNetwork();
    // Renames a network (asked for its new name); false when the user cancels or the
    // name is empty or taken.
    bool renameNetwork(int index);
    // Removes a network, asking first when it holds rows; the last one is never removed.
    bool removeNetwork(int index);

    QVariantMap typedState() const override;
    void loadState(const QVariantMap &state) override;

private:
    NetworkEditor *insertNetwork(const QString &name, const network::Network &network);

    QTabWidget *m_tabs;
};
