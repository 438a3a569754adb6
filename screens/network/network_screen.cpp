#include "network_screen.h"

#include "design_file.h"
#include "message_box.h"
#include "network_editor.h"
#include "network_options.h"
#include "table_editing.h"
#include "widgets.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

NetworkScreen::NetworkScreen()
    : Screen(network::kCode, network::kTitle, Border::Sizeable)
    , m_tabs(new QTabWidget)
{
    auto *layout = new QVBoxLayout(this);
    m_tabs->setObjectName(QStringLiteral("networkTabs"));
    m_tabs->setDocumentMode(true);
    layout->addWidget(m_tabs, 1);
    // The tabs' menu: on the tab bar, for the tab under the pointer.
    QTabBar *bar = m_tabs->tabBar();
    bar->setContextMenuPolicy(Qt::CustomContextMenu);
    auto *add = new QAction(QStringLiteral("新建"), this);
    auto *rename = new QAction(QStringLiteral("重命名..."), this);
    auto *remove = new QAction(QStringLiteral("删除"), this);
    add->setObjectName(QStringLiteral("newNetwork"));
    rename->setObjectName(QStringLiteral("renameNetwork"));
    remove->setObjectName(QStringLiteral("deleteNetwork"));
    connect(add, &QAction::triggered, this, [this] { addNetwork(); });
    connect(rename, &QAction::triggered, this, [this] { renameNetwork(m_tabs->currentIndex()); });
    connect(remove, &QAction::triggered, this, [this] { removeNetwork(m_tabs->currentIndex()); });
    bar->addActions({add, rename, remove});
    connect(bar, &QWidget::customContextMenuRequested, this, [this, bar, add, rename, remove](const QPoint &at) {
        const int index = bar->tabAt(at);
        if (index >= 0)
            m_tabs->setCurrentIndex(index);
        QMenu::exec({add, rename, remove}, bar->mapToGlobal(at), nullptr, bar);
    });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(toolkit::commandButton("Command4", QStringLiteral("返回")));
    layout->addLayout(buttons);
    insertNetwork(design::kFirstNetworkName, network::Network{network::initialSettings(), {}, {}});
    resize(1400, 860);
}

int NetworkScreen::count() const
{
    return m_tabs->count();
}

NetworkEditor *NetworkScreen::editor() const
{
    return editor(m_tabs->currentIndex());
}

NetworkEditor *NetworkScreen::editor(int index) const
{
    return qobject_cast<NetworkEditor *>(m_tabs->widget(index));
}

QString NetworkScreen::name(int index) const
{
    return m_tabs->tabText(index);
}

NetworkEditor *NetworkScreen::insertNetwork(const QString &name, const network::Network &net)
{
    auto *editor = new NetworkEditor;
    editor->setName(name);
    editor->loadNetwork(net);
    m_tabs->addTab(editor, name);
    return editor;
}

NetworkEditor *NetworkScreen::addNetwork()
{
    QStringList names;
    for (int i = 0; i < count(); ++i)
        names << name(i);
    int n = count() + 1;
    while (names.contains(QStringLiteral("管网%1").arg(n)))
        ++n;
    NetworkEditor *editor
        = insertNetwork(QStringLiteral("管网%1").arg(n), network::Network{network::initialSettings(), {}, {}});
    m_tabs->setCurrentWidget(editor);
    return editor;
}

bool NetworkScreen::renameNetwork(int index)
{
    if (index < 0 || index >= count())
        return false;
    const std::optional<QString> answer = askText(this, QStringLiteral("管网名称："), name(index));
    if (!answer)
        return false;
    const QString text = answer->trimmed();
    if (text.isEmpty())
        return false;
    for (int i = 0; i < count(); ++i) {
        if (i != index && name(i) == text) {
            showMessage(this, QStringLiteral("已有名为“%1”的管网").arg(text));
            return false;
        }
    }
    m_tabs->setTabText(index, text);
    editor(index)->setName(text);
    return true;
}

bool NetworkScreen::removeNetwork(int index)
{
    if (index < 0 || index >= count() || count() == 1)
        return false;
    const network::Network net = editor(index)->typedNetwork();
    if ((!net.nodes.isEmpty() || !net.pipes.isEmpty())
        && !askQuestion(this, QStringLiteral("删除管网“%1”及其全部节点和管段吗？").arg(name(index)),
                        QStringLiteral("删除"), QStringLiteral("取消")))
        return false;
    QWidget *page = m_tabs->widget(index);
    m_tabs->removeTab(index);
    page->deleteLater();
    return true;
}

QVariantMap NetworkScreen::typedState() const
{
    QList<design::NamedNetwork> networks;
    for (int i = 0; i < count(); ++i)
        networks.append({name(i), editor(i)->typedNetwork()});
    return design::networkScreenValues(networks);
}

void NetworkScreen::loadState(const QVariantMap &state)
{
    const QList<design::NamedNetwork> networks = design::networksOf(state);
    while (m_tabs->count() > 0) {
        QWidget *page = m_tabs->widget(0);
        m_tabs->removeTab(0);
        delete page;
    }
    for (const design::NamedNetwork &n : networks)
        insertNetwork(n.name, n.network);
    if (networks.isEmpty())
        insertNetwork(design::kFirstNetworkName, network::Network{network::initialSettings(), {}, {}});
    m_tabs->setCurrentIndex(0);
}
