#include "catalogue_dialog.h"

#include "gas_settings.h"
#include "network_catalogue.h"
#include "network_model.h"
#include "table_editing.h"
#include "widgets.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

CatalogueDialog::CatalogueDialog(NetworkModel *network, QWidget *parent)
    : QDialog(parent)
    , m_network(network)
    , m_tabs(new QTabWidget)
{
    using namespace toolkit;
    setObjectName(QStringLiteral("catalogueDialog"));
    setWindowTitle(QStringLiteral("管材规格"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label("catalogueNote",
                            QStringLiteral("内径 = 外径 − 2 × 壁厚；未录外径和壁厚的规格（铸铁管）内径"
                                           "取公称直径。管段的管径可录入本表中的规格名称。")));
    m_tabs->setObjectName(QStringLiteral("catalogueTabs"));
    const char *names[] = {"steelSizes", "castIronSizes", "plasticSizes"};
    for (int material = 0; material < 3; ++material) {
        auto *view = new QTableView;
        view->setObjectName(QString::fromLatin1(names[material]));
        view->setModel(network->catalogue(material));
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                              | QAbstractItemView::AnyKeyPressed);
        view->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
        view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
        m_tables[std::size_t(material)] = view;
        m_editing[std::size_t(material)] = new TableEditing(view, network->catalogue(material), QStringLiteral("行"));
        m_tabs->addTab(view, gas::materialOptions().value(material).caption);
    }
    layout->addWidget(m_tabs, 1);

    auto *buttons = new QHBoxLayout;
    const struct
    {
        const char *name;
        const char *caption;
        void (CatalogueDialog::*slot)();
    } rowButtons[] = {
        {"addSize", "添加行", &CatalogueDialog::addRow},
        {"insertSize", "插入行", &CatalogueDialog::insertRow},
        {"deleteSizes", "删除行", &CatalogueDialog::deleteRows},
        {"restoreSizes", "恢复默认", &CatalogueDialog::restoreDefaults},
    };
    for (const auto &b : rowButtons) {
        QPushButton *button = commandButton(b.name, QString::fromUtf8(b.caption));
        connect(button, &QPushButton::clicked, this, b.slot);
        buttons->addWidget(button);
    }
    // The network's own undo: the tables' edits are steps among its other edits.
    QPushButton *undo = commandButton("undoSizes", QStringLiteral("撤销"));
    connect(undo, &QPushButton::clicked, network->undoStack(), &QUndoStack::undo);
    connect(network->undoStack(), &QUndoStack::canUndoChanged, undo, &QPushButton::setEnabled);
    undo->setEnabled(network->undoStack()->canUndo());
    buttons->addWidget(undo);
    buttons->addStretch();
    QPushButton *close = commandButton("closeSizes", QStringLiteral("关闭"));
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(520, 560);
}

QTableView *CatalogueDialog::table(int material) const
{
    return m_tables[std::size_t(std::clamp(material, 0, 2))];
}

int CatalogueDialog::material() const
{
    return std::max(0, m_tabs->currentIndex());
}

void CatalogueDialog::addRow()
{
    m_editing[std::size_t(material())]->addRow();
}

void CatalogueDialog::insertRow()
{
    m_editing[std::size_t(material())]->insertRow();
}

void CatalogueDialog::deleteRows()
{
    m_editing[std::size_t(material())]->deleteRows();
}

void CatalogueDialog::restoreDefaults()
{
    m_editing[std::size_t(material())]->replaceRows(
        network::defaultCatalogue(material()),
        QStringLiteral("恢复%1的默认规格").arg(gas::materialOptions().value(material()).caption));
}
